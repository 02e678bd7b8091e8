// Soak: many GetVKT02State exchanges against a simulated VKT02 with a fault of one kind
// or another in every hundredth (silence, a bad check field, stray bytes, a wrong packet
// ID, a short reply, a whole stray frame, the device unplugged and plugged in again).
// Counts the failures by kind and whether the exchange after each fault succeeded, and
// compares memory, descriptors and threads at the end with what they were after warming
// up.
//   bench_soak [EXCHANGES] [--pace]     default 100000, unpaced
// Exits 1 when an exchange after a fault failed, resident memory grew by 1 MiB or more,
// or descriptors or threads changed in number.
#include "bench/bench_line.h"
#include "link/frame.h"
#include "sim/fault.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace vk;
using Clock = std::chrono::steady_clock;

namespace {

// One kind of fault: what the sensor does wrong, or (none) the device unplugged.
struct FaultKind {
    const char* name;
    std::optional<sim::Fault> fault;
};

const std::vector<FaultKind>& Kinds() {
    using sim::Fault;
    using K = sim::FaultKind;
    static const std::vector<FaultKind> kinds = {
        {"silence", Fault{.kind = K::Silence}},
        {"bad check field", Fault{.kind = K::BadCheck}},
        {"stray bytes", Fault{.kind = K::StrayBytes}},
        {"wrong packet ID", Fault{.kind = K::WrongPacketId}},
        {"short reply", Fault{.kind = K::ShortReply, .cutAfter = 6}},
        // A whole frame nobody asked for (GetErrorState's ID), sent at once.
        {"stray frame", Fault{.kind = K::Garbage, .bytes = {0x02, 0x01, 0x02, 0x14, 0x09, 0xDE}}},
        {"unplug, replug", std::nullopt},
    };
    return kinds;
}

constexpr std::uint8_t kGetState = 21;
constexpr std::size_t kStateLength = 14;

// This process, as Linux shows it.
struct ProcessFigures {
    long rssKiB = 0;
    long descriptors = 0;
    long threads = 0;
};

long StatusField(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::size_t n = std::strlen(key);
    while (std::getline(in, line)) {
        if (line.compare(0, n, key) == 0)
            return std::atol(line.c_str() + n);
    }
    return -1;
}

ProcessFigures Measure() {
    ProcessFigures f;
    f.rssKiB = StatusField("VmRSS:");
    f.threads = StatusField("Threads:");
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator("/proc/self/fd", ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        ++f.descriptors;
    return f;
}

struct Tally {
    int injected = 0;
    int failed = 0;    // the exchange with the fault
    int recovered = 0; // the exchange after it succeeded
    std::map<int, int> codes;
};

} // namespace

int main(int argc, char** argv) {
    long exchanges = 100000;
    bool pace = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pace") == 0)
            pace = true;
        else
            exchanges = std::atol(argv[i]);
    }
    if (exchanges < 200) {
        std::fprintf(stderr, "usage: bench_soak [EXCHANGES >= 200] [--pace]\n");
        return 2;
    }

    bench::BenchLine bench(pace);
    if (!bench.Start())
        return 1;
    sim::SimLine& line = bench.Line();
    DcsLink& link = bench.Link();
    const std::vector<FaultKind>& kinds = Kinds();
    std::vector<Tally> tallies(kinds.size());
    long unfaultedFailures = 0;
    std::map<int, int> unfaultedCodes;
    std::optional<std::size_t> lastFault;
    ProcessFigures warm{};
    const long warmUp = exchanges / 100;
    auto start = Clock::now();

    for (long i = 0; i < exchanges; ++i) {
        if (i == warmUp)
            warm = Measure();
        std::optional<std::size_t> fault; // index into kinds
        if (i % 100 == 50) {
            fault = static_cast<std::size_t>(i / 100) % kinds.size();
            if (kinds[*fault].fault)
                line.InjectFault(1, *kinds[*fault].fault);
            else
                line.Unplug();
            ++tallies[*fault].injected;
        }

        std::uint8_t reply[kStateLength];
        bool ok =
            link.dcs_Transact(1, CheckMethod::Checksum, kGetState, nullptr, 0, reply, kStateLength);
        if (fault) {
            Tally& t = tallies[*fault];
            if (!ok) {
                ++t.failed;
                ++t.codes[link.Error().code];
            }
            if (!kinds[*fault].fault) {
                // Plugged in again; the technician connects anew.
                std::string error;
                if (!line.Replug(&error) || !bench.OpenLink()) {
                    std::fprintf(stderr, "bench: replug failed: %s\n", error.c_str());
                    return 1;
                }
            }
        } else if (lastFault) {
            if (ok)
                ++tallies[*lastFault].recovered;
        }
        if (!fault && !ok) {
            ++unfaultedFailures;
            ++unfaultedCodes[link.Error().code];
        }
        lastFault = fault;
        // The simulator keeps what it received for tests to look at; drop it here.
        if (i % 100 == 99)
            line.TakeReceived();
    }
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    line.TakeReceived();
    ProcessFigures end = Measure();

    std::printf("soak: %ld GetVKT02State exchanges with a simulated VKT02 (%s), %.1f s\n",
                exchanges, pace ? "paced, 57600 baud" : "unpaced", seconds);
    std::printf("%-16s %9s %9s %10s   failure codes\n", "fault", "injected", "failed", "recovered");
    bool allRecovered = true;
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        const Tally& t = tallies[k];
        std::string codes;
        for (auto [code, count] : t.codes)
            codes += std::to_string(code) + " x" + std::to_string(count) + "  ";
        std::printf("%-16s %9d %9d %10d   %s\n", kinds[k].name, t.injected, t.failed, t.recovered,
                    codes.c_str());
        allRecovered = allRecovered && t.recovered == t.injected;
    }
    std::string codes;
    for (auto [code, count] : unfaultedCodes)
        codes += std::to_string(code) + " x" + std::to_string(count) + "  ";
    std::printf("%-16s %9s %9ld %10s   %s\n", "no fault", "-", unfaultedFailures, "-",
                codes.c_str());
    long rssGrowth = end.rssKiB - warm.rssKiB;
    std::printf("after %ld warm-up exchanges -> end: RSS %ld -> %ld KiB (%+ld KiB), "
                "descriptors %ld -> %ld, threads %ld -> %ld\n",
                warmUp, warm.rssKiB, end.rssKiB, rssGrowth, warm.descriptors, end.descriptors,
                warm.threads, end.threads);
    bool aims = allRecovered && unfaultedFailures == 0 && rssGrowth < 1024 &&
                end.descriptors == warm.descriptors && end.threads == warm.threads;
    std::printf("aims (every exchange after a fault succeeds, RSS growth < 1 MiB, descriptors "
                "and threads constant): %s\n",
                aims ? "met" : "MISSED");
    return aims ? 0 : 1;
}
