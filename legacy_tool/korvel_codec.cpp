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
    FrameBuffer buffer{};
    std::size_t size = BuildFrame(buffer, method, address, code, payload.data(), length);
    Request r;
    r.frame.assign(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(size));
    if (crc)
        r.crc = static_cast<std::uint16_t>(r.frame[size - 2] << 8 | r.frame[size - 1]);
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
    payload.resize(payload.size() + 2);
    PutWord(payload.data() + payload.size() - 2, value, method);
}

} // namespace vk::legacy
