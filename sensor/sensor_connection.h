#pragma once
// SensorConnection: the connection half of the utility's document, free of any GUI. It
// owns the link and the sensor object, connects (finding the check method and the model,
// reading versions and serial number), disconnects, and changes speed, address and check
// method of a connected sensor. Dialogs, views, the profile and the refresh ticker are
// reached through the interfaces of connection_host.h, so the utility and the
// command-line program drive the same sequences. Everything runs on one thread.

#include "link/dcs_link.h"
#include "sensor/connection_host.h"
#include "sensor/log_sink.h"
#include "sensor/model_table.h"
#include "sensor/sensor_device.h"
#include "sensor/worker_thread.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace vk {

class SensorConnection {
public:
    // `host`, `log` and `profile` must outlive the connection.
    SensorConnection(ConnectionHost& host, LogSink& log, ProfileWriter& profile);
    ~SensorConnection();
    SensorConnection(const SensorConnection&) = delete;
    SensorConnection& operator=(const SensorConnection&) = delete;

    // The four model settings dialogs (any may be null); used from the next Connect on.
    void SetSettingsDialogs(const SettingsDialogs& dialogs) { dialogs_ = dialogs; }
    // The thread started by a successful connect and stopped by Disconnect, Close and the
    // destructor; may be null. It must outlive the connection or be unset first.
    void SetRefreshTicker(WorkerThread* ticker) { ticker_ = ticker; }
    // A method to use instead of trying checksum and then CRC; nothing restores the probe.
    void ForceCheckMethod(std::optional<CheckMethod> method) { forcedMethod_ = method; }
    // How a user of this program searches the line for sensors ("use Find Sensors"); the
    // hint after a connect that got no answer ends with it.
    void SetSearchAdvice(std::string advice) { searchAdvice_ = std::move(advice); }

    // Asks the host for the port settings, opens the port, finds the check method and
    // the model, reads versions, settings and serial number, and starts the ticker.
    // Returns true when connected. Cancelling the dialog changes and logs nothing; any
    // failure logs one summary line (besides the commands' own failure lines) and
    // disconnects; a port that does not open first logs the link's reason (an error line)
    // and, when permissions refused it, a hint (an information line), and a sensor that
    // does not answer first gets the hint of NoAnswerHint. Does nothing and returns false
    // while already connected.
    bool Connect();
    // Stops the ticker, closes the port, clears the connected flags, queues a sensor-bar
    // refresh, logs "Disconnected...", updates the views and shows "Not Connected".
    void Disconnect();
    // The document closes: stops the ticker and logs "Close".
    void Close();

    // Whether the port went away while connected (DcsLink::PortLost): the adapter was
    // pulled, the line hung up. Every exchange fails from then on.
    bool PortLost() const { return connected_ && link_.PortLost(); }
    // "Port lost: COM1 (/dev/ttyUSB0)": the port of this connection as messages name it.
    std::string PortLostText() const { return "Port lost: " + portLabel_; }
    // When PortLost: logs PortLostText as an error and disconnects as Disconnect does,
    // except that the model's panel stays in view (the update empties its values), so the
    // technician sees what it showed until then. Connect with the same settings reopens
    // the port. False, and nothing done, while the port is fine or nothing is connected.
    bool DropLostPort();

    // Takes the model from the last model-name reply (manufacturing mode falls back to a
    // VKT02 for an unknown one) and shows its panel; false for an unknown model.
    bool DetectModel();
    // The sensor and the port move to the speed the host picks; the sensor's answer is
    // not awaited. False when cancelled or when the rate is not one the sensors know
    // (then nothing is sent or changed).
    bool ChangeBaudRate();
    // ChangeBaudRate after the host has picked `baudRate`.
    bool MoveToBaudRate(std::int32_t baudRate);
    // Re-addresses the sensor by its serial number through the global address.
    void ChangeSensorAddress();
    // What ChangeSensorAddress does once the host has picked `address`, up to the reload:
    // the sensor whose serial number the connect read takes `address`, and the commands
    // go there from now on.
    void Readdress(std::uint8_t address);
    // The sensor is told to use `method`, and so does the command layer, whatever it said.
    void SelectCheckMethod(CheckMethod method);
    // After the host agrees, the sensor returns to its factory settings.
    void ResetToDefaults();
    // The active settings dialog reads its settings again; nothing without one.
    void ReloadSettings();
    // Writes the last connection's settings to the profile.
    void SaveConnectionSettings(std::int32_t baudRate, int portNumber, std::uint8_t address,
                                std::uint32_t readTimeoutMs, std::uint32_t writeTimeoutMs);

    // --- state ------------------------------------------------------------------
    DcsLink& Link() { return link_; }
    const DcsLink& Link() const { return link_; }
    SensorDevice& Sensor() { return sensor_; }
    const SensorDevice& Sensor() const { return sensor_; }
    bool Connected() const { return connected_; }
    int PortNumber() const { return portNumber_; }
    ModelType Model() const { return modelType_; }
    const std::string& ModelName() const { return modelName_; }
    SettingsDialogLink* ActiveSettingsDialog() const { return activeDialog_; }
    const std::string& FirmwareVersion() const { return firmwareVersion_; }
    const std::string& FpgaVersion() const { return fpgaVersion_; }
    // Whether the last connect also read the versions and the serial number; a connect
    // goes on without them, leaving the texts as they were.
    bool ReadOutComplete() const { return readOutComplete_; }

private:
    bool OpenLink(const ConnectSettings& settings);
    bool ProbeModelName(std::optional<CheckMethod> known);
    bool ReadVersions();
    bool FailConnect(const char* text);
    void CloseConnection(bool showNotConnected);
    void StopTicker();
    void Log(LogIcon icon, const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 3, 4)))
#endif
        ;

    ConnectionHost& host_;
    LogSink& log_;
    ProfileWriter& profile_;
    DcsLink link_;
    SensorDevice sensor_;
    WorkerThread* ticker_ = nullptr;
    SettingsDialogs dialogs_;
    ModelTable models_;
    std::optional<CheckMethod> forcedMethod_;
    std::string searchAdvice_;

    int portNumber_ = 0;
    std::string portLabel_; // the port as messages name it: "COM1 (/dev/ttyS0)"
    std::string portName_; // the port as it was opened
    bool connected_ = false;
    bool readOutComplete_ = false;
    ModelType modelType_ = ModelType::VKT02;
    std::string modelName_;
    SettingsDialogLink* activeDialog_ = nullptr;
    std::string firmwareVersion_;
    std::string fpgaVersion_;
};

} // namespace vk
