#include "sensor/line_search.h"

#include "link/net_port_name.h"

#include "link/port_access.h"
#include "sensor/command_codes.h"
#include "sensor/log_sink.h"
#include "sensor/model_table.h"
#include "sensor/sensor_device.h"
#include "sensor/version_texts.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <utility>

namespace vk {

namespace {

constexpr std::size_t kModelNameLength = 16;

// Milliseconds `bytes` take on the line at the link's speed (ten bits a byte), rounded up.
std::uint32_t WireMs(const DcsLink& link, std::size_t bytes) {
    const auto baud = static_cast<std::uint64_t>(std::max(link.Settings().baudRate, 1));
    return static_cast<std::uint32_t>((bytes * 10 * 1000 + baud - 1) / baud);
}

template <typename Range, typename Value> bool Contains(const Range& range, const Value& value) {
    return std::find(std::begin(range), std::end(range), value) != std::end(range);
}

bool InPlan(const LineSearchPlan& plan, const LinePlace& place) {
    return Contains(plan.speeds, place.speed) && Contains(plan.methods, place.method) &&
           place.address >= plan.firstAddress && place.address <= plan.lastAddress;
}

// Whether each speed and method begins with a global probe that decides when its
// addresses are asked (a quick plan asks the global address alone, for its own sake).
bool Screened(const LineSearchPlan& plan) {
    return plan.firstAddress >= 1;
}

// After the global probe at `order[at]`: the places of its speed and method that follow.
std::size_t GroupEnd(const std::vector<LinePlace>& order, std::size_t at) {
    std::size_t end = at + 1;
    while (end < order.size() && order[end].speed == order[at].speed &&
           order[end].method == order[at].method && order[end].address != 0)
        ++end;
    return end;
}

// Keeps the first failure line of a read-out, for the row that shows the sensor.
class FirstFailure : public LogSink {
public:
    void LogMessage(const char* text, LogIcon icon) override {
        if (icon == LogIcon::Error && first_.empty())
            first_ = text;
    }
    std::string Take() { return std::exchange(first_, {}); }

private:
    std::string first_;
};

// Reads the sensor at `place` out as a connect does: the model name again (the probe saw
// only raw bytes), the versions its model answers to, the serial number. Stops between
// requests when asked; what was read by then is kept.
FoundSensor ReadOut(SensorDevice& sensor, FirstFailure& failures, const LinePlace& place,
                    LineSearchObserver& observer) {
    FoundSensor found;
    found.place = place;
    sensor.ResetReplies();
    sensor.SetAddress(place.address);
    sensor.SetCheckMethod(place.method);
    failures.Take();
    if (observer.StopRequested() || !sensor.GetModelName()) {
        found.failure = failures.Take();
        return found;
    }
    found.modelString = sensor.Replies().modelName.Str();
    const std::optional<ModelType> type = FindModelType(sensor.Replies().modelName);
    found.model = type ? ModelDisplayName(*type) : found.modelString;
    if (type && !observer.StopRequested()) {
        if (const std::optional<VersionTexts> versions = ReadVersionTexts(sensor, *type)) {
            found.firmware = versions->firmware;
            found.fpga = versions->fpga;
        }
    }
    if (!observer.StopRequested() && sensor.GetSerialNum())
        found.serial = sensor.Replies().serialNumber.Prefix(8);
    found.failure = failures.Take();
    if (found.failure.empty() && !type)
        found.failure = kUnknownModelText;
    return found;
}

// Puts the port at `speed`, opening it first when it is not open yet.
bool PortAt(DcsLink& link, const LineSearchPlan& plan, std::int32_t speed) {
    if (!link.IsOpen()) {
        // One read call of the port waits its read time-out; with the usual 100 ms a
        // silent address would cost that much whatever the probe asks.
        return link.OpenPortName(plan.port, speed, 0, 0, 8, plan.answerWaitMs, 100);
    }
    return link.Settings().baudRate == speed || link.SetPortBaudRate(speed);
}

} // namespace

Probe ProbeAddress(DcsLink& link, CheckMethod method, std::uint8_t address,
                   std::uint32_t answerWaitMs) {
    FrameBuffer request{};
    const std::size_t requestSize =
        BuildFrame(request, method, address, cmd::GetModelName.code, nullptr, 0);
    // An answer that came too late for the last probe must not count for this one.
    link.DiscardStaleInput();
    std::size_t written = 0;
    if (!link.WriteRaw(request.data(), requestSize, &written, 100 + WireMs(link, requestSize)) ||
        written != requestSize)
        return {ProbeOutcome::LineFailed};

    const bool global = address == 0;
    const std::uint8_t lengthByte = LengthByte(method, kModelNameLength);
    const std::size_t replySize = FrameSize(method, lengthByte);
    // Noise that never stops (a sensor talking at another speed) must not keep us here.
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(2 * answerWaitMs + WireMs(link, replySize));
    FrameBuffer reply{};
    std::size_t have = 0;
    bool heard = false;
    std::uint32_t waitMs = answerWaitMs;
    while (have < replySize) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        std::size_t count = 0;
        if (!link.ReadRaw(reply.data() + have, replySize - have, &count,
                          std::min(waitMs, static_cast<std::uint32_t>(left.count()))))
            return {ProbeOutcome::LineFailed};
        if (count == 0)
            break;
        heard = true;
        have += count;
        // Anything before a frame start is noise.
        const auto end = reply.begin() + static_cast<std::ptrdiff_t>(have);
        const auto skipped =
            static_cast<std::size_t>(std::find(reply.begin(), end, kStx) - reply.begin());
        std::memmove(reply.data(), reply.data() + skipped, have - skipped);
        have -= skipped;
        if (have > 0) {
            // The answer has begun: the rest may take its wire time.
            waitMs = answerWaitMs + WireMs(link, replySize);
        }
    }
    const bool valid = have == replySize && reply[2] == lengthByte &&
                       reply[3] == cmd::GetModelName.code && CheckFieldValid(reply.data(), method);
    if (!global)
        return valid && reply[1] == address ? Probe{ProbeOutcome::Sensor, address} : Probe{};
    // Every sensor obeys the global address, so every one answers it: bytes that make no
    // whole reply, or bytes after a whole one, are the answers of more than one.
    if (!heard)
        return {};
    if (!valid)
        return {ProbeOutcome::Collided};
    std::uint8_t after[64];
    std::size_t count = 0;
    if (!link.ReadRaw(after, sizeof after, &count, answerWaitMs))
        return {ProbeOutcome::LineFailed};
    if (count > 0)
        return {ProbeOutcome::Collided};
    if (reply[1] == 0)
        return {ProbeOutcome::NoOwnAddress};
    return {ProbeOutcome::Sensor, reply[1]};
}

