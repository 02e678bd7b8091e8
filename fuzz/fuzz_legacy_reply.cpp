// The setup tool's receive ring and reply reader, and the read-outs decoded from what
// they accept, on bytes the fuzzer makes up.
//
// Input: a control byte (bit 0: CRC variant; bits 1-7: bytes per data-available event,
// 0 for 128), the last request CRC (2 bytes, high first), then the received bytes.
#include "fuzz/require.h"
#include "legacy_tool/readout_decoding.h"
#include "legacy_tool/receive_ring.h"
#include "legacy_tool/reply_reader.h"

#include <algorithm>

namespace {

using vk::fuzz::Require;

using namespace vk;
using namespace vk::legacy;

// Data-available events deliver the input in pieces; once it is used up the reply's
// deadline has passed.
class FuzzWaiter : public ByteWaiter {
public:
    FuzzWaiter(const std::uint8_t* data, std::size_t size, std::size_t piece)
        : data_(data), size_(size), piece_(piece) {}

    bool GetBytes(Bytes& to, std::size_t count) override {
        while (count > 0) {
            if (!ring_.Empty()) {
                to.push_back(ring_.Take());
                --count;
            } else if (ring_.Overflowed() || !Deliver()) {
                return false;
            }
        }
        return true;
    }
    // Every unread byte is dropped, as before each request; false once all came.
    bool NextRequest() {
        ring_.Discard();
        return Deliver();
    }

private:
    bool Deliver() {
        if (next_ >= size_)
            return false;
        std::size_t n = std::min(piece_, size_ - next_);
        std::size_t stored = ring_.Put(data_ + next_, n);
        Require(stored <= n && ring_.Count() <= kRingSize);
        next_ += n;
        return true;
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t piece_;
    std::size_t next_ = 0;
    ReceiveRing ring_;
};

void Decode(const ReplyResult& r, CheckMethod method) {
    const Bytes& reply = r.reply;
    std::size_t payload = PayloadSize(reply);
    // A checksum reply of LENGTH 0 ends before its packet ID.
    Require(payload == (reply.size() > 4 ? reply.size() - 4 : 0));
    if (payload >= kVersionSize)
        DecodeVersion(reply, method);
    if (payload >= kSetupSize)
        DecodeSetup(reply, method);
    if (payload >= kAnalogSize)
        DecodeAnalog(reply, method, PayloadByte(reply, 0) % 16);
    if (payload >= kConfigSize) {
        AveragingScale scale;
        DecodeConfig(reply, method, scale);
    }
    if (payload >= kSerialSize)
        DecodeModelName(reply);
    PayloadText(reply, 0, 16);
    PayloadWord(reply, payload, method); // one beyond the end reads as 0
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    const bool crc = data[0] & 1;
    const std::size_t piece = (data[0] >> 1) ? (data[0] >> 1) : 128;
    const auto lastRequestCrc = static_cast<std::uint16_t>(data[1] << 8 | data[2]);
    FuzzWaiter waiter(data + 3, size - 3, piece);
    const CheckMethod method = crc ? CheckMethod::Crc16 : CheckMethod::Checksum;
    while (waiter.NextRequest()) {
        ReplyResult r = ReadReply(waiter, crc, lastRequestCrc);
        if (r.lastError == kNoError)
            Decode(r, method);
    }
    return 0;
}
