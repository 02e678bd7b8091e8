#pragma once
// Where GetScanBufferPortion leaves the samples: one 253-byte slot per reply packet,
// each a leading byte and up to 126 samples of 16 bits, low byte first whatever the
// check method. A packet never writes past its own slot or past the area, and each slot
// remembers how many bytes its last packet carried, so a short packet cannot pass off
// samples of an earlier read as its own.

#include <array>
#include <cstddef>
#include <cstdint>

namespace vk {

inline constexpr std::size_t kScanBufferSamples = 8192;
inline constexpr std::size_t kSamplesPerPortion = 126;
inline constexpr std::size_t kPortionBytes = 1 + 2 * kSamplesPerPortion; // 253
inline constexpr std::size_t kScanPortions = 66;
inline constexpr std::size_t kScanBufferAreaSize = kScanPortions * kPortionBytes; // 16698

// Packets needed for `count` samples.
constexpr std::size_t PortionsFor(std::size_t count) {
    return (count + kSamplesPerPortion - 1) / kSamplesPerPortion;
}

class ScanBufferArea {
public:
    // Stores the payload of reply packet `portion`: at most one slot's worth is kept, the
    // rest of a longer packet is dropped. False (nothing stored) for a portion past the area.
    bool StorePortion(std::size_t portion, const std::uint8_t* payload, std::size_t length);
    // Bytes the last packet for `portion` carried into its slot (0 if none or out of range).
    std::size_t PortionLength(std::size_t portion) const;
    // Sample `index` counted from the start of the last read: the sample's slot is
    // index / 126. False when the packet for that slot did not carry it.
    bool Sample(std::size_t index, std::uint16_t* value) const;
    // Copies up to `count` samples of the last read into `out`; returns how many were
    // there, stopping at the first one its packet did not carry.
    std::size_t CopySamples(std::uint16_t* out, std::size_t count) const;
    // The whole area as the packets left it.
    const std::array<std::uint8_t, kScanBufferAreaSize>& Bytes() const { return bytes_; }
    // A new read starts: no slot counts as filled until its packet comes again.
    void ForgetLengths() { lengths_.fill(0); }

private:
    std::array<std::uint8_t, kScanBufferAreaSize> bytes_{};
    std::array<std::uint16_t, kScanPortions> lengths_{};
};

} // namespace vk
