#include "legacy_tool/korvel_codec.h"

#include <algorithm>

namespace vk::legacy {

namespace {
constexpr std::size_t kPayloadOffset = kHeaderSize;
}

std::array<std::uint8_t, 2> CalcCrc16(const Bytes& data, std::uint16_t seed) {
    std::uint16_t crc = FrameCrc16(data.data(), data.size(), seed);
    return {static_cast<std::uint8_t>(crc >> 8), static_cast<std::uint8_t>(crc)};
}

std::uint8_t CalcChecksum(const Bytes& data) {
    return FrameChecksum(data.data(), data.size());
}

Request BuildRequest(std::uint8_t code, std::uint8_t address, const Bytes& payload, bool crc) {
    CheckMethod method = crc ? CheckMethod::Crc16 : CheckMethod::Checksum;
    std::size_t length = std::min(payload.size(), MaxPayload(method));
    Request r;
    r.frame = {kStx, address, LengthByte(method, length), code};
    r.frame.insert(r.frame.end(), payload.begin(),
                   payload.begin() + static_cast<std::ptrdiff_t>(length));
    if (crc) {
        auto check = CalcCrc16(r.frame, 0);
        r.crc = static_cast<std::uint16_t>(check[0] << 8 | check[1]);
        r.frame.insert(r.frame.end(), check.begin(), check.end());
    } else {
        r.frame.push_back(CalcChecksum(r.frame));
    }
    return r;
}

std::uint16_t GetWord(const Bytes& reply, std::size_t position) {
    auto at = [&](std::size_t i) -> std::uint16_t { return i < reply.size() ? reply[i] : 0; };
    if (position == 0)
        return at(0);
    return static_cast<std::uint16_t>(at(position - 1) << 8 | at(position));
}

std::uint16_t SwapBytes(std::uint16_t value, CheckMethod method) {
    if (method == CheckMethod::Crc16)
        return value;
    return static_cast<std::uint16_t>((value & 0xFF) << 8 | value >> 8);
}

std::uint8_t PayloadByte(const Bytes& reply, std::size_t k) {
    std::size_t i = kPayloadOffset + k;
    return i < reply.size() ? reply[i] : 0;
}

std::uint16_t PayloadWord(const Bytes& reply, std::size_t k, CheckMethod method) {
    return SwapBytes(GetWord(reply, kPayloadOffset + k + 1), method);
}

std::size_t PayloadSize(const Bytes& reply) {
    return reply.size() > kPayloadOffset ? reply.size() - kPayloadOffset : 0;
}

std::string PayloadText(const Bytes& reply, std::size_t k, std::size_t width) {
    std::string text;
    for (std::size_t i = 0; i < width && kPayloadOffset + k + i < reply.size(); ++i) {
        std::uint8_t c = reply[kPayloadOffset + k + i];
        if (c == 0)
            break;
        text.push_back(static_cast<char>(c));
    }
    return text;
}

void AppendWord(Bytes& payload, std::uint16_t value, CheckMethod method) {
    std::uint16_t ordered = SwapBytes(value, method);
    payload.push_back(static_cast<std::uint8_t>(ordered >> 8));
    payload.push_back(static_cast<std::uint8_t>(ordered));
}

} // namespace vk::legacy
