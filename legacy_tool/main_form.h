#pragma once
// TfrmMain: the tool's one window. Header with the sensor's identity, the three pages,
// the status strip with the red status line and the "COM Errors" counter; it owns the
// port, the link and the tool state, and runs Connect.

#include "legacy_tool/com_port.h"
#include "legacy_tool/form_host.h"
#include "legacy_tool/ini_file.h"
#include "legacy_tool/korvel_comm.h"
#include "legacy_tool/legacy_session.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace vk::legacy {

class ConnectPage;
class SensorSettingsPage;
class TdlgAbout;
class ViewPage;

class TfrmMain : public QWidget, public FormHost {
public:
    // `prompts` shows every message and dialog; `settingsPath` is the "SetupVk2.ini" to
    // keep the port and baud rate in (see SettingsFilePath).
    TfrmMain(UserPrompts& prompts, const QString& settingsPath, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // FormHost
    ToolState& State() override { return state_; }
    LegacySession& Session() override { return session_; }
    UserPrompts& Prompts() override { return prompts_; }
    void SetStatus(const QString& text) override;
    void ProcessErrorMsg(int code) override;
    void ShowSerialNumber(const QString& text) override;
    void ShowModelNumber(const QString& text) override;
    void ShowVersions(const QString& firmware, const QString& fpga) override;
    void ShowRangeUnit(const QString& label) override;
    void SetProgress(int percent, bool visible) override;
    void SetConnectAddress(const QString& text) override;
    bool GlobalAddressing() const override;
    int HostBaudPosition() const override;
    void SetHostBaudPosition(int position) override;
    void BtnConnectClick() override;

    void PageControl1Change();
    // Shows the About dialog; what was typed into its hidden field decides the modes.
    void btnAboutClick();
    // The port's device went away: said on the status line and counted in "COM Errors".
    void ComPortLost();
    void cboPortExit();
    void cboHostBaudExit();

    KorvelComm& Comm() { return *comm_; }
    const IniFile& SettingsFile() const { return ini_; }
    SensorSettingsPage& SettingsPage() { return *settingsPage_; }
    TdlgAbout& AboutDialog() { return *dlgAbout_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormCloseQuery();
    void FormClose();
    void LoadSettings();
    void SaveSettings();
    // Tells of trouble with the settings file on the status line, the first time only.
    void SayOnce(const char* text);
    void BuildLayout();

    // The settings file cannot keep what the user chose; the form keeps it until it closes.
    static constexpr const char* kSettingsUnread =
        "SetupVk2.ini could not be read: settings will not be saved";
    static constexpr const char* kSettingsNotSaved = "Settings could not be saved to SetupVk2.ini";
    enum class SettingsTrouble { None, Pending, Said };

    ToolState state_;
    UserPrompts& prompts_;
    SettingsTrouble settingsTrouble_ = SettingsTrouble::None;
    IniFile ini_;
    ComPort* port_;
    KorvelComm* comm_;
    LegacySession session_;

    QLabel* pnlSerial_;
    QLabel* pnlModel_;
    QLabel* pnlFirmware_;
    QLabel* pnlFpga_;
    QPushButton* btnAbout_;
    QTabWidget* PageControl1_;
    ConnectPage* connectPage_;
    SensorSettingsPage* settingsPage_;
    ViewPage* viewPage_;
    QLabel* lblStatus_;
    QProgressBar* ProgressBar1_;
    QLabel* pnlComErrors_;
    TdlgAbout* dlgAbout_;
};

} // namespace vk::legacy
