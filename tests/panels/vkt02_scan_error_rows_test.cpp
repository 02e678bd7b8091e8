// The rows of the VKT02 panel's "Scan Buffer" and "Sensor errors" pages, and what the
// scan buffer reader is offered.
#include "panels/vkt02_error_counters.h"
#include "panels/vkt02_scan_statistics.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

std::vector<std::string> Texts(const auto& values) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values[i].row, static_cast<int>(i));
        texts.push_back(values[i].text);
    }
    return texts;
}

TEST(Vkt02ScanStatistics, RowsValuesAndTheReadersOffer) {
    EXPECT_STREQ(kVkt02ScanStatisticsRowNames[1], " High scan number");
    HlaResultRecord result{12345, 0xFFFF, 0x8000, 7, 500};
    const auto values = Vkt02ScanStatisticsValues(
        40000, result, [](std::uint16_t raw) { return "raw " + std::to_string(raw); });
    EXPECT_EQ(Texts(values),
              (std::vector<std::string>{"-25536", "-1", "raw 12345", "7", "raw 32768", "raw 500"}));

    EXPECT_EQ(ReaderRangesForScanCount(0), 0);
    EXPECT_EQ(ReaderRangesForScanCount(8192), 8192);
    EXPECT_EQ(ReaderRangesForScanCount(8193), 8192);
    EXPECT_EQ(ReaderRangesForScanCount(10000), 8192);
    EXPECT_EQ(ReaderRangesForScanCount(0xFFFF), 8192); // a negative count
}

TEST(Vkt02ErrorCounters, SignedCountersAndTheCalibrationMarker) {
    EXPECT_STREQ(kVkt02ErrorRowNames[1], "Callibration status");
    EXPECT_STREQ(kVkt02ErrorRowNames[3], "Illegal opertions");
    ErrorStateRecord errors{40000, 2, 3, 4, 0x5555, 0xFFFF};
    EXPECT_EQ(Texts(Vkt02ErrorValues(errors)),
              (std::vector<std::string>{"-25536", "Callibration OK", "2", "-1", "4", "3"}));
    for (std::uint16_t marker : {0x0000, 0xAAAA, 0x5554}) {
        errors.calibrationMarker = marker;
        EXPECT_EQ(Vkt02ErrorValues(errors)[1].text, "No Callibration") << marker;
    }
}

} // namespace
} // namespace vk
