#pragma once
// Test implementations of what the programs around the connection core supply: a log
// that keeps its lines, a profile that keeps its values, a host whose dialogs answer
// from a script, and a settings dialog that counts what it is asked to do.

#include "sensor/connection_host.h"
#include "sensor/log_sink.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vk::test {

struct LogLine {
    std::string text;
    LogIcon icon;
    friend bool operator==(const LogLine&, const LogLine&) = default;
};

class RecordingLog : public LogSink {
public:
    void LogMessage(const char* text, LogIcon icon) override { lines.push_back({text, icon}); }
    std::vector<std::string> Texts() const;
    std::vector<LogLine> lines;
};

class RecordingProfile : public ProfileWriter {
public:
    void WriteInt(const std::string& section, const std::string& name, std::int64_t value) override;
    std::map<std::pair<std::string, std::string>, std::int64_t> values;
    std::function<void()> onWrite; // runs after every write
};

class ScriptedHost : public ConnectionHost {
public:
    bool AskConnectSettings(ConnectSettings& settings) override;
    bool AskBaudRate(std::int32_t& baudRate) override;
    bool AskAddress(const std::string& serial8, std::uint8_t& address) override;
    bool AskYesNo(const char* question) override;
    void ShowModelPanel(ModelType type) override { panels.push_back(type); }
    void ShowNotConnected() override { ++notConnectedShown; }
    void UpdateAllViews() override { ++viewUpdates; }
    void PostRefreshSensorBar() override { ++sensorBarRefreshes; }
    bool ManufacturingMode() const override { return manufacturing; }

    // Answers.
    bool confirmConnect = true;
    ConnectSettings connectAnswer;
    bool confirmBaud = true;
    std::int32_t baudAnswer = 57600;
    bool confirmAddress = true;
    std::uint8_t addressAnswer = 1;
    bool yes = false;
    bool manufacturing = false;

    // What was asked and shown.
    ConnectSettings connectPreset;
    std::int32_t baudPreset = 0;
    std::string serialShown;
    std::uint8_t addressPreset = 0;
    std::vector<std::string> questions;
    std::vector<ModelType> panels;
    int notConnectedShown = 0;
    int viewUpdates = 0;
    int sensorBarRefreshes = 0;
};

class CountingSettingsDialog : public SettingsDialogLink {
public:
    void SetSensor(SensorDevice* s) override { sensor = s; }
    void ReloadSettings() override { ++reloads; }
    SensorDevice* sensor = nullptr;
    int reloads = 0;
};

// Four dialogs and the table entry that hands them to the core.
struct DialogSet {
    CountingSettingsDialog vkt02, vkt04, rmxShort, vezir;
    SettingsDialogs Links() { return {&vkt02, &vkt04, &rmxShort, &vezir}; }
};

} // namespace vk::test
