#pragma once
// A whole frame as bytes, as the tools build it, for tests that compare what goes on the line.

#include "link/frame.h"

#include <cstdint>
#include <vector>

namespace vk::test {

inline std::vector<std::uint8_t> FrameBytes(CheckMethod method, std::uint8_t address,
                                            std::uint8_t id,
                                            const std::vector<std::uint8_t>& payload = {}) {
    FrameBuffer buffer{};
    std::size_t size = BuildFrame(buffer, method, address, id, payload.data(), payload.size());
    return std::vector<std::uint8_t>(buffer.begin(),
                                     buffer.begin() + static_cast<std::ptrdiff_t>(size));
}

} // namespace vk::test
