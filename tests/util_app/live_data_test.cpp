// What the trend keeps and what the recorder writes, without a window or a line.
#include "util_app/csv_recorder.h"
#include "util_app/trend_series.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

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
