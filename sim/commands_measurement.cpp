// Measuring: live values, scans and the scan buffer.

#include "sim/command_support.h"
#include "sim/scan_filter.h"

namespace vk::sim {

namespace {

bool GetScanBufferPortion(CommandContext& c, const Request& r, Outcome& out) {
    if (r.length != 4)
        return false;
    PayloadReader f = Fields(c, r);
    std::size_t start = f.WordLowFirst(0);
    std::size_t count = f.WordLowFirst(2);
    if (start + count > kScanBufferSamples)
        return false;
    std::size_t packets = PortionsFor(count);
    for (std::size_t i = 0; i < packets; ++i) {
        // The leading byte counts the packets down to 1, this one included.
        PayloadWriter w(c.method);
        w.Byte(static_cast<std::uint8_t>(packets - i));
        std::size_t first = start + i * kSamplesPerPortion;
        std::size_t last = std::min(start + count, first + kSamplesPerPortion);
        for (std::size_t s = first; s < last; ++s)
            w.WordLowFirst(c.state.scanBuffer[s]);
        out.packets.push_back(w.Take());
    }
    return true;
}

} // namespace

void AddMeasurementCommands(CommandTable& t) {
    t[3] = [](CommandContext& c, const Request& r, Outcome&) {
        if (r.length != 0)
            return false;
        StartScan(c.state, c.now);
        return true;
    };
    t[4] = [](CommandContext& c, const Request& r, Outcome&) {
        if (r.length != 0)
            return false;
        StopScan(c.state, c.now);
        return true;
    };
    t[10] = [](CommandContext& c, const Request& r, Outcome& out) {
        return r.length == 0 && Reply(out, ScanResultRecord(c.state, c.method));
    };
    t[11] = GetScanBufferPortion;
    t[15] = [](CommandContext& c, const Request& r, Outcome&) { // ApplyScanFilter
        if (r.length != 0)
            return false;
        FilterScanBuffer(c.state);
        return true;
    };
    t[21] = [](CommandContext& c, const Request& r, Outcome& out) {
        return r.length == 0 && Reply(out, Vkt02StateRecord(c.state, c.method, c.now));
    };
    t[38] = [](CommandContext& c, const Request& r, Outcome& out) {
        return r.length == 0 &&
               Reply(out, PayloadWriter(c.method).Word(LiveAt(c.state, c.now).peak).Take());
    };
    t[41] = [](CommandContext& c, const Request& r, Outcome& out) {
        return r.length == 0 && Reply(out, SensorStateRecord(c.state, c.method, c.now));
    };
}

} // namespace vk::sim
