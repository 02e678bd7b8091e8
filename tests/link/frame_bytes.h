#pragma once
// A whole frame as bytes, as the tools build it, for tests that compare what goes on the line.

#include "link/frame.h"
#include "link/xmodem.h"

#include <algorithm>
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

// One XModem-CRC block: SOH, `number` and its complement, the 128 bytes at `data`, the
// CRC high byte first.
inline std::vector<std::uint8_t> XModemBlockBytes(int number, const std::uint8_t* data) {
    std::vector<std::uint8_t> block(xmodem::kBlockSize);
    block[0] = xmodem::kSoh;
    block[1] = static_cast<std::uint8_t>(number);
    block[2] = static_cast<std::uint8_t>(255 - block[1]);
    std::copy(data, data + xmodem::kBlockData, block.begin() + 3);
    const std::uint16_t crc = xmodem::Crc16(data, xmodem::kBlockData);
    block[xmodem::kBlockSize - 2] = static_cast<std::uint8_t>(crc >> 8);
    block[xmodem::kBlockSize - 1] = static_cast<std::uint8_t>(crc);
    return block;
}

} // namespace vk::test
