#include "legacy_tool/user_prompts.h"

#include "legacy_tool/select_port_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
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

QString QtUserPrompts::AskForFile(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(parent_);
    // Where the user found the last file is where the next one most likely is; the
    // process's current directory never follows the dialogs here.
    dialog.setDirectory(lastFolder_.isEmpty() ? QDir::currentPath() : lastFolder_);
    if (!request.filters.isEmpty()) {
        dialog.setNameFilters(request.filters);
        dialog.selectNameFilter(request.filters.value(request.filterIndex));
    }
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // The file is appended to, never replaced.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    dialog.selectFile(request.defaultName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    QString chosen = dialog.selectedFiles().value(0);
    if (!chosen.isEmpty())
        lastFolder_ = QFileInfo(chosen).absolutePath();
    return chosen;
}

QString QtUserPrompts::OpenFile(const FileDialogRequest& request) {
    return AskForFile(request, false);
}

QString QtUserPrompts::SaveFile(const FileDialogRequest& request) {
    return AskForFile(request, true);
}

} // namespace vk::legacy
