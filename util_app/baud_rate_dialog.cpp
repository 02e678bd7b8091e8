#include "util_app/baud_rate_dialog.h"

#include "util_app/connect_fields.h"
#include "util_app/dialog_buttons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace vk {

CBoudRateDialog::CBoudRateDialog(std::int32_t currentRate, QWidget* parent)
    : QDialog(parent), list_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("Sensor boudrate"));
    list_->setObjectName(QStringLiteral("baudRate"));
    for (std::int32_t rate : kBaudRates)
        list_->addItem(QString::number(rate));
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
