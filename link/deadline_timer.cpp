#include "link/deadline_timer.h"

namespace vk {

void DeadlineTimer::Start(std::uint64_t microseconds) {
    valid = true;
    armed = true;
    frequency = PerformanceFrequency();
    if (frequency == 0) {
        frequency = 1000000;
        valid = false;
        return;
    }
    if (!ReadPerformanceCounter(&start))
        valid = false;
    // Unsigned arithmetic on purpose: the deadline may wrap past 2^64.
    deadline =
        start + frequency / 1000000 * microseconds + frequency % 1000000 * microseconds / 1000000;
}

std::uint64_t DeadlineTimer::RemainingTicks() const {
    std::uint64_t now = 0;
    if (!valid || !armed || !ReadPerformanceCounter(&now))
        return 0;
    bool counterWrapped = now < start;
    bool deadlineWrapped = deadline < start;
    if (counterWrapped && !deadlineWrapped)
        return 0;
    if (deadlineWrapped && !counterWrapped)
        return deadline - now - 1;
    return deadline > now ? deadline - now : 0;
}

std::uint32_t DeadlineTimer::RemainingMs() const {
    std::uint64_t ticks = RemainingTicks();
    if (ticks == 0)
        return 0;
    std::uint64_t ms = ticks / frequency * 1000 + ticks % frequency * 1000 / frequency + 1;
    return ms > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(ms);
}

} // namespace vk
