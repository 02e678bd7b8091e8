#pragma once
// The packet format every sensor understands, in its two variants:
//   STX(0x02) address LENGTH packetID payload... check
// Checksum variant: LENGTH = payload + 1, one checksum byte.
// CRC variant:      LENGTH = payload,     CRC high byte then low byte.
// These primitives are shared by both programs and the simulated sensors.

#include <array>
#include <cstddef>
#include <cstdint>

namespace vk {

enum class CheckMethod : std::int32_t { Checksum = 0, Crc16 = 1 };

inline constexpr std::uint8_t kStx = 0x02;
inline constexpr std::size_t kHeaderSize = 4;
inline constexpr std::size_t kMaxPayloadChecksum = 254;
// The longest payload of either method: the CRC variant's.
inline constexpr std::size_t kMaxPayload = 255;
// Room for the longest frame: a CRC frame with 255 payload bytes.
inline constexpr std::size_t kFrameBufferSize = 261;
using FrameBuffer = std::array<std::uint8_t, kFrameBufferSize>;

// Two's complement of the 8-bit sum of `data`: a valid frame sums to 0 modulo 256.
std::uint8_t FrameChecksum(const std::uint8_t* data, std::size_t length);

// The sensors' CRC: register from `seed`, each bit shifted in from the top of each
// byte, 0x1021 folded in when bit 15 drops out; nothing appended, reflected or
// inverted. "123456789" gives 0xBEEF from seed 0.
std::uint16_t FrameCrc16(const std::uint8_t* data, std::size_t length, std::uint16_t seed = 0);

// Longest payload of the method.
std::size_t MaxPayload(CheckMethod method);
// LENGTH byte for a payload of `payloadLength` bytes.
std::uint8_t LengthByte(CheckMethod method, std::size_t payloadLength);
// Payload bytes announced by a LENGTH byte (a checksum frame with LENGTH 0 carries none).
std::size_t PayloadLength(CheckMethod method, std::uint8_t lengthByte);
// Bytes after the 4-byte header: payload and check field.
std::size_t BytesAfterHeader(CheckMethod method, std::uint8_t lengthByte);
// Whole frame size for a LENGTH byte.
std::size_t FrameSize(CheckMethod method, std::uint8_t lengthByte);

// Writes the check field of a frame whose header and payload are in place.
void FillCheckField(std::uint8_t* frame, CheckMethod method);
// Whether the check field of a complete frame is right.
bool CheckFieldValid(const std::uint8_t* frame, CheckMethod method);

// Builds a whole frame into `out`; returns its size, or 0 when the payload is too long.
std::size_t BuildFrame(FrameBuffer& out, CheckMethod method, std::uint8_t address,
                       std::uint8_t packetId, const std::uint8_t* payload,
                       std::size_t payloadLength);

// 16-bit payload fields travel low byte first with the checksum, high byte first with the CRC.
void PutWord(std::uint8_t* at, std::uint16_t value, CheckMethod method);
std::uint16_t GetWord(const std::uint8_t* at, CheckMethod method);

} // namespace vk
