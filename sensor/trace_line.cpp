#include "sensor/trace_line.h"

#include "sensor/command_codes.h"
#include "sensor/local_time.h"

#include <cstdio>

namespace vk {

namespace {

std::size_t CheckFieldSize(CheckMethod method) {
    return method == CheckMethod::Crc16 ? 2 : 1;
}

const char* KindName(TraceKind kind) {
    switch (kind) {
    case TraceKind::Stray:
        return "stray";
    case TraceKind::Partial:
        return "partial";
    case TraceKind::Raw:
        return "raw";
    case TraceKind::Frame:
        break;
    }
    return "frame";
}

// Whether the bytes hold a whole frame as its LENGTH byte announces it.
bool IsWholeFrame(const LinkTraffic& t) {
    return t.kind == TraceKind::Frame && t.length >= kHeaderSize + CheckFieldSize(t.method) &&
           t.length == FrameSize(t.method, t.bytes[2]);
}

std::string FrameText(const LinkTraffic& t) {
    const std::uint8_t id = t.bytes[3];
    const std::size_t checkSize = CheckFieldSize(t.method);
    const std::size_t payloadLength = t.length - kHeaderSize - checkSize;
    const std::string name = CommandNamesFor(id);
    std::string text = "addr " + std::to_string(t.bytes[1]) + " ID " + std::to_string(id) + " " +
                       (name.empty() ? "(unknown)" : name) + " payload ";
    text += payloadLength == 0 ? "-" : HexBytes(t.bytes + kHeaderSize, payloadLength);
    text += t.method == CheckMethod::Crc16 ? " CRC " : " checksum ";
    for (std::size_t i = t.length - checkSize; i < t.length; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", t.bytes[i]);
        text += pair;
    }
    text += t.checkGood ? " good" : " bad";
    return text;
}

} // namespace

std::string HexBytes(const std::uint8_t* bytes, std::size_t length) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(length * 3);
    for (std::size_t i = 0; i < length; ++i) {
        if (i > 0)
            text += ' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::string FormatTraceLine(const LinkTraffic& traffic,
                            std::chrono::system_clock::time_point time) {
    std::string line = LocalTimeOfDay(time);
    line += traffic.direction == TraceDirection::Sent ? " TX " : " RX ";
    if (traffic.bytes && IsWholeFrame(traffic))
        return line + FrameText(traffic);
    const TraceKind kind = traffic.kind == TraceKind::Frame ? TraceKind::Partial : traffic.kind;
    line += KindName(kind);
    line += ' ' + std::to_string(traffic.length) + (traffic.length == 1 ? " byte: " : " bytes: ");
    if (traffic.bytes)
        line += HexBytes(traffic.bytes, traffic.length);
    return line;
}

} // namespace vk
