// scan-line: every sensor on a line, at every speed and check method.
#include "cli/command_groups.h"
#include "cli/command_output.h"
#include "cli/stop_request.h"
#include "cli/terminal_line.h"
#include "cli/vkctl_options.h"
#include "sensor/line_search.h"
#include "sensor/line_setting_change.h"

#include <optional>

namespace vk::cli {

namespace {

// Reads "--quick", "--first", "--skip-silent", "--address-range A-B" and
// "--timeout MS" into `plan`; a reason when they are wrong.
std::string ParseScanLineArguments(const std::vector<std::string>& args, LineSearchPlan* plan) {
    bool quick = false, range = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--quick") {
            quick = true;
            plan->firstAddress = plan->lastAddress = 0;
        } else if (a == "--first") {
            plan->stopAtFirst = true;
        } else if (a == "--skip-silent") {
            plan->skipSilent = true;
        } else if (a == "--address-range" && hasValue) {
            const std::string& text = args[++i];
            const std::size_t dash = text.find('-');
            const auto first = ParseNumber(text.substr(0, dash), 1, 255);
            const auto last =
                dash == std::string::npos ? first : ParseNumber(text.substr(dash + 1), 1, 255);
            if (!first || !last || *first > *last)
                return "--address-range takes A-B with 1 <= A <= B <= 255";
            range = true;
            plan->firstAddress = static_cast<std::uint8_t>(*first);
            plan->lastAddress = static_cast<std::uint8_t>(*last);
        } else if (a == "--timeout" && hasValue) {
            const auto ms = ParseNumber(args[++i], 1, 5000);
            if (!ms)
                return "--timeout takes 1 to 5000 (ms)";
            plan->answerWaitMs = static_cast<std::uint32_t>(*ms);
        } else {
            return "scan-line takes --quick, --first, --skip-silent, --address-range A-B and "
                   "--timeout MS";
        }
    }
    if (quick && range)
        return "--quick and --address-range exclude each other";
    return {};
}

// Prints each sensor as it is found, with the progress line between them; Ctrl+C ends
// the search after the probe in progress, with the table closed.
class ScanLinePrinter : public LineSearchObserver {
public:
    ScanLinePrinter(const VkctlOptions& options, std::FILE* out, std::FILE* err)
        : options_(options), out_(out), err_(err), progress_(err, options.quiet) {}

    void Probing(const LineSearchProgress& progress) override {
        progress_.Show(ProgressText(progress));
    }
    void Found(const FoundSensor& s) override {
        progress_.Clear();
        if (!s.failure.empty())
            std::fprintf(err_, "%s\n", s.failure.c_str());
        Table().Row({Cell::Text(options_.port), Cell::Number(s.place.speed),
                     Cell::Text(CheckMethodName(s.place.method)), Cell::Number(s.place.address),
                     Cell::Text(s.model), Cell::Text(s.serial), Cell::Text(s.firmware)});
    }
    bool StopRequested() override { return stops_.WaitMs(0); }

    // The table, begun at the first row: a line that fails before any sensor prints none.
    TableWriter& Table() {
        if (!table_)
            table_.emplace(out_, options_.json,
                           std::vector<std::string>{"port", "speed", "check method", "address",
                                                    "model", "serial", "firmware"});
        return *table_;
    }
    TerminalLine& Progress() { return progress_; }

private:
    const VkctlOptions& options_;
    std::FILE* out_;
    std::FILE* err_;
    TerminalLine progress_;
    StopRequest stops_;
    std::optional<TableWriter> table_;
};

std::string PlaceText(const LinePlace& place) {
    return std::to_string(place.speed) + " baud, " + CheckMethodName(place.method);
}

} // namespace

VkctlStatus CmdScanLine(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    LineSearchPlan plan;
    if (const std::string problem = ParseScanLineArguments(options.arguments, &plan);
        !problem.empty())
        return UsageError(err, problem);
    plan.port = options.port;
    if (options.method)
        plan.methods = {*options.method};
    // The speed and address given are where the sensor is looked for first.
    for (CheckMethod method : plan.methods)
        plan.tryFirst.push_back(
            {options.baudRate, method, plan.lastAddress == 0 ? std::uint8_t{0} : options.address});

    ScanLinePrinter printer(options, out, err);
    const LineSearchResult result = SearchLine(plan, printer);
    printer.Progress().Clear();
    if (result.lineFailed) {
        std::fprintf(err, "%s\n", result.lineError.c_str());
        return kSensorFailed;
    }
    printer.Table().Finish();

    VkctlStatus status = kOk;
    for (const FoundSensor& s : result.sensors)
        if (!s.failure.empty())
            status = kSensorFailed;
    // The quick search cannot list what it heard here; the whole search can.
    const auto tell = [&](const std::vector<LinePlace>& places, const char* what, const char* why,
                          const char* whom) {
        for (const LinePlace& place : places) {
            std::fprintf(err, "%s at %s (%s); scan-line without --quick finds %s\n", what,
                         PlaceText(place).c_str(), why, whom);
            status = kSensorFailed;
        }
    };
    tell(result.collisions, "answers to the global address collided", "more than one sensor",
         "them");
    tell(result.withoutAddress, "an answer to the global address named address 0",
         "a sensor that does not say its own", "it");
    if (result.stopped) {
        std::fprintf(err, "scan-line: stopped\n");
        status = kSensorFailed;
    }
    return status;
}

} // namespace vk::cli
