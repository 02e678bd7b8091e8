#pragma once
// What the connection core asks of the program around it: the utility's document and
// the command-line program each implement these. All calls come on the thread that
// drives the connection.

#include "link/frame.h"
#include "sensor/model_table.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vk {

class SensorDevice;

// The port and line settings of one connection, as the Connect dialog hands them back.
struct ConnectSettings {
    // "COMn", a device path starting with "/" which is then opened as it is, or a serial
    // device server's port, "tcp://HOST:PORT" or "rfc2217://HOST:PORT".
    std::string portName = "COM1";
    // n of "COMn"; -1 for a name without "COM", which no port answers to.
    int portNumber = 1;
    std::int32_t baudRate = 57600;
    std::int32_t parity = 0;   // 0 none, 1 odd, 2 even, 3 mark
    std::int32_t stopBits = 0; // 0 one, 1 one and a half, 2 two
    std::int32_t dataBits = 8;
    std::uint8_t address = 1; // 0 reaches every sensor on the line
    std::uint32_t readTimeoutMs = 100;
    std::uint32_t writeTimeoutMs = 100;
    // The sensor's check method when it is known (a line search found it); none: the
    // connect tries checksum, then CRC.
    std::optional<CheckMethod> checkMethod;
};

class ConnectionHost {
public:
    virtual ~ConnectionHost() = default;
    // The "Connect" dialog, preset with `settings`; false when cancelled.
    virtual bool AskConnectSettings(ConnectSettings& settings) = 0;
    // The "Sensor boudrate" dialog, preset with `baudRate`; false when cancelled.
    virtual bool AskBaudRate(std::int32_t& baudRate) = 0;
    // The "Sensor Address" dialog showing `serial8`, preset with `address`; false when
    // cancelled.
    virtual bool AskAddress(const std::string& serial8, std::uint8_t& address) = 0;
    // A Yes/No question; true for Yes.
    virtual bool AskYesNo(const char* question) = 0;
    // The view shows the panel of `type`, or "Not Connected".
    virtual void ShowModelPanel(ModelType type) = 0;
    virtual void ShowNotConnected() = 0;
    // Every view refreshes from the connection (the document's update notification).
    virtual void UpdateAllViews() = 0;
    // Queues a refill of the sensor information bar; it must not run inside the call.
    virtual void PostRefreshSensorBar() = 0;
    // Whether the program runs in manufacturing mode (fixed for the process).
    virtual bool ManufacturingMode() const = 0;
};

// What each model settings dialog offers the connection core.
class SettingsDialogLink {
public:
    virtual ~SettingsDialogLink() = default;
    // The sensor the dialog reads and writes from now on; it outlives the dialog's use.
    virtual void SetSensor(SensorDevice* sensor) = 0;
    // Reads the settings from the sensor again and refreshes the dialog.
    virtual void ReloadSettings() = 0;
};

// The per-user profile the last connection settings go to. `section` may hold one
// backslash ("Settings\Communication timeouts"); a profile without nested sections maps
// it to its own separator. Writes are not checked.
class ProfileWriter {
public:
    virtual ~ProfileWriter() = default;
    virtual void WriteInt(const std::string& section, const std::string& name,
                          std::int64_t value) = 0;
    // A text value; a profile that keeps none ignores it.
    virtual void WriteText(const std::string& /*section*/, const std::string& /*name*/,
                           const std::string& /*value*/) {}
};

} // namespace vk
