#include "sensor/scan_buffer_area.h"

#include <algorithm>

namespace vk {

bool ScanBufferArea::StorePortion(std::size_t portion, const std::uint8_t* payload,
                                  std::size_t length) {
    if (portion >= kScanPortions)
        return false;
    std::size_t kept = std::min(length, kPortionBytes);
    if (kept > 0)
        std::copy_n(payload, kept,
                    bytes_.begin() + static_cast<std::ptrdiff_t>(portion * kPortionBytes));
    lengths_[portion] = static_cast<std::uint16_t>(kept);
    return true;
}

std::size_t ScanBufferArea::PortionLength(std::size_t portion) const {
    return portion < kScanPortions ? lengths_[portion] : 0;
}

bool ScanBufferArea::Sample(std::size_t index, std::uint16_t* value) const {
    std::size_t portion = index / kSamplesPerPortion;
    if (portion >= kScanPortions)
        return false;
    std::size_t inSlot = 1 + 2 * (index % kSamplesPerPortion);
    if (inSlot + 2 > lengths_[portion])
        return false;
    std::size_t at = portion * kPortionBytes + inSlot;
    *value = static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
    return true;
}

std::size_t ScanBufferArea::CopySamples(std::uint16_t* out, std::size_t count) const {
    std::size_t copied = 0;
    while (copied < count && Sample(copied, &out[copied]))
        ++copied;
    return copied;
}

} // namespace vk
