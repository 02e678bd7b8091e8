// Records in both byte orders, and the bounds of the scan-buffer area.
#include "sensor/records.h"
#include "sensor/scan_buffer_area.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace vk {
namespace {

// 0, 1, 2, ... so every field's bytes are recognisable.
template <std::size_t N> std::array<std::uint8_t, N> Counting() {
    std::array<std::uint8_t, N> bytes{};
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
    return bytes;
}

TEST(SensorRecords, Vkt04SetupAndBoardFlipperState) {
    auto wire = Counting<Vkt04SetupRecord::kSize>();
    auto setup = Vkt04SetupRecord::Decode(wire.data(), CheckMethod::Crc16);
    EXPECT_EQ(setup.maxLaserPower, 8);
    EXPECT_EQ(setup.address, 11);
    EXPECT_EQ(setup.analogMinRange, 0x0C0D);
    EXPECT_EQ(setup.voltsOutOfRange, 0x1415);
    EXPECT_EQ(setup.holdLastValidRange, 26);
    EXPECT_EQ(setup.rangeMode, 27);

    auto state = Counting<BoardFlipperStateRecord::kSize>();
    auto flipper = BoardFlipperStateRecord::Decode(state.data(), CheckMethod::Checksum);
    EXPECT_EQ(flipper.state.peak, 0x0D0C);
    EXPECT_EQ(flipper.extraWords[0], 0x0F0E);
    EXPECT_EQ(flipper.extraWords[3], 0x1514);
}

// The count is set low half first and reported high half first.
TEST(SensorRecords, ConfigAveragingCountHalvesSwapBetweenSetAndReport) {
    ConfigRecord config;
    config.SetAveragingCountForSet(0x00012345);
    EXPECT_EQ(config.words[2], 0x2345);
    EXPECT_EQ(config.words[3], 0x0001);
    config.bytes = {0xAB, 0xCD};
    std::array<std::uint8_t, ConfigRecord::kSize> wire{};
    config.Encode(wire.data(), CheckMethod::Crc16);
    EXPECT_EQ(wire[4], 0x23);
    EXPECT_EQ(wire[5], 0x45);
    EXPECT_EQ(wire[6], 0x00);
    EXPECT_EQ(wire[7], 0x01);
    EXPECT_EQ(wire[8], 0xAB);
    const std::uint8_t reported[ConfigRecord::kSize] = {0, 0, 0, 0, 0x00, 0x01, 0x23, 0x45};
    EXPECT_EQ(ConfigRecord::Decode(reported, CheckMethod::Crc16).AveragingCount(), 0x00012345u);
}

TEST(SensorRecords, AnalogOutputSendsZerosAfterItsSixWords) {
    AnalogOutputRecord out{100, 200, 9000, 4000, 5, 6};
    std::array<std::uint8_t, AnalogOutputRecord::kSize> wire;
    wire.fill(0xEE);
    out.Encode(wire.data(), CheckMethod::Checksum);
    EXPECT_EQ(wire[5], 0x23); // 9000 = 0x2328, low byte first
    for (std::size_t i = 12; i < wire.size(); ++i)
        EXPECT_EQ(wire[i], 0) << i;
}

TEST(SensorScanBufferArea, LongPacketsStayInTheirSlotAndInsideTheArea) {
    ScanBufferArea area;
    std::vector<std::uint8_t> full(kMaxPayload, 0x11);
    std::vector<std::uint8_t> next(kMaxPayload, 0x22);
    ASSERT_TRUE(area.StorePortion(kScanPortions - 2, full.data(), full.size()));
    ASSERT_TRUE(area.StorePortion(kScanPortions - 1, next.data(), next.size()));
    EXPECT_EQ(area.PortionLength(kScanPortions - 1), kPortionBytes);
    // The longer packet did not spill into the following slot.
    EXPECT_EQ(area.Bytes()[(kScanPortions - 1) * kPortionBytes], 0x22);
    EXPECT_EQ(area.Bytes()[(kScanPortions - 1) * kPortionBytes - 1], 0x11);
    EXPECT_EQ(area.Bytes().back(), 0x22);
    EXPECT_FALSE(area.StorePortion(kScanPortions, full.data(), full.size()));
}

TEST(SensorScanBufferArea, SamplesComeOnlyFromWhatThePacketsCarried) {
    ScanBufferArea area;
    // Leading byte, then samples 0x0201 and 0x0403 low byte first, and half a sample.
    const std::uint8_t packet[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05};
    area.StorePortion(0, packet, sizeof packet);
    std::uint16_t samples[4] = {};
    EXPECT_EQ(area.CopySamples(samples, 4), 2u);
    EXPECT_EQ(samples[0], 0x0201);
    EXPECT_EQ(samples[1], 0x0403);

    std::uint16_t value = 0;
    EXPECT_FALSE(area.Sample(kSamplesPerPortion, &value)); // slot 1 never filled
    area.ForgetLengths();
    EXPECT_EQ(area.CopySamples(samples, 1), 0u); // an earlier read does not count
    EXPECT_EQ(PortionsFor(126), 1u);
    EXPECT_EQ(PortionsFor(127), 2u);
    EXPECT_EQ(PortionsFor(kScanBufferSamples), kScanPortions);
}

} // namespace
} // namespace vk
