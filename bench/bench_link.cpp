// Measures the command layer against paced simulated sensors at 57600 baud: one
// GetVKT02State exchange, reading all 8192 ranges of the scan buffer, and uploading a
// 64000-byte DSP program. Each figure is printed beside its wire time and the ratio of
// the two.
#include "bench/bench_line.h"
#include "bench/wire_time.h"
#include "link/dcs_link.h"
#include "link/frame.h"
#include "link/xmodem.h"
#include "link/xmodem_sender.h"
#include "sensor/scan_buffer_read.h"
#include "sensor/sensor_device.h"
#include "sensor/upload_sequence.h"
#include "sim/sim_line.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

using namespace vk;
using Clock = std::chrono::steady_clock;
using namespace vk::bench;

namespace {

constexpr double kBaud = vk::bench::kBenchBaud;

// When the request had been written (handed to the system) and when the last byte of
// the reply had been read, as the link reports its traffic.
struct ExchangeMarks : LinkObserver {
    void OnLinkTraffic(const LinkTraffic& traffic) override {
        if (traffic.kind != TraceKind::Frame)
            return;
        (traffic.direction == TraceDirection::Sent ? written : lastRead) = Clock::now();
    }
    Clock::time_point written{};
    Clock::time_point lastRead{};
};

double Spread(const std::vector<double>& values) {
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return *high - *low;
}

// When the blocks began to go out and when the transfer ended.
struct TransferClock : UploadProgress {
    void SetPercent(int) override {}
    void BytesSent(std::size_t sent) override {
        if (sent == 0)
            firstBlock = Clock::now();
    }
    void TransferEnded(int error) override {
        ended = Clock::now();
        this->error = error;
    }
    Clock::time_point firstBlock{};
    Clock::time_point ended{};
    int error = -1;
};

} // namespace

int main(int argc, char** argv) {
    const int exchanges = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const int bufferReads = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

    vk::bench::BenchLine line(true);
    if (!line.Start())
        return 1;
    QuietLog log;
    SensorDevice sensor(&log);
    sensor.SetLink(&line.Link());
    sensor.SetAddress(1);
    sensor.SetCheckMethod(CheckMethod::Checksum);

    std::printf("paced simulated VKT02, %d baud, checksum variant\n", static_cast<int>(kBaud));

    // One exchange: 5-byte request, 19-byte reply. The median keeps a scheduling hiccup
    // of the machine out of the figure; the mean is printed beside it.
    // Each exchange is also taken apart: the host's own part before the request is out
    // (framing, the purge of stale input, the write) and after the reply's last byte came
    // (checks, copy, byte order), and what is left beside the wire time: the simulator
    // and the system waking up to each paced step.
    ExchangeMarks marks;
    std::vector<double> before, after;
    line.Link().SetObserver(&marks);
    const std::vector<double> times =
        ExchangeTimesMs(sensor, exchanges, [&](Clock::time_point begun, Clock::time_point ended) {
            using Ms = std::chrono::duration<double, std::milli>;
            before.push_back(Ms(marks.written - begun).count());
            after.push_back(Ms(ended - marks.lastRead).count());
        });
    line.Link().SetObserver(nullptr);
    if (times.empty())
        return 1;
    const double wire = WireMs(FrameBytes(0) + FrameBytes(14), kBaud);
    const double median = Median(times);
    double total = 0;
    for (double t : times)
        total += t;
    Report("GetVKT02State (median exchange)", median, wire);
    Report("GetVKT02State (mean exchange)", total / exchanges, wire);
    const double host = Median(before) + Median(after);
    std::printf("  host, call to request written       %8.4f ms (spread %.4f)\n", Median(before),
                Spread(before));
    std::printf("  host, last reply byte read to return %8.4f ms (spread %.4f)\n", Median(after),
                Spread(after));
    std::printf("  host part of the median exchange     %8.4f ms = %.4f of the wire time\n", host,
                host / wire);
    std::printf("  simulator and system beyond the wire %8.4f ms = %.4f of the wire time\n",
                median - wire - host, (median - wire - host) / wire);

    // 8192 ranges in requests of at most 126 samples.
    const std::optional<double> best = BestScanReadMs(sensor, bufferReads);
    if (!best)
        return 1;
    Report("read 8192 ranges (best run)", *best,
           WireMs(ScanReadWireBytes(kScanBufferSamples), kBaud));

    // A DSP program of 64000 bytes: 500 blocks of 133 bytes, each answered by one ACK,
    // then EOT and its ACK. The transfer runs from the first block to the last ACK; the
    // whole sequence adds the drain, the flash-protect pauses and the upload command.
    std::vector<std::uint8_t> program(64000);
    for (std::size_t i = 0; i < program.size(); ++i)
        program[i] = static_cast<std::uint8_t>(i * 29 + i / 509);
    XModemSender sender;
    TransferClock clock;
    auto start = Clock::now();
    UploadResult result = RunUpload(sensor, sender, UploadKind::Dsp, program, clock);
    double whole = MsSince(start);
    double transfer =
        std::chrono::duration<double, std::milli>(clock.ended - clock.firstBlock).count();
    if (!result.streamed || result.error != 0 ||
        line.Line().Snapshot(1).flash.Image(sim::UploadKind::Code) != program) {
        std::fprintf(stderr, "upload failed (error %d)\n", result.error);
        return 1;
    }
    const std::size_t blocks = program.size() / xmodem::kBlockData;
    double transferWire = WireMs(blocks * (xmodem::kBlockSize + 1) + 2, kBaud);
    Report("upload 64000 bytes (transfer)", transfer, transferWire);
    Report("upload 64000 bytes (whole sequence)", whole, transferWire);
    return 0;
}
