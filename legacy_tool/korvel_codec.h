#pragma once
// How the setup tool frames its requests and reads the fields of a reply. The framing is
// the one every sensor speaks (link/frame.h); this adds the tool's own ways of looking
// at it: the reply as a byte string whose payload byte k sits at offset 4 + k, 16-bit
// fields read through GetWord and SwapBytes, and the CRC with a chosen seed.

#include "link/frame.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vk::legacy {

using Bytes = std::vector<std::uint8_t>;

// The packet CRC over `data` with the register starting at `seed`, high byte first.
std::array<std::uint8_t, 2> CalcCrc16(const Bytes& data, std::uint16_t seed);
// The packet checksum byte over `data` (all bytes of a valid frame sum to 0).
std::uint8_t CalcChecksum(const Bytes& data);

struct Request {
    Bytes frame;           // what goes on the line
    std::uint16_t crc = 0; // the CRC field (CRC variant only), the seed of the reply's second check
};
// The whole request frame for `code` to `address`. `payload` holds at most 254 bytes
// (checksum) or 255 (CRC); longer payloads are cut to that, never sent as a broken LENGTH.
Request BuildRequest(std::uint8_t code, std::uint8_t address, const Bytes& payload, bool crc);

// The byte at 1-based position `position` as high byte and the next as low byte; a byte
// beyond the end of `reply` counts as 0.
std::uint16_t GetWord(const Bytes& reply, std::size_t position);
// `value` as it is with the CRC method, its bytes exchanged with the checksum method.
std::uint16_t SwapBytes(std::uint16_t value, CheckMethod method);

// Payload byte `k` of a reply buffer (offset 4 + k); 0 beyond the end.
std::uint8_t PayloadByte(const Bytes& reply, std::size_t k);
// The 16-bit field at payload offsets k and k + 1 in the method's byte order.
std::uint16_t PayloadWord(const Bytes& reply, std::size_t k, CheckMethod method);
// Payload bytes the reply buffer holds.
std::size_t PayloadSize(const Bytes& reply);
// Up to `width` payload bytes from `k` on, ending at the first zero byte.
std::string PayloadText(const Bytes& reply, std::size_t k, std::size_t width);

// Appends a 16-bit request field in the method's byte order.
void AppendWord(Bytes& payload, std::uint16_t value, CheckMethod method);

} // namespace vk::legacy
