// The buttons of the "Sensor Settings" page that change how the sensor is known and
// heard: laser, defaults, identity, power limits, threshold, baud rate, mode, check method.

#include "legacy_tool/legacy_codes.h"
#include "legacy_tool/model_presets.h"
#include "legacy_tool/sensor_settings_page.h"
#include "legacy_tool/settings_sequences.h"

#include <QComboBox>
#include <QLineEdit>

namespace vk::legacy {

namespace {

std::string Text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

// The serial number travels one byte per character, as the sensor's reply brought it.
std::string SerialBytes(const QLineEdit* edit) {
    QByteArray bytes = edit->text().toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

void SensorSettingsPage::btnLaserOnClick() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    if (auto setup = SetLaser(host_.Session(), true))
        ShowLaser(setup->laserOn);
}

void SensorSettingsPage::btnLaserOffClick() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    if (auto setup = SetLaser(host_.Session(), false))
        ShowLaser(setup->laserOn);
}

void SensorSettingsPage::Button2Click() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    SetDefaults(host_.Session());
    scope.Release();
    host_.SetConnectAddress("1");
    host_.BtnConnectClick();
}

void SensorSettingsPage::btnSerialClick() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    SerialSetting r = WriteSerial(host_.Session(), SerialBytes(editSerial_));
    if (!r.serial)
        return;
    if (r.mismatch)
        host_.SetStatus("Error!");
    host_.ShowSerialNumber(FromSensor(*r.serial));
}

void SensorSettingsPage::btnModelClick() {
    int row = cboModel_->currentIndex();
    if (row < 0 || row >= kModelOther)
        return;
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    ReadBack<std::string> r = WriteModel(host_.Session(), row);
    if (r.value)
        host_.ShowModelNumber(FromSensor(*r.value));
    else
        host_.ProcessErrorMsg(r.lastError);
}

void SensorSettingsPage::BtnAddressClick() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    Checked<std::uint8_t> address = CheckAddress(Text(editSensorAddress_), Field::Address);
    if (!address.Ok())
        return Refuse(*address.refusal);
    if (!MoveAddress(host_.Session(), SerialBytes(editSerial_), address.value)) {
        host_.SetStatus("Error!");
        return;
    }
    if (!host_.GlobalAddressing()) {
        host_.State().currentAddress = address.value;
        host_.SetConnectAddress(QString::number(address.value));
    }
}

void SensorSettingsPage::ShowByteReadBack(QLineEdit* field, std::uint8_t setCode,
                                          std::uint8_t readCode, std::uint8_t value) {
    ByteSetting r = WriteByteSetting(host_.Session(), setCode, readCode, value);
    if (!r.readBack)
        return;
    field->setText(QString::number(*r.readBack));
    if (r.mismatch)
        host_.SetStatus("Error!");
}

void SensorSettingsPage::btnMinPwrClick() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    Checked<std::uint8_t> v = CheckMinPower(Text(editMinPwr_));
    if (!v.Ok())
        return Refuse(*v.refusal);
    ShowByteReadBack(editMinPwr_, kCmdSetMinLP, kCmdGetMinLP, v.value);
}

void SensorSettingsPage::btnMaxPwrClick() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    std::string text = Text(editMaxPwr_);
    Checked<std::uint8_t> v = CheckMaxPower(text);
    editMaxPwr_->setText(QString::fromStdString(text));
    if (!v.Ok())
        return Refuse(*v.refusal);
    ShowByteReadBack(editMaxPwr_, kCmdSetMaxLP, kCmdGetMaxLP, v.value);
}

void SensorSettingsPage::btnThresholdClick() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    Checked<std::uint8_t> v = CheckThreshold(Text(editThreshold_));
    if (!v.Ok())
        return Refuse(*v.refusal);
    ShowByteReadBack(editThreshold_, kCmdSetThreshold, kCmdGetThreshold, v.value);
}

void SensorSettingsPage::btnSensorBaudClick() {
    HandlerScope scope(host_);
    int position = cboSensorBaud_->currentIndex();
    // No rate chosen is no rate to send: a code the sensor does not know would leave it
    // deaf to every speed the tool offers.
    if (!scope.Entered() || position < 0)
        return;
    WriteSensorBaud(host_.Session(), position);
    scope.Release();
    host_.SetHostBaudPosition(position);
    host_.BtnConnectClick();
}

void SensorSettingsPage::btnModeClick() {
    HandlerScope scope(host_);
    int mode = cboMode_->currentIndex();
    if (!scope.Entered() || mode < 0)
        return;
    WriteSensorMode(host_.Session(), mode);
    scope.Release();
    host_.BtnConnectClick();
}

void SensorSettingsPage::btnErrChkClick() {
    HandlerScope scope(host_);
    int selected = cboCRC_->currentIndex();
    if (!scope.Entered() || selected < 0)
        return;
    WriteCheckMode(host_.Session(), selected == 1);
    scope.Release();
    host_.BtnConnectClick();
}

} // namespace vk::legacy
