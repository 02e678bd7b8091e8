#include "util_app/serial_model_dialog.h"

#include "sensor/identity_writes.h"
#include "sensor/sensor_device.h"
#include "util_app/buddy_label.h"
#include "util_app/dialog_buttons.h"
#include "util_app/panel_context.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vk {

CSerialAndModelDlg::CSerialAndModelDlg(PanelContext& context, QWidget* parent)
    : QDialog(parent), context_(context), models_(new QComboBox(this)),
      serial_(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Serial Number and Model Name"));
    models_->setObjectName(QStringLiteral("modelList"));
    serial_->setObjectName(QStringLiteral("serialNumber"));
    for (const SelectableModel& row : SelectableModels()) {
        const QString model = QString::fromLatin1(row.modelString.data(),
                                                  static_cast<qsizetype>(row.modelString.size()));
        models_->addItem(
            QStringLiteral("%1 [%2]").arg(model, QString::fromLatin1(ModelDisplayName(row.type))),
            model);
    }

    QPushButton* setModel = NamedButton("Set Model Name", "setModelName", this);
    QPushButton* setSerial = NamedButton("Set Serial Number", "setSerialNumber", this);
    QPushButton* refresh = NamedButton("Refresh", "refresh", this);
    QPushButton* ok = NamedButton("OK", "ok", this);
    ok->setDefault(true);
    auto* form = new QFormLayout;
    form->addRow(BuddyLabel(QStringLiteral("Model"), models_, this),
                 FieldAndButton(models_, setModel));
    form->addRow(BuddyLabel(QStringLiteral("Serial number"), serial_, this),
                 FieldAndButton(serial_, setSerial));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(refresh, QDialogButtonBox::ActionRole);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    FormAboveButtons(this, form, buttons);

    connect(setModel, &QPushButton::clicked, this, &CSerialAndModelDlg::SetModelName);
    connect(setSerial, &QPushButton::clicked, this, &CSerialAndModelDlg::SetSerialNumber);
    connect(refresh, &QPushButton::clicked, this, &CSerialAndModelDlg::Refresh);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    Refresh();
}

void CSerialAndModelDlg::Refresh() {
    ExchangeGuard::Hold hold(context_.Exchanges());
    setUpdatesEnabled(false);
    models_->setCurrentIndex(-1);
    serial_->clear();
    SensorDevice& sensor = context_.Sensor();
    if (ReadIdentity(sensor)) {
        const QString model = QString::fromLatin1(sensor.Replies().modelName.Str());
        models_->setCurrentIndex(models_->findData(model));
        serial_->setText(QString::fromLatin1(sensor.Replies().serialNumber.Str()));
    }
    setUpdatesEnabled(true);
    repaint();
}

void CSerialAndModelDlg::SetModelName() {
    if (models_->currentIndex() < 0)
        return;
    ExchangeGuard::Hold hold(context_.Exchanges());
    const QByteArray model = models_->currentData().toString().toLatin1();
    context_.Sensor().SetModelName(SensorText::From(model.toStdString()));
    context_.PostRefreshSensorBar();
    Refresh();
}

void CSerialAndModelDlg::SetSerialNumber() {
    ExchangeGuard::Hold hold(context_.Exchanges());
    const QByteArray serial =
        serial_->text().left(static_cast<qsizetype>(kSerialNumberMaxLength)).toLatin1();
    WriteSerialNumber(context_.Sensor(), serial.toStdString());
    context_.PostRefreshSensorBar();
    Refresh();
}

} // namespace vk
