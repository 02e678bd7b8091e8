#include "sensor/scan_buffer_read.h"

#include "sensor/sensor_device.h"

#include <algorithm>
#include <cstdio>

namespace vk {

namespace {

std::string Formatted(const char* format, auto... values) {
    char line[320];
    std::snprintf(line, sizeof line, format, values...);
    return line;
}

} // namespace

ScanRead ReadScanRanges(SensorDevice& sensor, std::size_t start, std::size_t count,
                        const ScanReadProgress& progress) {
    ScanRead read;
    read.ranges.reserve(count);
    for (std::size_t done = 0; done < count;) {
        const auto portion = static_cast<std::uint16_t>(std::min(count - done, kSamplesPerPortion));
        const auto first = static_cast<std::uint16_t>(start + done);
        const std::uint32_t linesBefore = sensor.FailureLines();
        if (!sensor.GetScanBufferPortion(first, portion)) {
            read.outcome = ScanReadOutcome::Failed;
            // A request that went out but whose reply never came fails without a line.
            if (sensor.FailureLines() == linesBefore)
                read.failureLine = Formatted("Command GetScanBufferPortion failed. %s",
                                             sensor.Link() ? sensor.Link()->ErrorText() : "");
            return read;
        }
        const std::size_t at = read.ranges.size();
        read.ranges.resize(at + portion);
        const std::size_t got = sensor.Replies().scanBuffer.CopySamples(&read.ranges[at], portion);
        if (got < portion) {
            // Whatever else the area holds is from an earlier read: never pass it off as new.
            read.ranges.resize(at + got);
            read.outcome = ScanReadOutcome::Failed;
            read.failureLine =
                Formatted("The sensor sent %zu of %u samples at %u.", got, portion, first);
            return read;
        }
        done += portion;
        if (progress && !progress(done)) {
            read.outcome = ScanReadOutcome::Stopped;
            return read;
        }
    }
    return read;
}

} // namespace vk
