#pragma once
// What the benchmarks share: one simulated VKT02 (address 1, checksum variant) on COM1 of
// a private port folder, and a link open on it at 57600 baud.

#include "link/dcs_link.h"
#include "sim/sim_line.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

namespace vk::bench {

inline constexpr int kBenchBaud = 57600;

// Milliseconds since `start`.
double MsSince(std::chrono::steady_clock::time_point start);

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
