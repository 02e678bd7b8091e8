#include "sensor/sensor_connection.h"

#include "link/net_port_name.h"
#include "link/port_access.h"
#include "link/port_names.h"
#include "sensor/connect_hint.h"
#include "sensor/version_texts.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace vk {

namespace {
constexpr const char* kCannotConnect = "Cannot connect to the sensor...";
constexpr const char* kResetQuestion = "Reset sensor to factory defaults ?";
} // namespace

SensorConnection::SensorConnection(ConnectionHost& host, LogSink& log, ProfileWriter& profile)
    : host_(host), log_(log), profile_(profile), sensor_(&log),
      models_(MakeModelTable(SettingsDialogs{})) {}

SensorConnection::~SensorConnection() {
    StopTicker();
}

void SensorConnection::Log(LogIcon icon, const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    log_.LogMessage(text, icon);
}

void SensorConnection::StopTicker() {
    if (ticker_)
        ticker_->StopThread();
}

namespace {

// A COM number opens as "COMn"; any other name goes to the port layer as it is, which
// opens a device path and refuses the rest.
std::string OpenedName(const ConnectSettings& s) {
    return s.portNumber >= 1 ? "COM" + std::to_string(s.portNumber) : s.portName;
}

} // namespace

bool SensorConnection::OpenLink(const ConnectSettings& s) {
    return link_.OpenPortName(OpenedName(s), s.baudRate, s.parity, s.stopBits, s.dataBits,
                              s.readTimeoutMs, s.writeTimeoutMs);
}

bool SensorConnection::ProbeModelName(std::optional<CheckMethod> known) {
    if (known) {
        sensor_.SetCheckMethod(*known);
        return sensor_.GetModelName();
    }
    sensor_.SetCheckMethod(CheckMethod::Checksum);
    if (sensor_.GetModelName())
        return true;
    // A port that went away answers in no method.
    if (link_.PortLost())
        return false;
    sensor_.SetCheckMethod(CheckMethod::Crc16);
    return sensor_.GetModelName();
}

bool SensorConnection::ReadVersions() {
    const std::optional<VersionTexts> texts = ReadVersionTexts(sensor_, modelType_);
    if (!texts)
        return false;
    firmwareVersion_ = texts->firmware;
    fpgaVersion_ = texts->fpga;
    return true;
}

bool SensorConnection::FailConnect(const char* text) {
    log_.LogMessage(text, LogIcon::Error);
    Disconnect();
    return false;
}

bool SensorConnection::Connect() {
    if (connected_)
        return false;
    models_ = MakeModelTable(dialogs_);
    sensor_.ResetReplies();
    readOutComplete_ = false;

    ConnectSettings settings;
    if (!host_.AskConnectSettings(settings))
        return false;

    if (!OpenLink(settings)) {
        // Which device failed and why: a refused port is the commonest first obstacle.
        log_.LogMessage(link_.ErrorText(), LogIcon::Error);
        if (link_.Error().code == kErrOpenFailed) {
            if (std::string hint = PortAccessHint(OpenedName(settings)); !hint.empty())
                log_.LogMessage(hint.c_str(), LogIcon::Information);
        }
        return FailConnect(kCannotConnect);
    }

    portNumber_ = settings.portNumber;
    // Named now: a link in the port folder may point elsewhere by the time the port is lost.
    portLabel_ = PortNameWithDevice(OpenedName(settings));
    portName_ = OpenedName(settings);
    sensor_.SetAddress(settings.address);
    sensor_.SetCheckMethod(CheckMethod::Checksum);
    sensor_.SetLink(&link_);
    SaveConnectionSettings(settings.baudRate, settings.portNumber, settings.address,
                           settings.readTimeoutMs, settings.writeTimeoutMs);

    link_.DrainInput();
    // A method found beforehand (a line search) spares the sensor a request it ignores.
    const std::optional<CheckMethod> tried = forcedMethod_ ? forcedMethod_ : settings.checkMethod;
    if (!ProbeModelName(tried)) {
        // A port that went away has said so; the advice for a silent sensor would mislead.
        if (!link_.PortLost()) {
            const std::string port = OpenedName(settings);
            log_.LogMessage(NoAnswerHint(port, PortDeviceName(port), settings.baudRate,
                                         settings.address, tried, searchAdvice_)
                                .c_str(),
                            LogIcon::Information);
        }
        return FailConnect(kCannotConnect);
    }

    for (SettingsDialogLink* dialog :
         {dialogs_.vkt02, dialogs_.vkt04, dialogs_.rmxShort, dialogs_.vezirOrududu})
        if (dialog)
            dialog->SetSensor(&sensor_);

    if (!DetectModel())
        return FailConnect(kUnknownModelText);

    bool versionsRead = ReadVersions();
    ReloadSettings();
    readOutComplete_ = sensor_.GetSerialNum() && versionsRead;

    connected_ = true;
    host_.UpdateAllViews();
    if (ticker_)
        ticker_->StartThread();
    Log(LogIcon::Information, "Successfully connected to %s type sensor", modelName_.c_str());
    return true;
}

