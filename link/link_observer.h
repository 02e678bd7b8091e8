#pragma once
// LinkObserver: what a line trace sees of a DcsLink. The link reports every frame it
// wrote or read whole, and every byte it moved or dropped that was not such a frame, so a
// technician can see exactly what went over the line when a sensor misbehaves.
//
// The link calls the observer on the thread that runs the exchange, in the order the
// bytes went, and only while one is set: without an observer a link pays one pointer
// test per read or write. The observer must return quickly and must not use the link.

#include "link/frame.h"

#include <cstddef>
#include <cstdint>

namespace vk {

enum class TraceDirection : std::uint8_t { Sent, Received };

enum class TraceKind : std::uint8_t {
    Frame,   // one whole frame; `checkGood` tells whether its check field is right
    Stray,   // bytes dropped: skipped before a start byte, or thrown away unread
    Partial, // the bytes of a frame that broke off
    Raw,     // bytes moved outside the framing (a file transfer and its answers)
};

struct LinkTraffic {
    TraceDirection direction = TraceDirection::Sent;
    TraceKind kind = TraceKind::Frame;
    CheckMethod method = CheckMethod::Checksum; // the method the frame was read or written in
    bool checkGood = true;                      // frames only
    const std::uint8_t* bytes = nullptr;        // valid only during the call
    std::size_t length = 0;
};

class LinkObserver {
public:
    // One piece of traffic; `traffic.length` is never 0.
    virtual void OnLinkTraffic(const LinkTraffic& traffic) = 0;

protected:
    ~LinkObserver() = default;
};

} // namespace vk
