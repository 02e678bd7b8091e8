#include "link/frame.h"

#include <cstring>

namespace vk {

std::uint8_t FrameChecksum(const std::uint8_t* data, std::size_t length) {
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < length; ++i)
        sum = static_cast<std::uint8_t>(sum + data[i]);
    return static_cast<std::uint8_t>(-sum);
}

std::uint16_t FrameCrc16(const std::uint8_t* data, std::size_t length, std::uint16_t seed) {
    std::uint16_t reg = seed;
    for (std::size_t i = 0; i < length; ++i) {
        for (int bit = 7; bit >= 0; --bit) {
            bool top = reg & 0x8000;
            reg = static_cast<std::uint16_t>((reg << 1) | ((data[i] >> bit) & 1));
            if (top)
                reg ^= 0x1021;
        }
    }
    return reg;
}

std::size_t MaxPayload(CheckMethod method) {
    return method == CheckMethod::Crc16 ? kMaxPayload : kMaxPayloadChecksum;
}

std::uint8_t LengthByte(CheckMethod method, std::size_t payloadLength) {
    return static_cast<std::uint8_t>(method == CheckMethod::Crc16 ? payloadLength
                                                                  : payloadLength + 1);
}

std::size_t PayloadLength(CheckMethod method, std::uint8_t lengthByte) {
    if (method == CheckMethod::Crc16)
        return lengthByte;
    return lengthByte == 0 ? 0 : lengthByte - 1u;
}

std::size_t BytesAfterHeader(CheckMethod method, std::uint8_t lengthByte) {
    return method == CheckMethod::Crc16 ? lengthByte + 2u : lengthByte;
}

std::size_t FrameSize(CheckMethod method, std::uint8_t lengthByte) {
    return kHeaderSize + BytesAfterHeader(method, lengthByte);
}

void FillCheckField(std::uint8_t* frame, CheckMethod method) {
    std::size_t length = frame[2];
    if (method == CheckMethod::Crc16) {
        std::uint16_t crc = FrameCrc16(frame, length + 4);
        frame[length + 4] = static_cast<std::uint8_t>(crc >> 8);
        frame[length + 5] = static_cast<std::uint8_t>(crc);
    } else {
        frame[length + 3] = FrameChecksum(frame, length + 3);
    }
}

bool CheckFieldValid(const std::uint8_t* frame, CheckMethod method) {
    std::size_t length = frame[2];
    if (method == CheckMethod::Crc16) {
        std::uint16_t crc = FrameCrc16(frame, length + 4);
        return frame[length + 5] == static_cast<std::uint8_t>(crc) &&
               frame[length + 4] == static_cast<std::uint8_t>(crc >> 8);
    }
    return frame[length + 3] == FrameChecksum(frame, length + 3);
}

std::size_t BuildFrame(FrameBuffer& out, CheckMethod method, std::uint8_t address,
                       std::uint8_t packetId, const std::uint8_t* payload,
                       std::size_t payloadLength) {
    if (payloadLength > MaxPayload(method) || (payloadLength && !payload))
        return 0;
    out[0] = kStx;
    out[1] = address;
    out[2] = LengthByte(method, payloadLength);
    out[3] = packetId;
    if (payloadLength)
        std::memcpy(out.data() + kHeaderSize, payload, payloadLength);
    FillCheckField(out.data(), method);
    return FrameSize(method, out[2]);
}

void PutWord(std::uint8_t* at, std::uint16_t value, CheckMethod method) {
    auto high = static_cast<std::uint8_t>(value >> 8);
    auto low = static_cast<std::uint8_t>(value);
    at[0] = method == CheckMethod::Crc16 ? high : low;
    at[1] = method == CheckMethod::Crc16 ? low : high;
}

std::uint16_t GetWord(const std::uint8_t* at, CheckMethod method) {
    return method == CheckMethod::Crc16 ? static_cast<std::uint16_t>(at[0] << 8 | at[1])
                                        : static_cast<std::uint16_t>(at[1] << 8 | at[0]);
}

} // namespace vk
