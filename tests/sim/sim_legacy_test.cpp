// The commands only the older setup tool sends, and the serial number at the head of
// the VKT02 setup record that it reads.

#include "sim_test_support.h"

namespace vk::sim::test {
namespace {

class SimLegacy : public LineFixture, public ::testing::WithParamInterface<CheckMethod> {};

TEST_P(SimLegacy, RangeReadingThresholdAndSerialInTheSetupRecord) {
    CheckMethod m = GetParam();
    StartLine({Sensor(3, "VKT02", m, "AB123456")});
    line->Modify(3, [](SensorState& s) {
        s.liveFrozen = true;
        s.live.range = 0x1234;
    });
    EXPECT_EQ(Transact(3, m, 12, {}, 2), Word(0x1234, m));

    SetAndAck(3, m, 82, {99});
    EXPECT_EQ(Transact(3, m, 131, {}, 1), std::vector<std::uint8_t>{99});

    auto setup = Transact(3, m, 19, {}, 31);
    ASSERT_TRUE(setup) << link.ErrorText();
    EXPECT_EQ(std::string(setup->begin(), setup->begin() + 8), "AB123456");
}

TEST_P(SimLegacy, RevisionCTakesItsOwnTimingCommandsAndOthersRefuseThem) {
    CheckMethod m = GetParam();
    SensorConfig c = Sensor(1, "VKT02", m);
    c.revision = 'C';
    StartLine({c, Sensor(2, "VKT02", m, "VK000002")});

    SetAndAck(1, m, 205, Word(1234, m));
    EXPECT_EQ(line->Snapshot(1).settings.scanInterval, 1234);
    // Five words: 0, configuration word, low half, high half, 0 of the period.
    std::vector<std::uint8_t> avg;
    for (std::uint16_t w : {0, 7, 0x5678, 0x0001, 0}) {
        auto two = Word(w, m);
        avg.insert(avg.end(), two.begin(), two.end());
    }
    SetAndAck(1, m, 233, avg);
    auto config = Transact(1, m, 32, {}, 10);
    ASSERT_TRUE(config);
    EXPECT_EQ(WordAt(*config, 2, m), 7);
    EXPECT_EQ(WordAt(*config, 4, m), 0x0001); // the record keeps the high half first
    EXPECT_EQ(WordAt(*config, 6, m), 0x5678);

    std::uint16_t before = line->Snapshot(2).errors.commandErrors;
    SendHandled(2, m, 205, Word(99, m));
    EXPECT_EQ(line->Snapshot(2).settings.scanInterval, SensorSettings{}.scanInterval);
    EXPECT_EQ(line->Snapshot(2).errors.commandErrors, before + 1);
}

TEST_P(SimLegacy, ResetModeCommandPurgesSettingsAndCountersSilently) {
    CheckMethod m = GetParam();
    StartLine({Sensor(1, "VKT02", m)});
    SetAndAck(1, m, 82, {5});
    SendHandled(1, m, 200); // unknown: one command error
    ASSERT_GT(line->Snapshot(1).errors.commandErrors, 0);
    SendHandled(1, m, 148);
    EXPECT_TRUE(ReadRaw(50).empty());
    SensorState s = line->Snapshot(1);
    EXPECT_EQ(s.settings.threshold, SensorSettings{}.threshold);
    EXPECT_EQ(s.errors.commandErrors, 0);
    EXPECT_EQ(s.config.address, 1);
}

VK_SIM_BOTH_METHODS(SimLegacy);

} // namespace
} // namespace vk::sim::test
