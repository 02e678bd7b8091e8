#include "util_app/upload_dialog.h"

#include "link/xmodem_sender.h"
#include "util_app/buddy_label.h"
#include "util_app/dialog_buttons.h"
#include "util_app/panel_context.h"
#include "util_app/user_prompts.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace vk {

CVkUploadDlg::CVkUploadDlg(PanelContext& context, XModemSender& sender, QWidget* parent)
    : QDialog(parent), context_(context), sender_(sender), progress_(new QProgressBar(this)),
      type_(new QComboBox(this)), status_(new QLineEdit(this)), file_(new QLineEdit(this)),
      browse_(NamedButton("Browse", "browse", this)),
      upload_(NamedButton("Upload", "upload", this)), close_(NamedButton("Close", "close", this)) {
    setWindowTitle(QStringLiteral("Upload FPGA/DSP/CAL Table"));
    progress_->setObjectName(QStringLiteral("progress"));
    type_->setObjectName(QStringLiteral("type"));
    status_->setObjectName(QStringLiteral("status"));
    file_->setObjectName(QStringLiteral("file"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    status_->setReadOnly(true);
    file_->setReadOnly(true);
    for (int i = 0; i < kUploadKindCount; ++i)
        type_->addItem(QString::fromLatin1(FindUploadKind(i)->listText));
    type_->setCurrentIndex(-1);
    upload_->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow(BuddyLabel(QStringLiteral("File"), file_, this), FieldAndButton(file_, browse_));
    form->addRow(QStringLiteral("Type"), type_);
    form->addRow(QStringLiteral("Progress"), progress_);
    form->addRow(QStringLiteral("Status"), status_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(upload_, QDialogButtonBox::ActionRole);
    buttons->addButton(close_, QDialogButtonBox::RejectRole);
    FormAboveButtons(this, form, buttons);

    connect(browse_, &QPushButton::clicked, this, &CVkUploadDlg::Browse);
    connect(upload_, &QPushButton::clicked, this, &CVkUploadDlg::Upload);
    connect(close_, &QPushButton::clicked, this, &CVkUploadDlg::reject);
}

void CVkUploadDlg::Browse() {
    const UploadKindInfo* kind = FindUploadKind(type_->currentIndex());
    // It starts at the file chosen last, and a name typed without an extension is a ".bin".
    const QString chosen = context_.Prompts().OpenFileFrom(
        this, kind ? QString::fromLatin1(kind->fileFilter) : QString(), path_,
        QStringLiteral("bin"));
    if (chosen.isEmpty())
        return;
    path_ = chosen;
    file_->setText(path_);
}

void CVkUploadDlg::Upload() {
    if (uploading_)
        return;
    const int index = type_->currentIndex();
    if (!FindUploadKind(index)) {
        ShowStatus(QStringLiteral("Invalid type selection"));
        return;
    }
    const auto kind = static_cast<UploadKind>(index);
    if (!ReadUploadFile(QFile::encodeName(path_).toStdString(), &contents_)) {
        ShowStatus(QStringLiteral("Error reading file"));
        return;
    }
    if (!UploadSizeUsual(kind, contents_.size()) &&
        !context_.Prompts().AskYesNo(this, QString::fromLatin1(kUnusualUploadSizeQuestion)))
        return;

    // The refresh ticks stay off the line for the whole transfer, although the window
    // handles its events between blocks.
    ExchangeGuard::Hold hold(context_.Exchanges());
    SetUploading(true);
    sender_.SetBetweenAttempts([] { QCoreApplication::processEvents(); });
    RunUpload(context_.Sensor(), sender_, kind, contents_, *this);
    sender_.SetBetweenAttempts(nullptr);
    SetUploading(false);
}

void CVkUploadDlg::SetUploading(bool on) {
    uploading_ = on;
    for (QWidget* control : {static_cast<QWidget*>(upload_), static_cast<QWidget*>(browse_),
                             static_cast<QWidget*>(type_), static_cast<QWidget*>(close_)})
        control->setEnabled(!on);
}

void CVkUploadDlg::ShowStatus(const QString& text) {
    status_->setText(text);
}

void CVkUploadDlg::SetPercent(int percent) {
    progress_->setValue(percent);
}

void CVkUploadDlg::BytesSent(std::size_t sent) {
    ShowStatus(QStringLiteral("Sent %1 bytes").arg(static_cast<qulonglong>(sent)));
    QCoreApplication::processEvents();
}

void CVkUploadDlg::TransferEnded(int error) {
    ShowStatus(error != 0 ? QStringLiteral("Error occurred.Code %1").arg(error)
                          : QStringLiteral("Successfully completed"));
}

void CVkUploadDlg::reject() {
    if (!uploading_)
        QDialog::reject();
}

void CVkUploadDlg::closeEvent(QCloseEvent* event) {
    if (uploading_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace vk
