#pragma once
// The message boxes and file dialogs as the document hands them out: while one waits for
// the user, the refresh ticks run again, even when the box comes up in the middle of a
// command that holds the exchange guard.

#include "util_app/exchange_guard.h"
#include "util_app/user_prompts.h"

namespace vk {

class GuardReleasingPrompts : public UserPrompts {
public:
    // Both must outlive this object.
    GuardReleasingPrompts(UserPrompts& prompts, ExchangeGuard& guard)
        : prompts_(prompts), guard_(guard) {}

    void Warn(QWidget* parent, const QString& text) override;
    void Error(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
    QString OpenFile(QWidget* parent, const QString& filter) override;
    QString OpenFileFrom(QWidget* parent, const QString& filter, const QString& start,
                         const QString& defaultSuffix) override;
    QString SaveFile(QWidget* parent, const QString& filter, const QString& suggestedName) override;

private:
    UserPrompts& prompts_;
    ExchangeGuard& guard_;
};

} // namespace vk
