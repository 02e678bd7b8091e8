#pragma once
// The clock every part of the simulated line keeps time by.

#include <chrono>

namespace vk::sim {

using Clock = std::chrono::steady_clock;

} // namespace vk::sim
