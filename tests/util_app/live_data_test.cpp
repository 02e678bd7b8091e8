// What the trend keeps, where the plots put their ticks and what the recorder writes,
// without a window or a line.
#include "util_app/axis_ticks.h"
#include "util_app/csv_recorder.h"
#include "util_app/trend_series.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vk {
namespace {

TEST(AxisTicks, RoundStepsCoverTheRangeWithTheDecimalsTheStepNeeds) {
    struct Case {
        double low, high;
        int intervals;
        double first, step;
        int count, decimals;
    };
    const Case cases[] = {
        {4.3588, 4.3852, 5, 4.35, 0.01, 5, 2}, // 0.005 would need 7 intervals
        {19, 195, 4, 0, 50, 5, 0},             // peak and laser power
        {-3, 7, 6, -4, 2, 7, 0},               // across zero
        {0.0, 8192.0, 4, 0, 5000, 3, 0},       // too few intervals for 2000
        {7, 3, 4, 3, 1, 5, 0},                 // reversed bounds
        {5, 5, 4, 4.6, 0.2, 5, 1},             // one value: a step around it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.low) + " .. " + std::to_string(c.high));
        const AxisTicks ticks = RoundTicks(c.low, c.high, c.intervals);
        EXPECT_NEAR(ticks.first, c.first, 1e-9);
        EXPECT_NEAR(ticks.step, c.step, 1e-12);
        EXPECT_EQ(ticks.count, c.count);
        EXPECT_EQ(ticks.decimals, c.decimals);
        EXPECT_LE(ticks.count - 1, c.intervals);
    }
    EXPECT_EQ(RoundTicks(NAN, 1, 4).Last(), 1.0); // 0 to 1
    // Labels: the step's decimals, and a zero that comes out of a sum is plain "0".
    const AxisTicks across = RoundTicks(-0.3, 0.3, 6);
    EXPECT_EQ(TickLabel(across.At(3), across.decimals), "0.0");
    EXPECT_EQ(TickLabel(-0.0004, 3), "0.000");
    EXPECT_EQ(TickLabel(4.36, 3), "4.360");
}

TEST(TrendSeries, KeepsTheLongestWindowAndNoMoreWithGapsInPlace) {
    TrendSeries series;
    // An hour of polls every 250 ms, every tenth "Out of Range".
    for (int i = 0; i < 4 * 3600; ++i) {
        TrendPoint point{i * 0.25, std::nullopt, 10.0, 20.0};
        if (i % 10 != 0)
            point.range = i * 0.001;
        series.Add(point);
    }
    EXPECT_LE(series.Size(), 4u * 600u + 1u);
    EXPECT_GE(series.Points().front().seconds, series.Points().back().seconds - 600.0);
    EXPECT_EQ(series.Points().back().seconds, (4 * 3600 - 1) * 0.25);
    EXPECT_FALSE(series.At(series.Size() - 10).range.has_value());
    EXPECT_TRUE(series.At(series.Size() - 9).range.has_value());

    // A burst of polls in the same instant cannot grow it past its capacity.
    for (int i = 0; i < 20000; ++i)
        series.Add({4000.0, 1.0, {}, {}});
    EXPECT_EQ(series.Size(), TrendSeries::kCapacity);

    // A clock that went back starts afresh instead of drawing backwards.
    series.Add({1.0, 2.0, {}, {}});
    EXPECT_EQ(series.Size(), 1u);
}

TEST(CsvRecorder, QuotesFieldsAndStopsWhenTheFileCannotBeWritten) {
    EXPECT_EQ(CsvField("Base pix."), "Base pix.");
    EXPECT_EQ(CsvField("a,\"b\""), "\"a,\"\"b\"\"\"");

    PollSample sample;
    sample.columns = {{"Peak", "7"}};
    sample.range.unit = "mm";
    EXPECT_EQ(CsvHeader(sample), "Time,Peak,Range (mm)\r\n");

    CsvRecorder recorder;
    std::string error;
    EXPECT_FALSE(recorder.Start("/nonexistent-folder/x.csv", &error));
    EXPECT_NE(error.find("Could not open /nonexistent-folder/x.csv"), std::string::npos);
    EXPECT_FALSE(recorder.Active());

    // A full disk: the row does not fit, the recording says so and ends.
    ASSERT_TRUE(recorder.Start("/dev/full", &error));
    EXPECT_FALSE(recorder.Append(sample, &error));
    EXPECT_NE(error.find("Could not write to /dev/full"), std::string::npos) << error;
    EXPECT_FALSE(recorder.Active());
    EXPECT_EQ(recorder.Rows(), 0u);
}

} // namespace
} // namespace vk
