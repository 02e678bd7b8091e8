#include "util_app/guard_releasing_prompts.h"

namespace vk {

void GuardReleasingPrompts::Warn(QWidget* parent, const QString& text) {
    ExchangeGuard::Release waiting(guard_);
    prompts_.Warn(parent, text);
}

void GuardReleasingPrompts::Error(QWidget* parent, const QString& text) {
    ExchangeGuard::Release waiting(guard_);
    prompts_.Error(parent, text);
}

bool GuardReleasingPrompts::AskYesNo(QWidget* parent, const QString& text) {
    ExchangeGuard::Release waiting(guard_);
    return prompts_.AskYesNo(parent, text);
}

QString GuardReleasingPrompts::OpenFile(QWidget* parent, const QString& filter) {
    ExchangeGuard::Release waiting(guard_);
    return prompts_.OpenFile(parent, filter);
}

QString GuardReleasingPrompts::OpenFileFrom(QWidget* parent, const QString& filter,
                                            const QString& start, const QString& defaultSuffix) {
    ExchangeGuard::Release waiting(guard_);
    return prompts_.OpenFileFrom(parent, filter, start, defaultSuffix);
}

QString GuardReleasingPrompts::SaveFile(QWidget* parent, const QString& filter,
                                        const QString& suggestedName) {
    ExchangeGuard::Release waiting(guard_);
    return prompts_.SaveFile(parent, filter, suggestedName);
}

} // namespace vk
