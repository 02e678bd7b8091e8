// set-address, set-baud, set-check-method: commissioning a sensor from a script, each
// change proven by a reconnect at the new setting.
#include "cli/command_groups.h"
#include "cli/command_output.h"
#include "cli/vkctl_session.h"
#include "sensor/line_setting_change.h"

namespace vk::cli {

namespace {

// Connects with the command line's settings, moves the sensor to what `change` makes of
// them and prints where it answers now; the failure line names where it did before.
template <typename Change>
VkctlStatus MoveSensor(const VkctlOptions& options, std::FILE* out, std::FILE* err, Change change) {
    VkctlSession session(options, err);
    if (!session.Connect())
        return kSensorFailed;
    LineSettings target = CurrentLineSettings(session.Connection());
    change(target);
    const LineChangeReport report = ChangeLineSettings(session.Connection(), options.port, target);
    if (!report.failure.empty()) {
        std::fprintf(err, "%s\n", report.failure.c_str());
        return kSensorFailed;
    }
    const LineSettings now = CurrentLineSettings(session.Connection());
    RecordWriter record(out, options.json);
    record.Add("address", Cell::Number(now.address));
    record.Add("speed", Cell::Number(now.speed));
    record.Add("check method", CheckMethodName(now.method));
    return session.ConnectStatus();
}

} // namespace

VkctlStatus CmdSetAddress(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    // Address 0 reaches every sensor: a sensor that took it could not be told apart.
    const std::optional<long> address = ParseNumber(options.arguments[0], 1, 255);
    if (!address)
        return UsageError(err, "set-address takes 1 to 255");
    return MoveSensor(options, out, err,
                      [&](LineSettings& s) { s.address = static_cast<std::uint8_t>(*address); });
}

VkctlStatus CmdSetBaud(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    const std::optional<long> baud = ParseNumber(options.arguments[0], 9600, 57600);
    if (!baud || SensorDevice::BaudRateCode(static_cast<std::int32_t>(*baud)) < 0)
        return UsageError(err, "set-baud takes 9600, 19200, 38400 or 57600");
    return MoveSensor(options, out, err,
                      [&](LineSettings& s) { s.speed = static_cast<std::int32_t>(*baud); });
}

VkctlStatus CmdSetCheckMethod(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    const std::optional<CheckMethod> method = CheckMethodNamed(options.arguments[0]);
    if (!method)
        return UsageError(err, "set-check-method takes checksum or crc");
    return MoveSensor(options, out, err, [&](LineSettings& s) { s.method = *method; });
}

} // namespace vk::cli
