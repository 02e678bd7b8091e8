#include "bench/bench_line.h"

#include "link/frame.h"
#include "sensor/scan_buffer_area.h"
#include "sensor/scan_buffer_read.h"
#include "sensor/sensor_device.h"

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace vk::bench {

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void QuietLog::LogMessage(const char* text, LogIcon icon) {
    if (icon == LogIcon::Error)
        std::fprintf(stderr, "%s\n", text);
}

std::vector<double> ExchangeTimesMs(SensorDevice& sensor, int count, const ExchangeSpan& each) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const auto start = Clock::now();
        if (!sensor.GetVKT02State())
            return {};
        const auto end = Clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        if (each)
            each(start, end);
    }
    return times;
}

std::optional<double> BestScanReadMs(SensorDevice& sensor, int runs) {
    std::optional<double> best;
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        if (ReadScanRanges(sensor, 0, kScanBufferSamples).outcome != ScanReadOutcome::Complete)
            return std::nullopt;
        best = std::min(best.value_or(1e30), MsSince(start));
    }
    return best;
}

void Report(const char* what, double measuredMs, double wireMs) {
    std::printf("%-34s %10.3f ms   wire %10.3f ms   ratio %.3f\n", what, measuredMs, wireMs,
                measuredMs / wireMs);
}

std::size_t FrameBytes(std::size_t payload) {
    return FrameSize(CheckMethod::Checksum, LengthByte(CheckMethod::Checksum, payload));
}

std::size_t ScanReadWireBytes(std::size_t count) {
    std::size_t bytes = 0;
    for (std::size_t at = 0; at < count; at += kSamplesPerPortion) {
        std::size_t n = std::min(kSamplesPerPortion, count - at);
        bytes += FrameBytes(4) + FrameBytes(1 + 2 * n);
    }
    return bytes;
}

BenchLine::BenchLine(bool pace) : pace_(pace) {}

BenchLine::~BenchLine() {
    link_.ClosePort();
    if (line_)
        line_->Stop();
    if (!dir_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
}

bool BenchLine::Start() {
    char dirTemplate[] = "/tmp/vk-bench-XXXXXX";
    if (!mkdtemp(dirTemplate)) {
        std::perror("bench: mkdtemp");
        return false;
    }
    dir_ = dirTemplate;
    setenv("KORVEL_PORT_DIR", dirTemplate, 1);
    line_ = std::make_unique<sim::SimLine>(sim::LineOptions{1, dir_, pace_});
    line_->AddSensor(sim::ConfigForModel("VKT02"));
    std::string error;
    if (!line_->Start(&error)) {
        std::fprintf(stderr, "bench: %s\n", error.c_str());
        return false;
    }
    return OpenLink();
}

bool BenchLine::OpenLink() {
    if (link_.OpenPortName("COM1", kBenchBaud, 0, 0, 8, 100, 100))
        return true;
    std::fprintf(stderr, "bench: %s\n", link_.ErrorText());
    return false;
}

} // namespace vk::bench
