#include "cli/vkctl_commands.h"

#include "cli/vkctl_options.h"
#include "cli/vkctl_session.h"
#include "sensor/scan_buffer_read.h"

namespace vk::cli {

namespace {

void PrintField(std::FILE* out, const char* key, const std::string& value) {
    // Version texts carry the printf field width of the sensor's display; scripts want
    // the value alone.
    std::size_t first = value.find_first_not_of(' ');
    std::fprintf(out, "%s: %s\n", key, first == std::string::npos ? "" : value.c_str() + first);
}

VkctlStatus Usage(std::FILE* err, const std::string& problem) {
    std::fprintf(err, "vkctl: %s\n%s", problem.c_str(), VkctlUsage().c_str());
    return kUsageError;
}

VkctlStatus Identify(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    VkctlSession session(options, err);
    if (!session.Connect())
        return kSensorFailed;
    const SensorConnection& c = session.Connection();
    const ReplyStore& replies = c.Sensor().Replies();
    PrintField(out, "model type", std::to_string(static_cast<int>(c.Model())));
    PrintField(out, "model name", c.ModelName());
    PrintField(out, "model string", replies.modelName.Str());
    PrintField(out, "serial", replies.serialNumber.Prefix(8));
    PrintField(out, "firmware", c.FirmwareVersion());
    PrintField(out, "fpga", c.FpgaVersion());
    PrintField(out, "check method", c.Sensor().Method() == CheckMethod::Crc16 ? "crc" : "checksum");
    // What could be read is printed; a script still learns that part of it is missing.
    return session.ConnectStatus();
}

VkctlStatus State(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    VkctlSession session(options, err);
    if (!session.Connect() || !session.Sensor().GetVKT02State())
        return kSensorFailed;
    const Vkt02StateRecord& s = session.Sensor().Replies().vkt02State;
    const std::pair<const char*, unsigned> rows[] = {{"base pixel", s.basePixel},
                                                     {"sum of pixels", s.pixelSum},
                                                     {"number of pixels", s.pixelCount},
                                                     {"sub-pixel value", s.subPixel},
                                                     {"range", s.range},
                                                     {"scan count", s.scanCount},
                                                     {"scanning flag", s.scanning}};
    for (const auto& [name, value] : rows)
        std::fprintf(out, "%s: %u\n", name, value);
    return session.ConnectStatus();
}

VkctlStatus SetThreshold(const VkctlOptions& options, std::FILE*, std::FILE* err) {
    auto threshold = ParseNumber(options.arguments[0], 0, 255);
    if (!threshold)
        return Usage(err, "set-threshold takes 0 to 255");
    VkctlSession session(options, err);
    if (!session.Connect() || !session.Sensor().SetThreshold(static_cast<std::uint8_t>(*threshold)))
        return kSensorFailed;
    return session.ConnectStatus();
}

VkctlStatus ReadBuffer(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    auto start = ParseNumber(options.arguments[0], 0, kScanBufferSamples - 1);
    auto count = ParseNumber(options.arguments[1], 1, kScanBufferSamples);
    if (!start || !count || *start + *count > static_cast<long>(kScanBufferSamples))
        return Usage(err, "read-buffer takes START and COUNT with START + COUNT <= 8192");
    VkctlSession session(options, err);
    if (!session.Connect())
        return kSensorFailed;
    std::fprintf(out, "index,raw\n");
    const ScanRead read = ReadScanRanges(session.Sensor(), static_cast<std::size_t>(*start),
                                         static_cast<std::size_t>(*count));
    for (std::size_t i = 0; i < read.ranges.size(); ++i)
        std::fprintf(out, "%ld,%u\n", *start + static_cast<long>(i), read.ranges[i]);
    if (read.outcome != ScanReadOutcome::Complete) {
        if (!read.failureLine.empty())
            std::fprintf(err, "%s\n", read.failureLine.c_str());
        return kSensorFailed;
    }
    return session.ConnectStatus();
}

constexpr VkctlCommand kCommands[] = {
    {"identify", "", "model, serial number, versions and check method of the sensor", 0, Identify},
    {"state", "", "the seven words of the VKT02 state", 0, State},
    {"set-threshold", "N", "sets the detection threshold (0 to 255)", 1, SetThreshold},
    {"read-buffer", "START COUNT", "scan-buffer samples as CSV lines index,raw", 2, ReadBuffer},
};

} // namespace

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
