#include "legacy_tool/user_prompts.h"

#include "legacy_tool/select_port_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace vk::legacy {

namespace {

std::optional<QString> RunFileDialog(QWidget* parent, const FileRequest& r,
                                     QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setDirectory(r.directory.isEmpty() ? QDir::currentPath() : r.directory);
    QStringList filters = r.filter.split(";;");
    dialog.setNameFilters(filters);
    if (r.filterIndex >= 0 && r.filterIndex < filters.size())
        dialog.selectNameFilter(filters[r.filterIndex]);
    dialog.setDefaultSuffix(r.defaultSuffix);
    if (!r.defaultName.isEmpty())
        dialog.selectFile(r.defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front();
}

} // namespace

void QtUserPrompts::Information(const QString& text) {
    QMessageBox::information(parent_, "Information", text);
}

void QtUserPrompts::Warning(const QString& text) {
    QMessageBox::warning(parent_, "Warning", text);
}

void QtUserPrompts::Error(const QString& text) {
    QMessageBox::critical(parent_, "Error", text, QMessageBox::Ok);
}

bool QtUserPrompts::AskYesNo(const QString& text) {
    return QMessageBox::question(parent_, "Confirm", text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

std::optional<QString> QtUserPrompts::OpenFile(const FileRequest& request) {
    return RunFileDialog(parent_, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtUserPrompts::SaveFile(const FileRequest& request) {
    return RunFileDialog(parent_, request, QFileDialog::AcceptSave);
}

std::optional<int> QtUserPrompts::SelectPort(const QStringList& ports) {
    SelectPortDialog dialog(ports, parent_);
    if (dialog.exec() != QDialog::Accepted || dialog.chosen() < 0)
        return std::nullopt;
    return dialog.chosen();
}

} // namespace vk::legacy
