#pragma once
// CVKT02Doc: the one document of the utility, the container of the live connection. It
// owns the connection core (link and sensor), the refresh ticker and the model settings
// dialogs; it answers the connection's questions with the utility's dialogs, and it is
// what the model panels and settings dialogs see of the program (PanelContext).

#include "link/xmodem_sender.h"
#include "sensor/connection_host.h"
#include "sensor/log_sink.h"
#include "sensor/sensor_connection.h"
#include "util_app/exchange_guard.h"
#include "util_app/guard_releasing_prompts.h"
#include "util_app/panel_context.h"
#include "util_app/refresh_ticker.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <string>

class QDialog;

namespace vk {

class CCustomSettingsDlg;
class CSensorParentView;
class Profile;
class UserPrompts;

class CVKT02Doc : public QObject, public ConnectionHost, public PanelContext, public LogSink {
    Q_OBJECT

public:
    // `log` takes every line (the application's log); `prompts` shows message boxes.
    // Both must outlive the document.
    CVKT02Doc(LogSink& log, UserPrompts& prompts, QObject* parent = nullptr);
    ~CVKT02Doc() override;

    // The view that shows the panels; ticks and updates go to it. May be null.
    void AttachView(CSensorParentView* view);
    // The window the document's dialogs open over.
    void SetDialogParent(QWidget* parent) { dialogParent_ = parent; }
    void SetManufacturingMode(bool on) { manufacturing_ = on; }
    void SetTitle(const QString& title) { title_ = title; }
    const QString& Title() const { return title_; }

    // The four model settings dialogs, taken over by the document (any may be null;
    // Rmx Long uses the VKT02's). They serve from the next connect on. The document
    // deletes them, so they must have no parent widget.
    void InstallSettingsDialogs(std::unique_ptr<CCustomSettingsDlg> vkt02,
                                std::unique_ptr<CCustomSettingsDlg> vkt04,
                                std::unique_ptr<CCustomSettingsDlg> rmxShort,
                                std::unique_ptr<CCustomSettingsDlg> vezirOrududu);
    // The settings dialog of the detected model, or null before a model was detected or
    // when none is installed.
    CCustomSettingsDlg* ActiveSettingsDialog() const;

    // --- commands (menu and toolbar) ------------------------------------------
    void Connect();
    // File > Find Sensors...: the connect, with the sensor search opened over the Connect
    // dialog at once on the port the last connection used.
    void FindSensors();
    void Disconnect();
    void ChangeSensorAddress();
    void ChangeBaudRate();
    void SelectCheckMethod(CheckMethod method);
    // Asks "Reset sensor to factory defaults ?" and on Yes sends the defaults.
    void ResetToDefaults();
    void ResetSensor();
    // Shows the active settings dialog modally; nothing without one. The panel's
    // refresh goes on while the dialog waits for the user.
    void ShowSensorSettings();
    // Edit > Serial Number and Model: the dialog, then a refill of the "System:" bar.
    void ShowSerialAndModel();
    // Edit > Upload FPGA / DSP / CAL Table.
    void ShowUpload();
    void ReloadSettings();
    // The document closes with the program: the ticker stops and "Close" is logged.
    void Close();

    SensorConnection& Connection() { return connection_; }
    const SensorConnection& Connection() const { return connection_; }
    RefreshTicker& Ticker() { return ticker_; }
    // What streams the uploads into the sensor.
    XModemSender& Uploader() { return uploader_; }

    // --- ConnectionHost ------------------------------------------------------------
    bool AskConnectSettings(ConnectSettings& settings) override;
    bool AskBaudRate(std::int32_t& baudRate) override;
    bool AskAddress(const std::string& serial8, std::uint8_t& address) override;
    bool AskYesNo(const char* question) override;
    void ShowModelPanel(ModelType type) override;
    void ShowNotConnected() override;
    void UpdateAllViews() override;
    void PostRefreshSensorBar() override;
    bool ManufacturingMode() const override { return manufacturing_; }

    // --- PanelContext ---------------------------------------------------------------
    bool IsConnected() const override { return connection_.Connected(); }
    ModelType Model() const override { return connection_.Model(); }
    std::string FormatRange(std::uint16_t raw) const override;
    RangeReading ReadRange(std::uint16_t raw) const override;
    void PollSampled(const PollSample& sample) override { emit pollSampled(sample); }
    SensorDevice& Sensor() override { return connection_.Sensor(); }
    void LogMessage(const char* text, LogIcon icon) override;
    UserPrompts& Prompts() override { return modalPrompts_; }
    ExchangeGuard& Exchanges() override { return exchanges_; }

signals:
    // The connection or the state of the commands changed; once per command, when it
    // ends.
    void connectionChanged();
    // A queued refill of the "System:" bar is due.
    void sensorBarRefreshRequested();
    // A panel's poll succeeded (emitted on the user-interface thread, during the tick).
    void pollSampled(const vk::PollSample& sample);
    // The port went away and the program has disconnected; `text` says so ("Port lost:
    // COM1 (/dev/ttyUSB0)") and is in the command log already.
    void portLost(const QString& text);

private:
    // Marks a command as running, and holds the exchange guard, for as long as it lives.
    class CommandScope;
    void OnTick();
    // exec() of a modal dialog, with the exchange guard released while it waits for the
    // user.
    int WaitForUser(QDialog& dialog);
    // The "Find Sensors" dialog over `parent` for `port`; the sensor chosen, if any.
    std::optional<ConnectSettings> SearchPort(const std::string& port, QWidget* parent);
    // Emits connectionChanged, unless a command is running: that one emits it as it ends.
    void AnnounceChange();
    // Once no command runs: when the port went away, stops polling and disconnects, and
    // announces it; true then.
    bool DropLostPort();

    LogSink& log_;
    UserPrompts& prompts_;
    ExchangeGuard exchanges_;
    // prompts_, releasing the exchange guard while a prompt waits for the user.
    GuardReleasingPrompts modalPrompts_{prompts_, exchanges_};
    std::unique_ptr<Profile> profile_;
    // Declared before the connection, which stops the ticker when it goes.
    RefreshTicker ticker_;
    std::array<std::unique_ptr<CCustomSettingsDlg>, 4> settingsDialogs_;
    SensorConnection connection_;
    XModemSender uploader_;
    QPointer<CSensorParentView> view_;
    QPointer<QWidget> dialogParent_;
    QString title_;
    bool manufacturing_ = false;
    bool searchFirst_ = false; // the next Connect dialog opens the sensor search at once
    int commandDepth_ = 0;
};

} // namespace vk
