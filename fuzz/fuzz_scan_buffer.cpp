// The scan-buffer area VkUtil reads its scan-buffer packets into, and the samples a
// reader takes out of it, for packets of any number, slot and length.
//
// Input: records of a slot byte, a length byte and that many payload bytes; the first
// byte of all says how many samples to take out.
#include "fuzz/require.h"
#include "sensor/scan_buffer_area.h"

#include <algorithm>
#include <vector>

using vk::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    static vk::ScanBufferArea area; // as in the program: one area, read after read
    area.ForgetLengths();
    const std::size_t wanted = data[0] * 40u; // up to 10200, more than the buffer holds
    for (std::size_t at = 1; at + 2 <= size;) {
        std::size_t slot = data[at] % (vk::kScanPortions + 2);
        std::size_t length = data[at + 1];
        at += 2;
        length = std::min(length, size - at);
        // A packet's payload lives in a buffer of exactly its length.
        std::vector<std::uint8_t> payload(data + at, data + at + length);
        bool stored = area.StorePortion(slot, payload.data(), payload.size());
        Require(stored == (slot < vk::kScanPortions));
        Require(area.PortionLength(slot) <= vk::kPortionBytes);
        at += length;
    }
    std::vector<std::uint16_t> samples(wanted ? wanted : 1);
    std::size_t got = area.CopySamples(samples.data(), wanted);
    Require(got <= wanted && got <= vk::kScanBufferSamples);
    std::uint16_t value = 0;
    for (std::size_t i = 0; i < got; ++i)
        Require(area.Sample(i, &value) && value == samples[i]);
    return 0;
}
