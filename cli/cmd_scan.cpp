// start-scan, stop-scan, filter, errors: the VKT02's "Scan Buffer" and "Sensor errors"
// pages from the command line.
#include "cli/command_groups.h"
#include "cli/command_output.h"
#include "cli/vkctl_session.h"
#include "panels/model_settings.h"
#include "panels/vkt02_error_counters.h"
#include "panels/vkt02_scan_statistics.h"
#include "util_app/range_modes.h"

#include <algorithm>

namespace vk::cli {

namespace {

// Connects; true when the sensor is one whose panel has the scan and error pages.
bool ConnectScanningSensor(VkctlSession& session, const char* command, std::FILE* err) {
    return ConnectSensorOf(session, command, {ModelType::VKT02, ModelType::RmxLong}, err);
}

// A row name as a key: the page's texts are kept, but not a leading space.
std::string Key(const char* rowName) {
    std::string key(rowName);
    key.erase(0, key.find_first_not_of(' '));
    return key;
}

template <std::size_t N>
void PrintRows(const std::array<const char*, N>& names,
               const std::array<DiagnosticValue, N>& values, std::size_t from, bool json,
               std::FILE* out) {
    RecordWriter record(out, json);
    for (std::size_t i = from; i < N; ++i)
        record.Add(Key(names[static_cast<std::size_t>(values[i].row)]), Cell::Auto(values[i].text));
}

VkctlStatus RunScanCommand(const VkctlOptions& options, std::FILE* out, std::FILE* err,
                           const char* command, bool (SensorDevice::*send)()) {
    VkctlSession session(options, err);
    if (!ConnectScanningSensor(session, command, err) || !(session.Sensor().*send)())
        return kSensorFailed;
    if (options.json)
        RecordWriter(out, true).Finish();
    return session.ConnectStatus();
}

// "VKT02, Rmx Long and VKT04 Vezir Orududu".
std::string ModelsText(std::initializer_list<ModelType> models) {
    std::string text;
    std::size_t i = 0;
    for (const ModelType type : models) {
        if (i++ > 0)
            text += i == models.size() ? " and " : ", ";
        text += ModelDisplayName(type);
    }
    return text;
}

} // namespace

bool ConnectSensorOf(VkctlSession& session, const char* command,
                     std::initializer_list<ModelType> models, std::FILE* err) {
    if (!session.Connect())
        return false;
    const ModelType type = session.Connection().Model();
    if (std::find(models.begin(), models.end(), type) != models.end())
        return true;
    std::fprintf(err, "%s is for %s sensors; this is a %s\n", command, ModelsText(models).c_str(),
                 ModelDisplayName(type));
    return false;
}

VkctlStatus CmdStartScan(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    return RunScanCommand(options, out, err, "start-scan", &SensorDevice::StartScan);
}

VkctlStatus CmdStopScan(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    return RunScanCommand(options, out, err, "stop-scan", &SensorDevice::StopScan);
}

VkctlStatus CmdFilter(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    VkctlSession session(options, err);
    if (!ConnectScanningSensor(session, "filter", err))
        return kSensorFailed;
    SensorDevice& sensor = session.Sensor();
    const ModelType type = session.Connection().Model();
    // The ranges are shown in the sensor's mode, which the settings reload reads, as the
    // utility's connect does.
    if (!ReadSettingsRows(sensor, type) || !sensor.ApplyScanFilter() || !sensor.HLAScanResult())
        return kSensorFailed;
    const ReplyStore& replies = sensor.Replies();
    // Row 0, the scan count, is the panel's poll, not part of the filter's answer.
    PrintRows(kVkt02ScanStatisticsRowNames,
              Vkt02ScanStatisticsValues(
                  0, replies.hlaResult,
                  [&](std::uint16_t raw) { return FormatRange(type, replies, raw); }),
              1, options.json, out);
    return session.ConnectStatus();
}

VkctlStatus CmdErrors(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    VkctlSession session(options, err);
    if (!ConnectScanningSensor(session, "errors", err) || !session.Sensor().GetErrorState())
        return kSensorFailed;
    PrintRows(kVkt02ErrorRowNames, Vkt02ErrorValues(session.Sensor().Replies().errorState), 0,
              options.json, out);
    return session.ConnectStatus();
}

} // namespace vk::cli
