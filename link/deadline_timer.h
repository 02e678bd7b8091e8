#pragma once
// A deadline on the high-resolution counter. Every time-out of the link is one of these.

#include <cstdint>

namespace vk {

// The link's clock (clock.cpp): the high-resolution counter's ticks per second (0 when
// there is none) and its current value, and a pause of at least `ms` milliseconds.
std::uint64_t PerformanceFrequency();
bool ReadPerformanceCounter(std::uint64_t* now);
void PauseMs(std::uint32_t ms);

class DeadlineTimer {
public:
    // Arms the timer for `microseconds` from now.
    void Start(std::uint64_t microseconds);
    // Counter ticks left; 0 when time is up or the timer is not armed.
    std::uint64_t RemainingTicks() const;
    // Milliseconds left, rounded so that any time left counts as at least 1; 0 when up.
    std::uint32_t RemainingMs() const;

    bool valid = false;
    bool armed = false;
    std::uint64_t frequency = 1000000;
    std::uint64_t start = 0;
    std::uint64_t deadline = 0;
};

} // namespace vk
