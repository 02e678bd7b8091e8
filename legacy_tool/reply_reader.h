#pragma once
// Reading one reply: the start byte must be the first byte after the request, then the
// address and LENGTH bytes, the packet ID and payload, and the check field; all of it
// within one deadline. The check field is verified, the address and packet ID are not.

#include "legacy_tool/korvel_codec.h"

#include <cstddef>
#include <cstdint>

namespace vk::legacy {

// Why the last reply failed, as the status line reports it.
enum LastError : int {
    kNoError = 0,
    kNoResponse = 1,      // nothing came before the deadline
    kInvalidResponse = 2, // the first byte was not the start byte
    kTimeOut = 3,         // the reply stopped before it was complete
    kCheckMismatch = 4,   // a complete reply with a wrong check field
};

// Where the reply's bytes come from.
class ByteWaiter {
public:
    virtual ~ByteWaiter() = default;
    // Appends the next `count` received bytes to `to`, waiting for them while the reply's
    // deadline runs. False when the deadline passed first (what came is appended), or when
    // bytes were lost so that nothing that comes can be trusted.
    virtual bool GetBytes(Bytes& to, std::size_t count) = 0;
};

struct ReplyResult {
    int lastError = kNoResponse;
    Bytes reply; // start byte through the last payload byte, as far as it came
    Bytes check; // the received check field
};

// Reads one reply in the checksum or CRC variant. In the CRC variant a check field that
// was computed with the register starting at `lastRequestCrc` is accepted too.
ReplyResult ReadReply(ByteWaiter& source, bool crc, std::uint16_t lastRequestCrc);

} // namespace vk::legacy