void SensorConnection::Disconnect() {
    CloseConnection(true);
}

void SensorConnection::CloseConnection(bool showNotConnected) {
    StopTicker();
    link_.ClosePort();
    connected_ = false;
    host_.PostRefreshSensorBar();
    log_.LogMessage("Disconnected...", LogIcon::Warning);
    host_.UpdateAllViews();
    if (showNotConnected)
        host_.ShowNotConnected();
}

bool SensorConnection::DropLostPort() {
    if (!PortLost())
        return false;
    log_.LogMessage(PortLostText().c_str(), LogIcon::Error);
    CloseConnection(false);
    return true;
}

void SensorConnection::Close() {
    StopTicker();
    log_.LogMessage("Close", LogIcon::Information);
}

bool SensorConnection::DetectModel() {
    std::optional<ModelType> type = FindModelType(sensor_.Replies().modelName);
    if (!type) {
        if (!host_.ManufacturingMode())
            return false;
        log_.LogMessage("Sensor responded with unknown model string.Since in manufacturing "
                        "mode initializing as VKT02.",
                        LogIcon::Error);
        type = ModelType::VKT02;
    }
    const ModelEntry& entry = models_[static_cast<std::size_t>(*type)];
    modelType_ = entry.type;
    modelName_ = entry.displayName;
    activeDialog_ = entry.settingsDialog;
    host_.ShowModelPanel(modelType_);
    return true;
}

bool SensorConnection::ChangeBaudRate() {
    std::int32_t baudRate = link_.Settings().baudRate;
    if (SensorDevice::BaudRateCode(baudRate) < 0)
        baudRate = 9600;
    if (!host_.AskBaudRate(baudRate))
        return false;
    return MoveToBaudRate(baudRate);
}

bool SensorConnection::MoveToBaudRate(std::int32_t baudRate) {
    // The sensor would never hear of such a rate, so moving the port to it would only
    // cut the line.
    if (SensorDevice::BaudRateCode(baudRate) < 0)
        return false;
    sensor_.SetBaudRate(baudRate);
    Log(LogIcon::Information, "Set boudrate to %d", baudRate);
    link_.SetPortBaudRate(baudRate);
    ReloadSettings();
    const PortSettings& port = link_.Settings();
    SaveConnectionSettings(port.baudRate, portNumber_, sensor_.Address(),
                           static_cast<std::uint32_t>(port.readTimeoutMs),
                           static_cast<std::uint32_t>(port.writeTimeoutMs));
    return true;
}

void SensorConnection::ChangeSensorAddress() {
    std::uint8_t address = sensor_.Address();
    if (host_.AskAddress(sensor_.Replies().serialNumber.Prefix(8), address))
        Readdress(address);
    ReloadSettings();
}

void SensorConnection::Readdress(std::uint8_t address) {
    sensor_.SetSensorAddress(0, sensor_.Replies().serialNumber.Prefix(8), address);
    sensor_.SetAddress(address);
    const PortSettings& port = link_.Settings();
    SaveConnectionSettings(port.baudRate, portNumber_, address,
                           static_cast<std::uint32_t>(port.readTimeoutMs),
                           static_cast<std::uint32_t>(port.writeTimeoutMs));
}

void SensorConnection::SelectCheckMethod(CheckMethod method) {
    sensor_.SetSensorCheckMode(method);
    sensor_.SetCheckMethod(method);
}

void SensorConnection::ResetToDefaults() {
    if (!host_.AskYesNo(kResetQuestion))
        return;
    sensor_.SetDefaults();
    ReloadSettings();
}

void SensorConnection::ReloadSettings() {
    if (activeDialog_)
        activeDialog_->ReloadSettings();
}

void SensorConnection::SaveConnectionSettings(std::int32_t baudRate, int portNumber,
                                              std::uint8_t address, std::uint32_t readTimeoutMs,
                                              std::uint32_t writeTimeoutMs) {
    const std::string timeouts = "Settings\\Communication timeouts";
    profile_.WriteInt(timeouts, "read timeout", readTimeoutMs);
    profile_.WriteInt(timeouts, "write timeout", writeTimeoutMs);
    // A port given as a device path has no COM number to file its values under; a serial
    // device server's port is kept by name, so the Connect dialog can offer it again.
    if (portNumber < 1) {
        if (IsNetworkPortName(portName_))
            profile_.WriteText("Settings", "network port", portName_);
        return;
    }
    const std::string port = "Settings\\" + std::to_string(portNumber);
    profile_.WriteInt("Settings", "port name", portNumber);
    profile_.WriteInt(port, "address", address);
    profile_.WriteInt(port, "boudrate", baudRate);
}

} // namespace vk
