#include "legacy_tool/select_port_dialog.h"

#include "util_app/buddy_label.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace vk::legacy {

SelectPortDialog::SelectPortDialog(const QStringList& ports, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Select Port");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("The configured serial port is not valid.", this));
    list_ = new QListWidget(this);
    layout->addWidget(BuddyLabel("Please choose another port.", list_));
    list_->setObjectName("lstPorts");
    list_->addItems(ports);
    if (!ports.isEmpty())
        list_->setCurrentRow(0);
    layout->addWidget(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    layout->addWidget(buttons);
}

int SelectPortDialog::chosen() const {
    return list_->currentRow();
}

} // namespace vk::legacy
