#pragma once
// XModem-CRC, the block protocol that carries firmware, FPGA images and calibration
// tables into a sensor's flash, outside the packet format:
//   SOH(0x01) block (mod 256) 255-block data[128] CRC-high CRC-low
// The receiver prompts with "C", answers each block with ACK or NAK, and the sender ends
// with EOT; either side may give up with two CANs.

#include <cstddef>
#include <cstdint>

namespace vk::xmodem {

inline constexpr std::uint8_t kSoh = 0x01;
inline constexpr std::uint8_t kEot = 0x04;
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;
inline constexpr std::uint8_t kCan = 0x18;
inline constexpr std::uint8_t kCrcPrompt = 0x43; // "C": send blocks with a CRC

inline constexpr std::size_t kBlockData = 128;
// SOH, block number, its complement, the data and two CRC bytes.
inline constexpr std::size_t kBlockSize = kBlockData + 5;

// CRC-16/XMODEM (polynomial 0x1021, register from 0, nothing reflected or inverted):
// "123456789" gives 0x31C3. It equals the packet CRC of the data followed by two zero bytes.
std::uint16_t Crc16(const std::uint8_t* data, std::size_t length);

} // namespace vk::xmodem
