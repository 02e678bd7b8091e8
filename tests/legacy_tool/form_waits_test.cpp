// The waits of the protocol, seen where they count: on the line, between the request
// before and the request after. The time a click took is measured on the tool's own
// thread and is never shorter than its waits.

#include "legacy_test_support.h"
#include "legacy_tool/legacy_codes.h"
#include "tests/elapsed_ms.h"

#include <QComboBox>

namespace vk::legacy::test {
namespace {

// A wait of `ms` counts whole ticks of a millisecond clock, the first maybe just begun.
constexpr double kTick = 1;

class LegacyWaits : public FormFixture, public ::testing::WithParamInterface<CheckMethod> {
protected:
    void SetUp() override {
        m = GetParam();
        MakeConnectedForm({sim::test::Sensor(1, "VKT02", m)});
    }
    // Clicks `button` and returns the arrival times of `requests`, with how long the
    // click took.
    std::vector<double> Timed(const char* button, const std::vector<Bytes>& requests,
                              double& clickMs) {
        LineRecorder recorder(*line);
        clickMs = vk::test::ElapsedMs([&] { Click(button); });
        return recorder.Arrivals(requests);
    }
};

TEST_P(LegacyWaits, PausesAndSetWaitsSitBetweenTheirRequests) {
    const Bytes probe = sim::test::Frame(CheckMethod::Checksum, 1, kCmdRangeReading);
    double ms = 0;

    auto t = Timed("btnLaserOn", {Req(kCmdSetLaserOn, {0xFF, 0xFF}), Req(kCmdGetSensorSetup)}, ms);
    EXPECT_GE(ms, kLaserPauseMs - kTick);
    ExpectGap(t, 0, kLaserPauseMs, "laser");

    SetText("editThreshold", "50");
    t = Timed("btnThreshold", {Req(kCmdSetThreshold, {50}), Req(kCmdGetThreshold)}, ms);
    if (m == CheckMethod::Checksum) {
        EXPECT_GE(ms, kSetPauseMs - kTick);
        ExpectGap(t, 0, kSetPauseMs, "set wait");
    } else {
        // The acknowledgement came at once and was read: no fixed pause.
        ExpectGap(t, 0, 0, "acknowledgement");
        // One that never comes holds the read-back for the whole acknowledgement wait.
        line->InjectFault(1, {sim::FaultKind::Silence, 1});
        t = Timed("btnThreshold", {Req(kCmdSetThreshold, {50}), Req(kCmdGetThreshold)}, ms);
        EXPECT_GE(ms, kAcknowledgeMs - kTick);
        ExpectGap(t, 0, kAcknowledgeMs, "missing acknowledgement");
        EXPECT_EQ(ComErrors(), 0);
    }

    // A check method change waits for the sensor before Connect probes anew.
    Find<QComboBox>("cboCRC")->setCurrentIndex(m == CheckMethod::Crc16 ? 1 : 0);
    std::uint8_t method = m == CheckMethod::Crc16 ? 0x00 : 0x01;
    t = Timed("btnErrChk", {Req(kCmdSetSensorCheckMode, {method}), probe}, ms);
    EXPECT_GE(ms, kCheckModePauseMs - kTick);
    ExpectGap(t, 0, kCheckModePauseMs, "check method");
    ASSERT_TRUE(form->State().connected);

    // Defaults: a pause after SetDefaults, and after the reset-mode command when it is on.
    t = Timed("Button2", {Req(kCmdSetDefaults), probe}, ms);
    EXPECT_GE(ms, kDefaultsPauseMs - kTick);
    ExpectGap(t, 0, kDefaultsPauseMs, "defaults");
    ASSERT_TRUE(form->State().connected);
    form->State().resetMode = true;
    t = Timed("Button2", {Req(kCmdSetDefaults), Req(kCmdResetMode), probe}, ms);
    EXPECT_GE(ms, 2 * kDefaultsPauseMs - kTick);
    ExpectGap(t, 0, kDefaultsPauseMs, "defaults in reset mode");
    ExpectGap(t, 1, kDefaultsPauseMs, "reset-mode command");
}

INSTANTIATE_TEST_SUITE_P(BothMethods, LegacyWaits,
                         ::testing::Values(CheckMethod::Checksum, CheckMethod::Crc16),
                         sim::test::MethodName);

} // namespace
} // namespace vk::legacy::test
