#include "util_app/user_prompts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace vk {

namespace {
const QString kCaption = QStringLiteral("VkUil");
} // namespace

void QtUserPrompts::Warn(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, kCaption, text);
}

void QtUserPrompts::Error(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, kCaption, text);
}

bool QtUserPrompts::AskYesNo(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, kCaption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

QString QtUserPrompts::OpenFile(QWidget* parent, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

QString QtUserPrompts::SaveFile(QWidget* parent, const QString& filter,
                                const QString& suggestedName) {
    return QFileDialog::getSaveFileName(parent, QString(), suggestedName, filter);
}

} // namespace vk
