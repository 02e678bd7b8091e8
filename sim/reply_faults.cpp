#include "sim/reply_faults.h"

#include <algorithm>
#include <cstdint>

namespace vk::sim {

namespace {

// The frame again with another packet ID, `extra` appended to its payload and then its
// last `drop` payload bytes left out.
std::vector<std::uint8_t> Rebuilt(const std::vector<std::uint8_t>& frame, CheckMethod method,
                                  std::uint8_t packetId, const std::vector<std::uint8_t>& extra,
                                  std::size_t drop = 0) {
    std::vector<std::uint8_t> payload(
        frame.begin() + kHeaderSize,
        frame.begin() + static_cast<std::ptrdiff_t>(kHeaderSize + PayloadLength(method, frame[2])));
    payload.insert(payload.end(), extra.begin(), extra.end());
    payload.resize(payload.size() - std::min(drop, payload.size()));
    payload.resize(std::min(payload.size(), MaxPayload(method)));
    FrameBuffer buffer;
    std::size_t size =
        BuildFrame(buffer, method, frame[1], packetId, payload.data(), payload.size());
    return {buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(size)};
}

} // namespace

ShapedReply ShapeReply(std::vector<Fault>& faults, const std::vector<std::uint8_t>& frame,
                       CheckMethod method) {
    ShapedReply reply{frame, {}};
    std::vector<std::uint8_t> stray;
    bool silent = false;
    std::size_t cut = SIZE_MAX;
    // Faults that change the content come first, so a bad check field stays bad.
    auto order = [](FaultKind k) {
        return k == FaultKind::WrongPacketId || k == FaultKind::WrongLength ||
                       k == FaultKind::ShortPayload
                   ? 0
                   : 1;
    };
    std::stable_sort(faults.begin(), faults.end(),
                     [&](const Fault& a, const Fault& b) { return order(a.kind) < order(b.kind); });
    for (Fault& f : faults) {
        if (f.replies == 0 || (f.packetId >= 0 && f.packetId != frame[3]))
            continue;
        switch (f.kind) {
        case FaultKind::Silence:
            silent = true;
            break;
        case FaultKind::BadCheck:
            reply.bytes.back() ^= 0xFF;
            break;
        case FaultKind::StrayBytes:
            stray = f.bytes.empty() ? std::vector<std::uint8_t>{0x55, 0xAA, 0x00} : f.bytes;
            break;
        case FaultKind::WrongPacketId:
            reply.bytes =
                Rebuilt(reply.bytes, method,
                        f.bytes.empty() ? static_cast<std::uint8_t>(frame[3] + 1) : f.bytes[0], {});
            break;
        case FaultKind::ShortReply:
            cut = std::min(cut, static_cast<std::size_t>(std::max(f.cutAfter, 0)));
            break;
        case FaultKind::ExtraDelay:
            reply.delay += std::chrono::milliseconds(std::max(f.delayMs, 0));
            break;
        case FaultKind::WrongLength:
            reply.bytes = Rebuilt(reply.bytes, method, reply.bytes[3],
                                  f.bytes.empty() ? std::vector<std::uint8_t>{0} : f.bytes);
            break;
        case FaultKind::ShortPayload:
            reply.bytes = Rebuilt(reply.bytes, method, reply.bytes[3], {},
                                  static_cast<std::size_t>(std::max(f.cutAfter, 0)));
            break;
        case FaultKind::Garbage:
            continue; // goes out when injected, never with a reply
        }
        if (f.replies > 0)
            --f.replies;
    }
    std::erase_if(faults, [](const Fault& f) { return f.replies == 0; });
    if (silent) {
        reply.bytes.clear();
        return reply;
    }
    reply.bytes.resize(std::min(cut, reply.bytes.size()));
    reply.bytes.insert(reply.bytes.begin(), stray.begin(), stray.end());
    return reply;
}

std::vector<std::uint8_t> GarbageBytes(const Fault& fault) {
    return fault.bytes.empty() ? std::vector<std::uint8_t>{0x55, 0xAA, 0x55, 0xAA} : fault.bytes;
}

} // namespace vk::sim
