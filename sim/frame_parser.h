#pragma once
// How one sensor picks frames out of the byte stream, in its own check method: hunt
// for STX, take the header, then the bytes LENGTH announces. A pause of more than
// kFrameGap inside a frame abandons it. Bytes outside frames are skipped.
//
// A frame in the other method throws a real sensor out of step until such a pause. To
// keep a busy multi-drop line usable, every STX seen inside a partial frame also starts
// a candidate of its own; the first candidate to complete with a good check field is the
// frame, and all others are dropped. Only the oldest candidate, the one a sensor would
// be following, is reported when it completes with a bad check field or is abandoned.

#include "link/frame.h"
#include "sim/sensor_state.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vk::sim {

inline constexpr auto kFrameGap = std::chrono::milliseconds(20);

struct ParsedFrame {
    FrameBuffer bytes{};
    std::size_t size = 0;
    bool valid = false; // the check field is right
    std::uint8_t address() const { return bytes[1]; }
    std::uint8_t packetId() const { return bytes[3]; }
    const std::uint8_t* payload() const { return bytes.data() + kHeaderSize; }
};

class FrameParser {
public:
    // Takes one byte that arrived at `at`. Whole frames (valid ones, and invalid ones the
    // sensor was following) are appended to `out`.
    void Feed(std::uint8_t byte, Clock::time_point at, CheckMethod method,
              std::vector<ParsedFrame>& out);

    // Abandons the partial frames when the last byte is older than kFrameGap. Returns the
    // address byte of the one the sensor was following, when it got that far.
    std::optional<std::uint8_t> Expire(Clock::time_point now);
    // When the partial frame in progress will be abandoned; nothing when there is none.
    std::optional<Clock::time_point> ExpiryTime() const;

    void Reset() { candidates_.clear(); }
    // No frame is in progress.
    bool Idle() const { return candidates_.empty(); }

private:
    static constexpr std::size_t kMaxCandidates = 8;
    struct Candidate {
        FrameBuffer bytes{};
        std::size_t size = 0;
    };
    std::vector<Candidate> candidates_; // oldest first
    Clock::time_point last_{};
};

} // namespace vk::sim
