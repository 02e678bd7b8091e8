#include "cli/vkctl_commands.h"

#include "cli/command_groups.h"
#include "cli/command_output.h"
#include "cli/vkctl_options.h"
#include "cli/vkctl_ports.h"
#include "cli/vkctl_session.h"
#include "sensor/line_setting_change.h"
#include "sensor/scan_buffer_read.h"

namespace vk::cli {

namespace {

// Version texts carry the printf field width of the sensor's display; scripts want the
// value alone.
std::string WithoutLeadingSpaces(const std::string& value) {
    const std::size_t first = value.find_first_not_of(' ');
    return first == std::string::npos ? "" : value.substr(first);
}

VkctlStatus Identify(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    VkctlSession session(options, err);
    if (!session.Connect())
        return kSensorFailed;
    const SensorConnection& c = session.Connection();
    const ReplyStore& replies = c.Sensor().Replies();
    RecordWriter record(out, options.json);
    record.Add("model type", Cell::Number(static_cast<int>(c.Model())));
    record.Add("model name", c.ModelName());
    record.Add("model string", replies.modelName.Str());
    record.Add("serial", replies.serialNumber.Prefix(8));
    record.Add("firmware", WithoutLeadingSpaces(c.FirmwareVersion()));
    record.Add("fpga", WithoutLeadingSpaces(c.FpgaVersion()));
    record.Add("check method", CheckMethodName(c.Sensor().Method()));
    // What could be read is printed; a script still learns that part of it is missing.
    return session.ConnectStatus();
}

VkctlStatus State(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    VkctlSession session(options, err);
    if (!ConnectSensorOf(session, "state", {ModelType::VKT02, ModelType::RmxLong}, err) ||
        !session.Sensor().GetVKT02State())
        return kSensorFailed;
    const Vkt02StateRecord& s = session.Sensor().Replies().vkt02State;
    const std::pair<const char*, unsigned> rows[] = {{"base pixel", s.basePixel},
                                                     {"sum of pixels", s.pixelSum},
                                                     {"number of pixels", s.pixelCount},
                                                     {"sub-pixel value", s.subPixel},
                                                     {"range", s.range},
                                                     {"scan count", s.scanCount},
                                                     {"scanning flag", s.scanning}};
    RecordWriter record(out, options.json);
    for (const auto& [name, value] : rows)
        record.Add(name, Cell::Number(value));
    return session.ConnectStatus();
}

VkctlStatus SetThreshold(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    auto threshold = ParseNumber(options.arguments[0], 0, 255);
    if (!threshold)
        return UsageError(err, "set-threshold takes 0 to 255");
    VkctlSession session(options, err);
    if (!session.Connect() || !session.Sensor().SetThreshold(static_cast<std::uint8_t>(*threshold)))
        return kSensorFailed;
    if (options.json)
        RecordWriter(out, true).Finish();
    return session.ConnectStatus();
}

VkctlStatus ReadBuffer(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    auto start = ParseNumber(options.arguments[0], 0, kScanBufferSamples - 1);
    auto count = ParseNumber(options.arguments[1], 1, kScanBufferSamples);
    if (!start || !count || *start + *count > static_cast<long>(kScanBufferSamples))
        return UsageError(err, "read-buffer takes START and COUNT with START + COUNT <= 8192");
    VkctlSession session(options, err);
    if (!ConnectSensorOf(session, "read-buffer",
                         {ModelType::VKT02, ModelType::RmxLong, ModelType::VKT04VezirOrududu}, err))
        return kSensorFailed;
    TableWriter table(out, options.json, {"index", "raw"});
    const ScanRead read = ReadScanRanges(session.Sensor(), static_cast<std::size_t>(*start),
                                         static_cast<std::size_t>(*count));
    for (std::size_t i = 0; i < read.ranges.size(); ++i)
        table.Row({Cell::Number(*start + static_cast<long>(i)), Cell::Number(read.ranges[i])});
    table.Finish();
    if (read.outcome != ScanReadOutcome::Complete) {
        if (!read.failureLine.empty())
            std::fprintf(err, "%s\n", read.failureLine.c_str());
        return kSensorFailed;
    }
    return session.ConnectStatus();
}

constexpr VkctlCommand kCommands[] = {
    {"identify", "", "model, serial number, versions and check method of the sensor", 0, Identify},
    {"state", "", "the seven words of the VKT02 state (VKT02, Rmx Long)", 0, State},
    {"set-threshold", "N", "sets the detection threshold (0 to 255)", 1, SetThreshold},
    {"read-buffer", "START COUNT",
     "scan-buffer samples as CSV lines index,raw (VKT02, Rmx Long, Vezir Orududu)", 2, ReadBuffer},
    {"ports", "", "every COM name whose device exists: name, device, description", 0, ListPorts},
    {"settings", "",
     "every setting of the connected model by the names set takes, as its settings dialog\n"
     "      shows it; --json: value (a number where it is one), unit, the dialog's row and text",
     0, CmdSettings},
    {"set", "NAME VALUE | NAME --help | --help",
     "writes one setting as its dialog's button does and prints the value read back;\n"
     "      --help lists the names of the connected model, NAME --help says what one\n"
     "      takes (for mode: the rows of the range-mode list)",
     1, CmdSet, 2},
    {"start-scan", "", "starts a scan (VKT02, Rmx Long)", 0, CmdStartScan},
    {"stop-scan", "", "stops the scan (VKT02, Rmx Long)", 0, CmdStopScan},
    {"filter", "", "filters the scan buffer and prints the five scan statistics", 0, CmdFilter},
    {"errors", "", "the six error counters and the calibration status", 0, CmdErrors},
    {"upload", "fpga|dsp|cal FILE [--yes]",
     "uploads an FPGA image, DSP program or calibration table over XModem-CRC;\n"
     "      --yes goes on with a file of unusual size",
     2, CmdUpload, 3},
    {"set-serial", "TEXT", "writes the serial number (at most 15 characters)", 1, CmdSetSerial},
    {"set-model", "STRING", "writes a model string of the model table (\"0 VKT-02\", ...)", 1,
     CmdSetModel},
    {"scan-line", "[--quick] [--first] [--skip-silent] [--address-range A-B] [--timeout MS]",
     "finds every sensor on the line at each speed and check method (--checksum or --crc\n"
     "      only that one), where --baud and --address say first, then 57600 checksum,\n"
     "      then the rest; one row each as it is found. Each speed and method begins with\n"
     "      the global address: where nothing answers it, its addresses are asked last\n"
     "      (--skip-silent leaves them out). --quick asks the global address\n"
     "      only (one sensor on the line; answers that collide there are reported and\n"
     "      exit 1), --first stops at the first sensor,\n"
     "      --address-range narrows the addresses (default 1-255), --timeout waits MS for\n"
     "      an answer to begin (default 25); Ctrl+C stops after the request in progress",
     0, CmdScanLine, 7},
    {"backup", "FILE",
     "saves the sensor's identity and every setting to the profile FILE (JSON), written\n"
     "      whole or not at all; a FILE that exists and is no profile is left alone (exit 2)",
     1, CmdBackup},
    {"restore", "FILE [--dry-run] [--line-settings]",
     "writes the profile FILE into a sensor of the same model: each setting that differs\n"
     "      through its dialog's button, the range mode first, then reads all back; one CSV\n"
     "      row per setting: unchanged, verified, refused, different; the serial number is\n"
     "      never written; --dry-run prints what would change and writes nothing;\n"
     "      --line-settings also moves address, speed and check method (last, each\n"
     "      proven by a reconnect); a damaged file or another model's exits 2 unwritten",
     1, CmdRestore, 3},
    {"diff", "FILE [FILE2]",
     "compares the sensor (or FILE2) with the profile FILE: one CSV row per setting that\n"
     "      differs, identity rows after them; exit 1 when a setting differs",
     1, CmdDiff, 2},
    {"set-address", "N",
     "gives the sensor address N (1 to 255) by its serial number, as the address dialog\n"
     "      does, and proves it answers there",
     1, CmdSetAddress},
    {"set-baud", "9600|19200|38400|57600",
     "moves the sensor and the port to that speed, as the baud-rate dialog does, and\n"
     "      proves the sensor answers there",
     1, CmdSetBaud},
    {"set-check-method", "checksum|crc",
     "switches the sensor's check method, as the Edit menu does, and proves it answers\n"
     "      in it; after any of the three, exit 1 names where the sensor answered before",
     1, CmdSetCheckMethod},
    {"monitor", "[--interval MS] [--count N] [--csv FILE]",
     "polls the panel's live values, one timestamped CSV row per poll, until Ctrl+C", 0, CmdMonitor,
     6},
};

} // namespace

VkctlStatus UsageError(std::FILE* err, const std::string& problem) {
    // One line a script's log can show; the whole usage would bury it.
    std::fprintf(err, "vkctl: %s; see vkctl --help\n", problem.c_str());
    return kUsageError;
}

std::span<const VkctlCommand> Commands() {
    return kCommands;
}

const VkctlCommand* FindCommand(const std::string& name) {
    for (const VkctlCommand& c : kCommands) {
        if (name == c.name)
            return &c;
    }
    return nullptr;
}

} // namespace vk::cli
