#include "legacy_tool/user_prompts.h"

#include "legacy_tool/select_port_dialog.h"

#include <QMessageBox>

namespace vk::legacy {

void QtUserPrompts::Error(const QString& text) {
    QMessageBox::critical(parent_, "Error", text, QMessageBox::Ok);
}

bool QtUserPrompts::AskYesNo(const QString& text) {
    return QMessageBox::question(parent_, "Confirm", text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

std::optional<int> QtUserPrompts::SelectPort(const QStringList& ports) {
    SelectPortDialog dialog(ports, parent_);
    if (dialog.exec() != QDialog::Accepted || dialog.chosen() < 0)
        return std::nullopt;
    return dialog.chosen();
}

} // namespace vk::legacy
