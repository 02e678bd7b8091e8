#pragma once
// Faults a test can make a simulated sensor commit on its next replies.

#include <cstdint>
#include <vector>

namespace vk::sim {

enum class FaultKind {
    Silence,       // the reply is not sent (the command still takes effect)
    BadCheck,      // the check field is wrong
    StrayBytes,    // `bytes` (default 55 AA 00) go out just before the reply
    WrongPacketId, // the reply carries another packet ID (`bytes[0]`, default ID + 1)
    ShortReply,    // only the first `cutAfter` bytes of the reply frame go out
    ExtraDelay,    // the reply starts `delayMs` later
    Garbage,       // `bytes` (default 55 AA 55 AA) go on the line at once, unasked
    WrongLength,   // a valid frame whose payload has `bytes` (default one 00) appended
    ShortPayload,  // a valid frame whose payload lacks its last `cutAfter` bytes
};

struct Fault {
    FaultKind kind = FaultKind::Silence;
    int replies = 1; // how many reply packets it spoils; -1: until cleared
    int delayMs = 0;
    int cutAfter = 0;
    std::vector<std::uint8_t> bytes = {};
    // Only replies carrying this packet ID are spoiled (and counted); -1: every reply.
    // Aims a fault at one command of a sequence the program sends on its own.
    int packetId = -1;
};

} // namespace vk::sim
