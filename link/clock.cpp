// The link's clock: the steady clock in nanoseconds, and sleeping. Kept apart so that
// a build can put a clock of its own in its place (the fuzz targets run on virtual time).
#include "link/deadline_timer.h"

#include <chrono>
#include <thread>

namespace vk {

std::uint64_t PerformanceFrequency() {
    return 1000000000ULL;
}

bool ReadPerformanceCounter(std::uint64_t* now) {
    auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    *now = static_cast<std::uint64_t>(ns.count());
    return true;
}

void PauseMs(std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace vk
