#include "panels/vkt02_scan_statistics.h"

#include "panels/unit_conversion.h"
#include "sensor/scan_buffer_area.h"

namespace vk {

std::array<DiagnosticValue, 6>
Vkt02ScanStatisticsValues(std::uint16_t scanCount, const HlaResultRecord& result,
                          const std::function<std::string(std::uint16_t)>& formatRange) {
    return {{
        {0, SignedWordText(scanCount)},
        {1, SignedWordText(result.highestRangeScan)},
        {2, formatRange(result.highestRange)},
        {3, SignedWordText(result.lowestRangeScan)},
        {4, formatRange(result.lowestRange)},
        {5, formatRange(result.averageRange)},
    }};
}

int ReaderRangesForScanCount(std::uint16_t scanCount) {
    return scanCount <= kScanBufferSamples ? scanCount : static_cast<int>(kScanBufferSamples);
}

} // namespace vk
