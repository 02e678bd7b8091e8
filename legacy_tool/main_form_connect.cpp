// Connect: the settings file, the port and the probe of the sensor's check method.

#include "legacy_tool/connect_page.h"
#include "legacy_tool/host_settings.h"
#include "legacy_tool/legacy_codes.h"
#include "legacy_tool/main_form.h"
#include "legacy_tool/sensor_settings_page.h"
#include "legacy_tool/settings_requests.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

namespace vk::legacy {

namespace {

// The raw byte sent before the second probe when the first found nobody.
constexpr std::uint8_t kWakeByte = 0x46; // "F"

} // namespace

void TfrmMain::LoadSettings() {
    HostSettings s = LoadHostSettings(ini_);
    state_.portNumber = s.port;
    connectPage_->SelectPort(s.port);
    state_.hostBaud = s.baud;
    // Only the rates the tool knows move the list; 115200 has no entry and clears it.
    int position = BaudPosition(s.baud);
    if (position >= 0)
        SetHostBaudPosition(position);
}

void TfrmMain::SaveSettings() {
    state_.portNumber = connectPage_->SelectedPort();
    int position = HostBaudPosition();
    if (position >= 0)
        state_.hostBaud = BaudAtPosition(position);
    // A file that cannot be written still leaves the choice in the copy that LoadSettings
    // reads next, so Connect opens what the user chose.
    if (!SaveHostSettings(ini_, {state_.portNumber, state_.hostBaud}) &&
        settingsTrouble_ == SettingsTrouble::None)
        settingsTrouble_ = SettingsTrouble::Pending;
}

void TfrmMain::BtnConnectClick() {
    // Once the window closes nothing reopens the port, nor asks which one to open.
    if (state_.busy || state_.closing)
        return;
    state_.busy = true;

    QLineEdit* address = connectPage_->editAddress;
    if (address->text().isEmpty())
        address->setText(QString::number(state_.currentAddress));
    if (connectPage_->cbxGlobal->isChecked()) {
        state_.currentAddress = 0;
    } else {
        Checked<std::uint8_t> a =
            CheckAddress(address->text().toStdString(), Field::ConnectAddress);
        if (a.Ok()) {
            state_.currentAddress = a.value;
        } else {
            prompts_.Error(QString::fromStdString(a.refusal->message));
            address->setFocus();
        }
    }
    state_.connected = false;

    SaveSettings();
    LoadSettings();
    port_->Close();
    port_->SetPortNumber(state_.portNumber);
    port_->SetBaudRate(state_.hostBaud);
    if (!port_->Open()) {
        state_.busy = false;
        SetStatus("Error Opening ComPort!");
        return;
    }
    SetStatus("Connecting...");

    int found = comm_->Connect();
    if (found == 0) {
        comm_->WriteRaw({kWakeByte});
        comm_->DelayMs(kRetryPauseMs);
        found = comm_->Connect();
        if (found == 0)
            ProcessErrorMsg(state_.lastError);
    }
    if (found != 0) {
        state_.connected = true;
        settingsPage_->ShowCheckMethod(found == 1 ? CheckMethod::Checksum : CheckMethod::Crc16);
    }
    PageControl1_->setTabEnabled(1, state_.connected);
    PageControl1_->setTabEnabled(2, state_.connected);
    if (state_.connected)
        settingsPage_->GetSensorData();
    // Said where it does not hide an error of the sensor's or the port's.
    if (settingsTrouble_ == SettingsTrouble::Pending && lblStatus_->text().isEmpty())
        SayOnce(kSettingsNotSaved);
    state_.busy = false;
}

} // namespace vk::legacy
