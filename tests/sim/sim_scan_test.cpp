// The scan buffer, its statistics and scanning.

#include "sim/scan_filter.h"
#include "sim_test_support.h"

#include <algorithm>
#include <numeric>

namespace vk::sim::test {
namespace {

constexpr std::uint8_t kScanBufferPortion = 11;

class SimScan : public LineFixture, public ::testing::WithParamInterface<CheckMethod> {};

TEST_P(SimScan, BufferPortionsCountDownAndCarrySamplesLowByteFirst) {
    CheckMethod m = GetParam();
    StartLine({Sensor(1, "VKT02", m)});
    SensorState state = line->Snapshot(1);
    // start 100, count 300, low byte first in both methods
    ASSERT_TRUE(Send(1, m, kScanBufferPortion, {100, 0, 0x2C, 0x01}));
    std::vector<std::size_t> sizes;
    std::vector<std::uint16_t> samples;
    for (int i = 0; i < 3; ++i) {
        auto packet = Receive(m, kScanBufferPortion);
        ASSERT_TRUE(packet) << link.ErrorText();
        EXPECT_EQ((*packet)[0], 3 - i); // 3, 2, 1
        sizes.push_back(packet->size());
        for (std::size_t k = 1; k + 1 < packet->size(); k += 2)
            samples.push_back(static_cast<std::uint16_t>((*packet)[k] | (*packet)[k + 1] << 8));
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{253, 253, 97}));
    EXPECT_EQ(samples, std::vector<std::uint16_t>(state.scanBuffer.begin() + 100,
                                                  state.scanBuffer.begin() + 400));
    EXPECT_TRUE(ReadRaw(50).empty());
}

TEST_P(SimScan, ScanResultDescribesTheBuffer) {
    CheckMethod m = GetParam();
    StartLine({Sensor(1, "VKT02", m)});
    line->Modify(1, [](SensorState& s) {
        s.scanCount = 5;
        std::copy_n(std::begin({700, 900, 650, 800, 720}), 5, s.scanBuffer.begin());
        s.scanBuffer[5] = 60000; // beyond the scan count: not counted
    });
    auto result = Transact(1, m, 10, {}, 10);
    ASSERT_TRUE(result) << link.ErrorText();
    EXPECT_EQ(WordAt(*result, 0, m), 900);
    EXPECT_EQ(WordAt(*result, 2, m), 1);
    EXPECT_EQ(WordAt(*result, 4, m), 650);
    EXPECT_EQ(WordAt(*result, 6, m), 2);
    EXPECT_EQ(WordAt(*result, 8, m), 754);
}

VK_SIM_BOTH_METHODS(SimScan);

class SimScanning : public LineFixture {};

TEST_F(SimScanning, StartScanFillsTheBufferAndTheLiveValuesMove) {
    StartLine({Sensor(1)});
    const CheckMethod m = CheckMethod::Checksum;
    auto before = Transact(1, m, 21, {}, 14);
    ASSERT_TRUE(Send(1, m, 3)); // StartScan
    ASSERT_TRUE(line->WaitForState(
        1, [](const SensorState& s) { return s.scanning && s.scanCount >= 40; }, 2000));
    auto state = Transact(1, m, 21, {}, 14);
    ASSERT_TRUE(before && state) << link.ErrorText();
    EXPECT_EQ(WordAt(*state, 12, m), 1);                    // scanning
    EXPECT_GE(WordAt(*state, 10, m), 40);                   // scan count
    EXPECT_NE(WordAt(*before, 8, m), WordAt(*state, 8, m)); // the range moved
    SendHandled(1, m, 4);                                   // StopScan
    SensorState stopped = line->Snapshot(1);
    EXPECT_FALSE(stopped.scanning);
    std::vector<std::uint16_t> expected;
    for (std::size_t i = 0; i < stopped.scanCount; ++i)
        expected.push_back(ScanSample(stopped.scanSeed, i));
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), stopped.scanBuffer.begin()));
    EXPECT_EQ(line->Snapshot(1).scanCount, stopped.scanCount);
}

TEST(SimScanFilter, DropoutsMediansSmoothingAndTheStatistics) {
    SensorState state = FactoryState(Sensor(1));
    state.settings.dropoutFactor = 2;
    state.settings.orderFactor = 3;
    state.settings.smoothFactor = 50;
    constexpr std::uint16_t N = kNoRange;
    state.scanBuffer.assign({100, N, N, 130, 900, 140, 150, N, N, N, 7000});
    state.scanCount = 10; // the last sample is beyond what the run collected
    FilterScanBuffer(state);
    // Two dropouts bridged, three left; the spike gone; then halfway toward each range.
    EXPECT_EQ(state.scanBuffer,
              (std::vector<std::uint16_t>{100, 100, 100, 115, 127, 138, 144, N, N, N, 7000}));

    state.scanBuffer[7] = static_cast<std::uint16_t>(-5);
    state.scanCount = 8;
    ScanStatistics s = DescribeScanBuffer(state);
    EXPECT_EQ(s.highest, 144);
    EXPECT_EQ(s.highestScan, 6);
    EXPECT_EQ(s.lowest, static_cast<std::uint16_t>(-5));
    EXPECT_EQ(s.lowestScan, 7);
    EXPECT_EQ(s.average, 102); // 819 / 8
    state.scanCount = 0;
    s = DescribeScanBuffer(state);
    EXPECT_EQ(s.highest, N);
    EXPECT_EQ(s.average, N);
}

TEST_F(SimScanning, ApplyScanFilterRewritesTheCollectedRanges) {
    StartLine({Sensor(1)});
    line->Modify(1, [](SensorState& s) {
        s.settings.orderFactor = 3;
        s.scanBuffer[4] = 60000;
    });
    SensorState expected = line->Snapshot(1);
    FilterScanBuffer(expected);
    SendHandled(1, CheckMethod::Checksum, 15);
    EXPECT_EQ(line->Snapshot(1).scanBuffer, expected.scanBuffer);
    EXPECT_LT(expected.scanBuffer[4], 7000);
}

TEST_F(SimScanning, PortionBeyondTheBufferGetsNoAnswer) {
    StartLine({Sensor(1)});
    ASSERT_TRUE(Send(1, CheckMethod::Checksum, kScanBufferPortion, {0x40, 0x1F, 193, 0}));
    EXPECT_FALSE(Receive(CheckMethod::Checksum, kScanBufferPortion));
    EXPECT_EQ(line->Snapshot(1).errors.commandErrors, 1);
}

} // namespace
} // namespace vk::sim::test
