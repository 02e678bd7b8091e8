#include "legacy_tool/scan_packets.h"

namespace vk::legacy {

ScanPacketReader::Step ScanPacketReader::Take(const Bytes& reply) {
    if (end_ != Step::More)
        return end_;
    if (target_ != 0 && reply.size() > 1 && reply[1] != target_)
        return end_ = Step::Broken;
    const int countdown = PayloadByte(reply, 0);
    if (expected_ < 0)
        expected_ = countdown;
    if (countdown != expected_ || expected_ == 0)
        return end_ = expected_ == 0 ? Step::Done : Step::Broken;
    const std::size_t payload = PayloadSize(reply);
    const std::size_t count = payload > 0 ? (payload - 1) / 2 : 0;
    for (std::size_t m = 0; m < count; ++m) {
        // A buffer never holds more: what follows cannot be the sensor's scans.
        if (values_.size() == kMaxScanValues)
            return end_ = Step::Broken;
        values_.push_back(PayloadWord(reply, 1 + 2 * m, CheckMethod::Checksum));
    }
    --expected_;
    if (expected_ == 0)
        end_ = Step::Done;
    return end_;
}

} // namespace vk::legacy
