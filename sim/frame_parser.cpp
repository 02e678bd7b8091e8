#include "sim/frame_parser.h"

namespace vk::sim {

void FrameParser::Feed(std::uint8_t byte, Clock::time_point at, CheckMethod method,
                       std::vector<ParsedFrame>& out) {
    if (!candidates_.empty() && at - last_ > kFrameGap)
        candidates_.clear();
    last_ = at;
    for (Candidate& c : candidates_)
        c.bytes[c.size++] = byte;
    if (byte == kStx && candidates_.size() < kMaxCandidates) {
        candidates_.emplace_back();
        candidates_.back().bytes[0] = byte;
        candidates_.back().size = 1;
    }
    bool followed = true; // the oldest candidate is the one the sensor is following
    for (std::size_t i = 0; i < candidates_.size(); followed = false) {
        const Candidate& c = candidates_[i];
        if (c.size < kHeaderSize || c.size < FrameSize(method, c.bytes[2])) {
            ++i;
            continue;
        }
        ParsedFrame frame;
        frame.bytes = c.bytes;
        frame.size = c.size;
        // A checksum frame with LENGTH 0 has no room for its check byte: never valid.
        frame.valid = (method == CheckMethod::Crc16 || c.bytes[2] > 0) &&
                      CheckFieldValid(c.bytes.data(), method);
        if (frame.valid) {
            out.push_back(frame);
            candidates_.clear();
            return;
        }
        if (followed)
            out.push_back(frame);
        candidates_.erase(candidates_.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

std::optional<std::uint8_t> FrameParser::Expire(Clock::time_point now) {
    if (candidates_.empty() || now - last_ <= kFrameGap)
        return std::nullopt;
    std::optional<std::uint8_t> address;
    if (candidates_.front().size >= 2)
        address = candidates_.front().bytes[1];
    candidates_.clear();
    return address;
}

std::optional<Clock::time_point> FrameParser::ExpiryTime() const {
    if (candidates_.empty())
        return std::nullopt;
    return last_ + kFrameGap + std::chrono::microseconds(100);
}

} // namespace vk::sim
