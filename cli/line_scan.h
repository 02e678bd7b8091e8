#pragma once
// Finding the sensors on a line: each address gets one request and a short wait, so a
// silent address costs a few tens of milliseconds instead of a full failed exchange
// (exchange budget and recovery pause, about 1.25 s).

#include "link/dcs_link.h"
#include "link/frame.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vk::cli {

// The speeds a sensor takes, fastest first.
inline constexpr std::int32_t kLineSpeeds[] = {57600, 38400, 19200, 9600};

// How long a probe waits for the first byte of an answer after its request has left the
// port; the rest of the answer then gets its wire time on top.
inline constexpr std::uint32_t kDefaultAnswerWaitMs = 25;

struct Probe {
    bool lineFailed = false;            // the port refused a read or write (link's error)
    std::optional<std::uint8_t> sensor; // the address of the sensor that answered
};

// Sends a model-name request to `address` in `method` on the open `link` (at its speed)
// and waits `answerWaitMs` for the answer to start. A sensor counts when a whole, valid
// model-name reply came from `address` (with address 0, from whichever sensor answered).
// Silence, noise and broken replies find nothing. Raw bytes only: no failure line, no
// recovery pause.
Probe ProbeAddress(DcsLink& link, CheckMethod method, std::uint8_t address,
                   std::uint32_t answerWaitMs);

} // namespace vk::cli
