#include "cli/line_scan.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace vk::cli {

namespace {

constexpr std::uint8_t kGetModelName = 127;
constexpr std::size_t kModelNameLength = 16;

// Milliseconds `bytes` take on the line at the link's speed (ten bits a byte), rounded up.
std::uint32_t WireMs(const DcsLink& link, std::size_t bytes) {
    const auto baud = static_cast<std::uint64_t>(std::max(link.Settings().baudRate, 1));
    return static_cast<std::uint32_t>((bytes * 10 * 1000 + baud - 1) / baud);
}

} // namespace

Probe ProbeAddress(DcsLink& link, CheckMethod method, std::uint8_t address,
                   std::uint32_t answerWaitMs) {
    FrameBuffer request{};
    const std::size_t requestSize = BuildFrame(request, method, address, kGetModelName, nullptr, 0);
    // An answer that came too late for the last probe must not count for this one.
    link.DiscardStaleInput();
    std::size_t written = 0;
    if (!link.WriteRaw(request.data(), requestSize, &written, 100 + WireMs(link, requestSize)) ||
        written != requestSize)
        return {true, std::nullopt};

    const std::uint8_t lengthByte = LengthByte(method, kModelNameLength);
    const std::size_t replySize = FrameSize(method, lengthByte);
    // Noise that never stops (a sensor talking at another speed) must not keep us here.
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(2 * answerWaitMs + WireMs(link, replySize));
    FrameBuffer reply{};
    std::size_t have = 0;
    std::uint32_t waitMs = answerWaitMs;
    while (have < replySize) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return {};
        std::size_t count = 0;
        if (!link.ReadRaw(reply.data() + have, replySize - have, &count,
                          std::min(waitMs, static_cast<std::uint32_t>(left.count()))))
            return {true, std::nullopt};
        if (count == 0)
            return {};
        have += count;
        // Anything before a frame start is noise.
        const auto end = reply.begin() + static_cast<std::ptrdiff_t>(have);
        const auto skipped =
            static_cast<std::size_t>(std::find(reply.begin(), end, kStx) - reply.begin());
        std::memmove(reply.data(), reply.data() + skipped, have - skipped);
        have -= skipped;
        if (have > 0) {
            // The answer has begun: the rest may take its wire time.
            waitMs = answerWaitMs + WireMs(link, replySize);
        }
    }
    if (reply[2] != lengthByte || reply[3] != kGetModelName ||
        !CheckFieldValid(reply.data(), method) || (address != 0 && reply[1] != address))
        return {};
    return {false, reply[1]};
}

} // namespace vk::cli
