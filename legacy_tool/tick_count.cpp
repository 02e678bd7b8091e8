#include "legacy_tool/tick_count.h"

#include <chrono>

namespace vk::legacy {

std::uint32_t TickCount() {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now().time_since_epoch())
                  .count();
    return static_cast<std::uint32_t>(ms);
}

} // namespace vk::legacy
