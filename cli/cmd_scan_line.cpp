// scan-line: every sensor on a line, at every speed and check method.
#include "cli/command_groups.h"
#include "cli/command_output.h"
#include "cli/line_scan.h"
#include "cli/vkctl_session.h"
#include "link/net_port_name.h"

#include <iterator>

namespace vk::cli {

namespace {

struct ScanLineArguments {
    int firstAddress = 1;
    int lastAddress = 255;
    std::uint32_t answerWaitMs = kDefaultAnswerWaitMs;
};

// Reads "--quick", "--address-range A-B" and "--timeout MS"; a reason when they are wrong.
std::string ParseScanLineArguments(const std::vector<std::string>& args, ScanLineArguments* out) {
    bool quick = false, range = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--quick") {
            quick = true;
            out->firstAddress = out->lastAddress = 0;
        } else if (a == "--address-range" && hasValue) {
            const std::string& text = args[++i];
            const std::size_t dash = text.find('-');
            const auto first = ParseNumber(text.substr(0, dash), 1, 255);
            const auto last =
                dash == std::string::npos ? first : ParseNumber(text.substr(dash + 1), 1, 255);
            if (!first || !last || *first > *last)
                return "--address-range takes A-B with 1 <= A <= B <= 255";
            range = true;
            out->firstAddress = static_cast<int>(*first);
            out->lastAddress = static_cast<int>(*last);
        } else if (a == "--timeout" && hasValue) {
            const auto ms = ParseNumber(args[++i], 1, 5000);
            if (!ms)
                return "--timeout takes 1 to 5000 (ms)";
            out->answerWaitMs = static_cast<std::uint32_t>(*ms);
        } else {
            return "scan-line takes --quick, --address-range A-B and --timeout MS";
        }
    }
    if (quick && range)
        return "--quick and --address-range exclude each other";
    return {};
}

struct Found {
    std::int32_t speed;
    CheckMethod method;
    std::uint8_t address;
};

const char* MethodName(CheckMethod method) {
    return method == CheckMethod::Crc16 ? "crc" : "checksum";
}

} // namespace

VkctlStatus CmdScanLine(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    ScanLineArguments args;
    if (const std::string problem = ParseScanLineArguments(options.arguments, &args);
        !problem.empty())
        return UsageError(err, problem);
    std::vector<CheckMethod> methods = {CheckMethod::Checksum, CheckMethod::Crc16};
    if (options.method)
        methods = {*options.method};

    std::vector<Found> found;
    {
        DcsLink link;
        // A raw TCP stream runs at its server's speed, which nothing here changes: one pass,
        // reported at the speed --baud names.
        std::vector<std::int32_t> speeds(std::begin(kLineSpeeds), std::end(kLineSpeeds));
        if (!PortSetsLineSpeed(options.port))
            speeds = {options.baudRate};
        for (std::int32_t speed : speeds) {
            // One read call of the port waits its read time-out; with the usual 100 ms a
            // silent address would cost that much whatever the probe asks.
            const bool ready = link.IsOpen() ? link.SetPortBaudRate(speed)
                                             : link.OpenPortName(options.port, speed, 0, 0, 8,
                                                                 args.answerWaitMs, 100);
            if (!ready) {
                std::fprintf(err, "%s\n", link.ErrorText());
                return kSensorFailed;
            }
            for (CheckMethod method : methods) {
                for (int address = args.firstAddress; address <= args.lastAddress; ++address) {
                    const Probe probe = ProbeAddress(
                        link, method, static_cast<std::uint8_t>(address), args.answerWaitMs);
                    if (probe.lineFailed) {
                        std::fprintf(err, "%s\n", link.ErrorText());
                        return kSensorFailed;
                    }
                    if (probe.sensor)
                        found.push_back({speed, method, *probe.sensor});
                }
            }
        }
    }

    // Each sensor found is read out as `identify` would read it, on its own speed,
    // method and address.
    VkctlStatus status = kOk;
    TableWriter table(out, options.json,
                      {"port", "speed", "check method", "address", "model", "serial", "firmware"});
    for (const Found& f : found) {
        VkctlOptions one = options;
        one.baudRate = f.speed;
        one.address = f.address;
        one.method = f.method;
        VkctlSession session(one, err);
        const bool connected = session.Connect();
        if (!connected || session.ConnectStatus() != kOk)
            status = kSensorFailed;
        const SensorConnection& c = session.Connection();
        table.Row({Cell::Text(options.port), Cell::Number(f.speed),
                   Cell::Text(MethodName(f.method)), Cell::Number(f.address),
                   Cell::Text(connected ? c.ModelName() : ""),
                   Cell::Text(connected ? c.Sensor().Replies().serialNumber.Prefix(8) : ""),
                   Cell::Text(connected ? c.FirmwareVersion() : "")});
    }
    return status;
}

} // namespace vk::cli
