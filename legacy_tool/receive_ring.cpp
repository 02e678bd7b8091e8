#include "legacy_tool/receive_ring.h"

namespace vk::legacy {

std::size_t ReceiveRing::Put(const std::uint8_t* data, std::size_t count) {
    std::size_t stored = 0;
    // After a drop nothing more is taken: a byte stored behind the gap would look like
    // it followed the bytes before it.
    while (!overflowed_ && stored < count && count_ < kRingSize) {
        bytes_[(read_ + count_) % kRingSize] = data[stored++];
        ++count_;
    }
    if (stored < count)
        overflowed_ = true;
    return stored;
}

std::uint8_t ReceiveRing::Take() {
    if (count_ == 0)
        return 0;
    std::uint8_t b = bytes_[read_];
    read_ = (read_ + 1) % kRingSize;
    --count_;
    return b;
}

void ReceiveRing::Discard() {
    read_ = (read_ + count_) % kRingSize;
    count_ = 0;
    overflowed_ = false;
}

} // namespace vk::legacy
