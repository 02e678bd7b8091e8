#include "util_app/address_dialog.h"

#include "util_app/buddy_label.h"
#include "util_app/connect_fields.h"
#include "util_app/dialog_buttons.h"
#include "util_app/up_down_edit.h"
#include "util_app/user_prompts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vk {

CAddressDialog::CAddressDialog(UserPrompts& prompts, const std::string& serial8,
                               std::uint8_t address, QWidget* parent)
    : QDialog(parent), prompts_(prompts), edit_(new UpDownEdit(NewDigitsEdit(), this)),
      address_(address) {
    setWindowTitle(QStringLiteral("Sensor Address"));
    auto* serial = new QLineEdit(QString::fromStdString(serial8), this);
    serial->setObjectName(QStringLiteral("serialNumber"));
    serial->setReadOnly(true);
    edit_->Edit()->setObjectName(QStringLiteral("address"));
    edit_->Edit()->setText(QString::number(address));
    edit_->SetRange(1, 255);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Serial number:"), serial);
    form->addRow(BuddyLabel(QStringLiteral("Address:"), edit_, this), edit_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
}

void CAddressDialog::accept() {
    std::optional<std::uint8_t> typed = ParseAddress(edit_->Edit()->text().toStdString());
    if (!typed) {
        prompts_.Warn(this, QString::fromLatin1(kAddressRefusal));
        edit_->Edit()->setFocus();
        edit_->Edit()->selectAll();
        return;
    }
    address_ = *typed;
    QDialog::accept();
}

} // namespace vk
