// The measurement buttons: offsets, scan variables, analog output and the averaging
// period with both firmware variants; failed read-backs and a vanished device.

#include "legacy_test_support.h"
#include "legacy_tool/legacy_codes.h"

#include <algorithm>
#include <chrono>

namespace vk::legacy::test {
namespace {

Bytes Words(std::initializer_list<std::uint16_t> words, CheckMethod m) {
    Bytes b;
    for (std::uint16_t w : words) {
        Bytes two = sim::test::Word(w, m);
        b.insert(b.end(), two.begin(), two.end());
    }
    return b;
}

class LegacyMeasurement : public FormFixture, public ::testing::WithParamInterface<CheckMethod> {
protected:
    void Connect(char revision, std::uint16_t mode) {
        m = GetParam();
        sim::SensorConfig c = sim::test::Sensor(1, "VKT02", m);
        c.revision = revision;
        StartLine({c});
        line->Modify(1, [mode](sim::SensorState& s) { s.settings.rangeMode = mode; });
        MakeForm();
        Click("BtnConnect");
        ASSERT_TRUE(form->State().connected);
        ShowSettingsPage();
        LineBytes();
    }
};

TEST_P(LegacyMeasurement, OffsetsScanAndAnalogVariables) {
    Connect('B', 3);
    SetText("editCosine", "0.9999");
    SetText("editMultiplier", "1.5");
    SetText("editRangeOffset", "3200.1");
    Click("BtnOffsets");
    ExpectRefused("editRangeOffset",
                  "Invalid Offset Entered!\r\n(Valid Range: -3200.0   to   3200.0)");
    SetText("editRangeOffset", "-10");
    Click("BtnOffsets");
    EXPECT_EQ(LineBytes(), Cat({Req(kCmdSetOffset, Words({0xFF9C, 9999, 1500, 0}, m)),
                                Req(kCmdGetSensorSetup)}));
    EXPECT_EQ(Text("editCosine"), "0.9999");
    EXPECT_EQ(Text("editMultiplier"), "1.500");
    EXPECT_EQ(Text("editRangeOffset"), "-10.0");

    SetText("editDropouts", "");
    Click("btnScanVars");
    EXPECT_EQ(Text("editDropouts"), "0");
    ExpectRefused("editDropouts", "Invalid DropOut Factor Entered!\r\n(Valid values: 1 - 50 )");
    SetText("editDropouts", "5");
    SetText("editSmooth", "10");
    SetText("editOrder", "3");
    SetText("editScanInterval", "100");
    Click("btnScanVars");
    EXPECT_EQ(LineBytes(),
              Cat({Req(kCmdSetFilterFactors, Words({5, 10, 3}, m)),
                   Req(kCmdSetScanInterval, Words({100}, m)), Req(kCmdGetSensorSetup)}));
    EXPECT_EQ(line->Snapshot(1).settings.scanInterval, 100);

    SetText("editMinRange", "10.0");
    Click("btnAnalog");
    ExpectRefused("editMinRange",
                  "Invalid Min Range Entered!\r\n(Valid Range: 0.0   to   -3200.0)");
    SetText("editMinRange", "-10.0");
    SetText("editMaxRange", "-3200");
    SetText("editMinVolt", "1");
    SetText("editMaxVolt", "9.999");
    SetText("editOutVolt", "0.5");
    SetText("editOffsetVolt", "0.25");
    Click("btnAnalog");
    Bytes analog = Words({1000, 0xFF9C, 9999, 0x8300, 250, 500}, m);
    analog.resize(20, 0);
    EXPECT_EQ(LineBytes(),
              Cat({Req(kCmdSetAnalogOutputFactors, analog), Req(kCmdGetAnalogFactors)}));
    EXPECT_EQ(Text("editMinRange"), "-10.0");
    EXPECT_EQ(Text("editMaxRange"), "-3200.0");
    EXPECT_EQ(Text("editOutVolt"), "0.500");
    EXPECT_EQ(Text("editOffsetVolt"), "0.250");

    // A read-back that fails is reported.
    line->InjectFault(1, {sim::FaultKind::BadCheck, -1});
    Click("BtnOffsets");
    EXPECT_EQ(Status(), "Error : Invalid CRC/Chksum");
    EXPECT_EQ(ComErrors(), 1);
    line->ClearFaults();
}

TEST_P(LegacyMeasurement, AveragingWithOtherFirmware) {
    Connect('B', 0);
    std::uint16_t word = line->Snapshot(1).settings.configWords[1];
    // 1000 ticks, down to 16 steps of 60: the period goes out low half first and the
    // sensor reports it high half first.
    SetText("editAvg", "10");
    Click("btnAvg");
    EXPECT_EQ(LineBytes(), Cat({Req(kCmdSetConfigVars, Words({0, word, 960, 0, 0}, m)),
                                Req(kCmdGetConfigVars)}));
    EXPECT_EQ(Text("editAvg"), "9.60");
    SetText("editAvg", "");
    Click("btnAvg");
    EXPECT_EQ(Text("editAvg"), "0.60");
    LineBytes();
    // 99960 ticks need both halves.
    SetText("editAvg", "1000");
    Click("btnAvg");
    EXPECT_EQ(LineBytes(), Cat({Req(kCmdSetConfigVars, Words({0, word, 0x8678, 1, 0}, m)),
                                Req(kCmdGetConfigVars)}));
    EXPECT_EQ(Text("editAvg"), "999.60");
    SetText("editAvg", "21474836.48");
    Click("btnAvg");
    ExpectRefused("editAvg",
                  "Invalid Average Interval Entered!\r\n(Valid values 0 - 21474836.47($7FFFFFFF)");
}

TEST_P(LegacyMeasurement, RevisionCUsesItsOwnCommandsAndFinerTicks) {
    Connect('C', 0);
    EXPECT_EQ(Text("pnlFirmware"), "1.23C");
    SetText("editAvg", "");
    Click("btnAvg");
    std::uint16_t word = line->Snapshot(1).settings.configWords[1];
    EXPECT_EQ(LineBytes(),
              Cat({Req(kCmdAveragingC, Words({0, word, 1500, 0, 0}, m)), Req(kCmdGetConfigVars)}));
    EXPECT_EQ(Text("editAvg"), "1.500");
    SetText("editAvg", "100.0");
    Click("btnAvg");
    EXPECT_EQ(Text("editAvg"), "99.000"); // 66 whole steps of 1500 ticks

    SetText("editOrder", "3");
    SetText("editScanInterval", "250");
    Click("btnScanVars");
    Bytes bytes = LineBytes();
    Bytes interval = Req(kCmdScanIntervalC, Words({250}, m));
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), interval.begin(), interval.end()),
              bytes.end());
    EXPECT_EQ(line->Snapshot(1).settings.scanInterval, 250);
}

TEST_P(LegacyMeasurement, UnpluggedSensorReportsNoResponse) {
    Connect('B', 0);
    line->Unplug();
    auto start = std::chrono::steady_clock::now();
    Click("BtnOffsets");
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now() - start)
                  .count();
    // The lost port is counted when the wait notices it, the missing reply after it.
    EXPECT_EQ(Status(), "Error : No Response");
    EXPECT_EQ(ComErrors(), 2);
    EXPECT_LT(ms, 1500);
    EXPECT_FALSE(form->State().busy);
}

INSTANTIATE_TEST_SUITE_P(BothMethods, LegacyMeasurement,
                         ::testing::Values(CheckMethod::Checksum, CheckMethod::Crc16),
                         sim::test::MethodName);

} // namespace
} // namespace vk::legacy::test
