// monitor: the live values of the model's panel, polled and logged.
#include "cli/command_groups.h"
#include "cli/command_output.h"
#include "cli/stop_request.h"
#include "cli/vkctl_session.h"
#include "panels/live_values.h"
#include "panels/model_settings.h"
#include "util_app/range_modes.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <memory>

namespace vk::cli {

namespace {

struct MonitorArguments {
    long intervalMs = 1000;
    long count = 0; // 0: until stopped
    std::string csvPath;
};

std::string ParseMonitorArguments(const std::vector<std::string>& args, MonitorArguments* out) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i + 1 >= args.size())
            return "monitor takes --interval MS, --count N and --csv FILE";
        const std::string& value = args[++i];
        if (a == "--interval") {
            const auto ms = ParseNumber(value, 0, 3600000);
            if (!ms)
                return "--interval takes 0 to 3600000 (ms)";
            out->intervalMs = *ms;
        } else if (a == "--count") {
            const auto n = ParseNumber(value, 1, 2000000000);
            if (!n)
                return "--count takes 1 or more";
            out->count = *n;
        } else if (a == "--csv" && !value.empty()) {
            out->csvPath = value;
        } else {
            return "monitor takes --interval MS, --count N and --csv FILE";
        }
    }
    return {};
}

// Local time now as ISO 8601 with milliseconds and the offset from UTC:
// "2024-05-31T14:03:07.042+02:00".
std::string TimestampNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    const std::tm* local = std::localtime(&seconds);
    if (!local)
        return {};
    char date[32], zone[16];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", local);
    std::string offset;
    if (std::strftime(zone, sizeof zone, "%z", local) == 5)
        offset = std::string(zone, 3) + ":" + std::string(zone + 3, 2);
    char text[64];
    std::snprintf(text, sizeof text, "%s.%03d%s", date, static_cast<int>(ms), offset.c_str());
    return text;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

VkctlStatus CmdMonitor(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    MonitorArguments args;
    if (const std::string problem = ParseMonitorArguments(options.arguments, &args);
        !problem.empty())
        return UsageError(err, problem);
    // The log is added to, never replaced: a file the user chose may hold earlier runs.
    std::unique_ptr<std::FILE, FileCloser> csv;
    if (!args.csvPath.empty()) {
        // Read as well, for the last byte of what is there; a file we may only write to is
        // still added to.
        csv.reset(std::fopen(args.csvPath.c_str(), "a+"));
        if (!csv && errno == EACCES)
            csv.reset(std::fopen(args.csvPath.c_str(), "a"));
        if (!csv) {
            std::fprintf(err, "monitor: cannot open %s for appending (%s)\n", args.csvPath.c_str(),
                         std::strerror(errno));
            return kSensorFailed;
        }
    }

    VkctlSession session(options, err);
    if (!session.Connect())
        return kSensorFailed;
    SensorDevice& sensor = session.Sensor();
    const ModelType type = session.Connection().Model();
    // The range is shown in the sensor's mode, which the settings reload reads.
    if (!ReadSettingsRows(sensor, type))
        return kSensorFailed;
    const int mode = RangeModeInForce(type, sensor.Replies());
    const std::string unit = RangeUnit(GetRangeMode(type, mode));

    std::vector<std::string> columns = {"time"};
    for (const std::string& name : LiveValueNames(type))
        columns.push_back(name == "Range" && !unit.empty() ? name + " (" + unit + ")" : name);
    TableWriter table(out, options.json, columns);
    std::unique_ptr<TableWriter> file;
    if (csv) {
        // A file that holds rows already has its header. One that ends in the middle of a
        // line (written by hand, cut off when a disk was full) gets a line end first, so
        // the next row starts a line of its own.
        std::FILE* f = csv.get();
        std::fseek(f, 0, SEEK_END);
        const bool empty = std::ftell(f) == 0;
        const int last = !empty && std::fseek(f, -1, SEEK_END) == 0 ? std::fgetc(f) : EOF;
        // Reading and writing a stream must be parted by a seek.
        std::fseek(f, 0, SEEK_END);
        if (last != EOF && last != '\n')
            std::fputs("\n", f);
        file = std::make_unique<TableWriter>(csv.get(), false, columns, empty);
    }

    StopRequest stop;
    VkctlStatus status = session.ConnectStatus();
    for (long poll = 0; args.count == 0 || poll < args.count; ++poll) {
        if (poll > 0 && stop.WaitMs(static_cast<int>(args.intervalMs)))
            break;
        const std::string time = TimestampNow();
        const std::optional<SettingsRows> rows = PollLiveValues(
            sensor, type, [&](std::uint16_t raw) { return FormatPlainRange(type, mode, raw); });
        if (!rows) {
            // The failed command has written its line; a row it did not read is not made up.
            status = kSensorFailed;
            // A port that went away fails every poll to come: say so once and stop.
            if (session.Connection().DropLostPort())
                break;
            continue;
        }
        std::vector<Cell> cells = {Cell::Text(time)};
        for (const auto& [name, value] : *rows)
            cells.push_back(Cell::Auto(value));
        table.Row(cells);
        if (file) {
            file->Row(cells);
            if (std::ferror(csv.get())) {
                std::fprintf(err, "monitor: cannot write to %s\n", args.csvPath.c_str());
                return kSensorFailed;
            }
        }
    }
    return status;
}

} // namespace vk::cli
