#include "util_app/baud_rate_dialog.h"

#include "util_app/connect_fields.h"
#include "util_app/dialog_buttons.h"

#include <QDialogButtonBox>

#include <QComboBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace vk {

CBoudRateDialog::CBoudRateDialog(std::int32_t currentRate, QWidget* parent)
    : QDialog(parent), list_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("Sensor boudrate"));
    list_->setObjectName(QStringLiteral("baudRate"));
    list_->addItems({"9600", "19200", "38400", "57600"});
    list_->setCurrentIndex(SensorBaudIndex(currentRate));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Boudrate:"), list_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
}

std::int32_t CBoudRateDialog::baudRate() const {
    return BaudFromIndex(list_->currentIndex());
}

} // namespace vk
