#include "sim/scan_filter.h"

#include <algorithm>
#include <vector>

namespace vk::sim {

namespace {

constexpr int kMaxOrder = 19;

bool Valid(std::uint16_t sample) {
    return sample != kNoRange;
}

std::int16_t Signed(std::uint16_t sample) {
    return static_cast<std::int16_t>(sample);
}

std::size_t Collected(const SensorState& state) {
    return std::min<std::size_t>(state.scanCount, state.scanBuffer.size());
}

void BridgeDropouts(std::vector<std::uint16_t>& s, std::size_t count, std::size_t longest) {
    for (std::size_t i = 0; i < count;) {
        if (Valid(s[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < count && !Valid(s[end]))
            ++end;
        if (i > 0 && end - i <= longest)
            std::fill(s.begin() + static_cast<std::ptrdiff_t>(i),
                      s.begin() + static_cast<std::ptrdiff_t>(end), s[i - 1]);
        i = end;
    }
}

void MedianOfNeighbours(std::vector<std::uint16_t>& s, std::size_t count, int order) {
    order = std::min(order, kMaxOrder);
    if (order % 2 == 0)
        --order;
    if (order <= 1)
        return;
    const auto half = static_cast<std::size_t>(order / 2);
    const std::vector<std::uint16_t> in(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(count));
    std::vector<std::int16_t> window;
    for (std::size_t i = 0; i < count; ++i) {
        if (!Valid(in[i]))
            continue;
        window.clear();
        for (std::size_t k = i >= half ? i - half : 0; k <= std::min(count - 1, i + half); ++k)
            if (Valid(in[k]))
                window.push_back(Signed(in[k]));
        auto middle = window.begin() + static_cast<std::ptrdiff_t>(window.size() / 2);
        std::nth_element(window.begin(), middle, window.end());
        s[i] = static_cast<std::uint16_t>(*middle);
    }
}

void Smooth(std::vector<std::uint16_t>& s, std::size_t count, int percent) {
    percent = std::min(percent, 100);
    if (percent <= 0)
        return;
    bool havePrevious = false;
    std::int32_t previous = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!Valid(s[i]))
            continue;
        std::int32_t value = Signed(s[i]);
        if (havePrevious)
            value = previous + (value - previous) * (100 - percent) / 100;
        s[i] = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
        previous = value;
        havePrevious = true;
    }
}

} // namespace

void FilterScanBuffer(SensorState& state) {
    const std::size_t count = Collected(state);
    const SensorSettings& f = state.settings;
    BridgeDropouts(state.scanBuffer, count, f.dropoutFactor);
    MedianOfNeighbours(state.scanBuffer, count, f.orderFactor);
    Smooth(state.scanBuffer, count, f.smoothFactor);
}

ScanStatistics DescribeScanBuffer(const SensorState& state) {
    ScanStatistics result;
    const std::size_t count = Collected(state);
    std::int64_t sum = 0;
    std::int64_t valid = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t sample = state.scanBuffer[i];
        if (!Valid(sample))
            continue;
        if (valid == 0 || Signed(sample) > Signed(result.highest)) {
            result.highest = sample;
            result.highestScan = static_cast<std::uint16_t>(i);
        }
        if (valid == 0 || Signed(sample) < Signed(result.lowest)) {
            result.lowest = sample;
            result.lowestScan = static_cast<std::uint16_t>(i);
        }
        sum += Signed(sample);
        ++valid;
    }
    if (valid > 0)
        result.average = static_cast<std::uint16_t>(static_cast<std::int16_t>(sum / valid));
    return result;
}

} // namespace vk::sim
