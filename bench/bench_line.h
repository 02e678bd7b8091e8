#pragma once
// What the benchmarks share: one simulated VKT02 (address 1, checksum variant) on COM1 of
// a private port folder, and a link open on it at 57600 baud.

#include "link/dcs_link.h"
#include "sensor/log_sink.h"
#include "sim/sim_line.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vk {
class SensorDevice;
}

namespace vk::bench {

inline constexpr int kBenchBaud = 57600;

// Milliseconds since `start`.
double MsSince(std::chrono::steady_clock::time_point start);

// The middle value; the median keeps a scheduling hiccup of the machine out of a figure.
double Median(std::vector<double> values);

// Only errors reach the screen: the figures are the output.
struct QuietLog : LogSink {
    void LogMessage(const char* text, LogIcon icon) override;
};

// The times of `count` GetVKT02State exchanges, in milliseconds; none when one failed.
// `each`, when given, hears when each exchange began and ended.
using ExchangeSpan = std::function<void(std::chrono::steady_clock::time_point begun,
                                        std::chrono::steady_clock::time_point ended)>;
std::vector<double> ExchangeTimesMs(SensorDevice& sensor, int count,
                                    const ExchangeSpan& each = nullptr);

// The fastest of `runs` reads of all 8192 ranges of the scan buffer; none when one failed.
std::optional<double> BestScanReadMs(SensorDevice& sensor, int runs);

// Prints one figure beside its wire time and the ratio of the two.
void Report(const char* what, double measuredMs, double wireMs);

// Bytes of a checksum-variant frame with `payload` bytes.
std::size_t FrameBytes(std::size_t payload);

// Bytes on the line, both ways, for reading `count` ranges in portions of 126.
std::size_t ScanReadWireBytes(std::size_t count);

class BenchLine {
public:
    // With `pace` every byte takes its wire time.
    explicit BenchLine(bool pace);
    ~BenchLine(); // closes the link, stops the line and removes the folder
    BenchLine(const BenchLine&) = delete;
    BenchLine& operator=(const BenchLine&) = delete;

    // Starts the line and opens the link; false, with the reason on standard error.
    bool Start();
    // Opens the link anew, as after the device came back; false as Start.
    bool OpenLink();

    sim::SimLine& Line() { return *line_; }
    DcsLink& Link() { return link_; }

private:
    std::string dir_;
    bool pace_;
    std::unique_ptr<sim::SimLine> line_;
    DcsLink link_;
};

} // namespace vk::bench
