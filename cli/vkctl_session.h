#pragma once
// One vkctl run's connection: the connection core driven from the command line. The
// "dialogs" answer with the command line's settings, nothing is shown, and the profile
// of the graphical utility is left alone. A run that succeeds says nothing on standard
// error: the checksum try that fails before a CRC sensor answers is how the method is
// found, not an error. Every other error line goes there, and a failed connect adds the
// hint on the port's permissions; with --verbose every log line goes there as it comes.

#include "cli/vkctl_commands.h"
#include "cli/vkctl_options.h"
#include "cli/vkctl_trace.h"
#include "sensor/connection_host.h"
#include "sensor/log_sink.h"
#include "sensor/sensor_connection.h"

#include <cstdio>
#include <string>
#include <vector>

namespace vk::cli {

class VkctlSession : private ConnectionHost, private LogSink, private ProfileWriter {
public:
    VkctlSession(const VkctlOptions& options, std::FILE* errors);

    // Runs the utility's connect sequence; its lines are out when it returns.
    bool Connect();
    // kOk when the connect read everything it asks for (model, versions, serial number),
    // else kSensorFailed: its failure lines are out already.
    VkctlStatus ConnectStatus() const;
    SensorDevice& Sensor() { return connection_.Sensor(); }
    SensorConnection& Connection() { return connection_; }
    // Number of error lines written so far.
    int ErrorLines() const { return errorLines_; }

private:
    bool AskConnectSettings(ConnectSettings& settings) override;
    bool AskBaudRate(std::int32_t&) override { return false; }
    bool AskAddress(const std::string&, std::uint8_t&) override { return false; }
    bool AskYesNo(const char*) override { return false; }
    void ShowModelPanel(ModelType) override {}
    void ShowNotConnected() override {}
    void UpdateAllViews() override {}
    void PostRefreshSensorBar() override {}
    bool ManufacturingMode() const override { return false; }
    void LogMessage(const char* text, LogIcon icon) override;
    void WriteInt(const std::string&, const std::string&, std::int64_t) override {}

    struct Line {
        std::string text;
        LogIcon icon;
    };
    void Print(const std::string& text, LogIcon icon);

    const VkctlOptions& options_;
    std::FILE* errors_;
    bool connecting_ = false;
    std::vector<Line> held_; // lines of the connect, until it is known which of them count
    int errorLines_ = 0;
    TracePrinter trace_;
    SensorConnection connection_;
};

} // namespace vk::cli
