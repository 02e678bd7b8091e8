#include "util_app/user_prompts.h"

#include <QFileDialog>
#include <QFileInfo>
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

QString UserPrompts::OpenFileFrom(QWidget* parent, const QString& filter, const QString&,
                                  const QString&) {
    return OpenFile(parent, filter);
}

QString QtUserPrompts::OpenFileFrom(QWidget* parent, const QString& filter, const QString& start,
                                    const QString& defaultSuffix) {
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    const QFileInfo previous(start);
    if (!start.isEmpty()) {
        dialog.setDirectory(previous.absolutePath());
        if (previous.isFile())
            dialog.selectFile(previous.absoluteFilePath());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtUserPrompts::SaveFile(QWidget* parent, const QString& filter,
                                const QString& suggestedName) {
    QFileDialog dialog(parent, QString(), suggestedName, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The files we save are appended to, so choosing one that exists replaces nothing.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(QFileInfo(suggestedName).suffix());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace vk
