#include "link/xmodem.h"

#include "link/frame.h"

namespace vk::xmodem {

std::uint16_t Crc16(const std::uint8_t* data, std::size_t length) {
    // The packet CRC shifts the message in without augmenting it; two zero bytes more
    // push the last message bit through the register, which is what XModem's CRC is.
    static constexpr std::uint8_t kTail[2] = {0, 0};
    return FrameCrc16(kTail, sizeof kTail, FrameCrc16(data, length));
}

} // namespace vk::xmodem
