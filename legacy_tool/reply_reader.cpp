#include "legacy_tool/reply_reader.h"

namespace vk::legacy {

ReplyResult ReadReply(ByteWaiter& source, bool crc, std::uint16_t lastRequestCrc) {
    ReplyResult r;
    r.lastError = kNoResponse;
    if (!source.GetBytes(r.reply, 1))
        return r;
    // No hunting: whatever stands first is the answer, so a stale byte is never taken
    // for the start of this reply.
    if (r.reply[0] != kStx) {
        r.lastError = kInvalidResponse;
        return r;
    }
    r.lastError = kTimeOut;
    if (!source.GetBytes(r.reply, 2))
        return r;
    std::size_t rest = r.reply[2] + (crc ? 1u : 0u);
    if (!source.GetBytes(r.reply, rest) || !source.GetBytes(r.check, crc ? 2 : 1))
        return r;
    r.lastError = kCheckMismatch;
    if (crc) {
        auto first = CalcCrc16(r.reply, 0);
        auto second = CalcCrc16(r.reply, lastRequestCrc);
        if ((r.check[0] == first[0] && r.check[1] == first[1]) ||
            (r.check[0] == second[0] && r.check[1] == second[1]))
            r.lastError = kNoError;
    } else if (r.check[0] == CalcChecksum(r.reply)) {
        r.lastError = kNoError;
    }
    return r;
}

} // namespace vk::legacy