namespace {

// A raw TCP stream runs at its server's speed, which nothing here changes: one pass, at the
// speed the caller expects there (the first place to try, else the first speed).
LineSearchPlan AtThePortsOwnSpeeds(const LineSearchPlan& given) {
    if (PortSetsLineSpeed(given.port) || given.speeds.empty())
        return given;
    LineSearchPlan plan = given;
    plan.speeds = {given.tryFirst.empty() ? given.speeds.front() : given.tryFirst.front().speed};
    return plan;
}

} // namespace

std::vector<LinePlace> SearchOrder(const LineSearchPlan& given) {
    const LineSearchPlan plan = AtThePortsOwnSpeeds(given);
    std::vector<LinePlace> order;
    for (const LinePlace& place : plan.tryFirst)
        if (InPlan(plan, place) && !Contains(order, place))
            order.push_back(place);
    const std::vector<LinePlace> first = order;
    for (std::int32_t speed : plan.speeds)
        for (CheckMethod method : plan.methods) {
            if (Screened(plan))
                order.push_back({speed, method, 0});
            for (int address = plan.firstAddress; address <= plan.lastAddress; ++address) {
                const LinePlace place{speed, method, static_cast<std::uint8_t>(address)};
                if (!Contains(first, place))
                    order.push_back(place);
            }
        }
    return order;
}

std::string ProgressText(const LineSearchProgress& p) {
    std::string text = std::to_string(p.place.speed) + " baud, " +
                       (p.place.method == CheckMethod::Crc16 ? "CRC" : "checksum") + ": ";
    if (p.place.address == 0)
        text += "global address";
    else
        text +=
            "address " + std::to_string(p.place.address) + " of " + std::to_string(p.lastAddress);
    return text + ", " + std::to_string(p.found) + " found";
}

LineSearchResult SearchLine(const LineSearchPlan& plan, LineSearchObserver& observer) {
    LineSearchResult result;
    std::vector<LinePlace> order = SearchOrder(plan);
    DcsLink link;
    FirstFailure failures;
    SensorDevice sensor(&failures);
    sensor.SetLink(&link);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const LinePlace& place = order[i];
        if (observer.StopRequested()) {
            result.stopped = true;
            break;
        }
        const bool wasOpen = link.IsOpen();
        if (!PortAt(link, plan, place.speed)) {
            result.lineFailed = true;
            result.lineError = link.ErrorText();
            if (!wasOpen && link.Error().code == kErrOpenFailed) {
                if (std::string hint = PortAccessHint(plan.port); !hint.empty())
                    result.lineError += "\n" + hint;
            }
            break;
        }
        observer.Probing({place, plan.lastAddress, i + 1, order.size(), result.sensors.size()});
        const Probe probe = ProbeAddress(link, place.method, place.address, plan.answerWaitMs);
        if (probe.outcome == ProbeOutcome::LineFailed) {
            result.lineFailed = true;
            result.lineError = link.ErrorText();
            break;
        }
        if (place.address == 0 && Screened(plan)) {
            const std::size_t end = GroupEnd(order, i);
            const auto begin = order.begin() + static_cast<std::ptrdiff_t>(i + 1);
            const auto stop = order.begin() + static_cast<std::ptrdiff_t>(end);
            if (probe.outcome == ProbeOutcome::Nothing) {
                // Nobody there that answers the global address: its addresses come last,
                // after every speed and method where somebody did, or not at all.
                if (plan.skipSilent)
                    i = end - 1;
                else
                    std::rotate(begin, stop, order.end());
            } else if (probe.outcome == ProbeOutcome::Sensor) {
                // The sensor that answered is asked first (the line may hold more).
                const auto named = std::find_if(
                    begin, stop, [&](const LinePlace& p) { return p.address == probe.address; });
                if (named != stop)
                    std::rotate(begin, named, named + 1);
            }
            continue;
        }
        if (probe.outcome == ProbeOutcome::Collided)
            result.collisions.push_back(place);
        if (probe.outcome == ProbeOutcome::NoOwnAddress)
            result.withoutAddress.push_back(place);
        if (probe.outcome != ProbeOutcome::Sensor)
            continue;
        result.sensors.push_back(
            ReadOut(sensor, failures, {place.speed, place.method, probe.address}, observer));
        observer.Found(result.sensors.back());
        if (plan.stopAtFirst)
            break;
    }
    link.ClosePort();
    return result;
}

} // namespace vk
