// The buttons of the "Sensor Settings" page that set laser, identity, power limits,
// threshold, baud rate, mode, check method and defaults, in both check methods.

#include "legacy_test_support.h"
#include "legacy_tool/legacy_codes.h"
#include "legacy_tool/sensor_settings_page.h"
#include "tests/elapsed_ms.h"

#include <QComboBox>
#include <QTimer>

namespace vk::legacy::test {
namespace {

class LegacySettingsPage : public FormFixture, public ::testing::WithParamInterface<CheckMethod> {
protected:
    void SetUp() override {
        m = GetParam();
        MakeConnectedForm({sim::test::Sensor(1, "VKT02", m, "VK000001")});
    }
    sim::SensorState Sensor(std::uint8_t address = 1) const { return line->Snapshot(address); }
};

TEST_P(LegacySettingsPage, LaserPowerLimitsAndThreshold) {
    Click("btnLaserOff");
    EXPECT_EQ(LineBytes(), Cat({Req(kCmdSetLaserOff), Req(kCmdGetSensorSetup)}));
    EXPECT_EQ(Text("pnlLaser"), "LASER OFF");
    EXPECT_FALSE(Sensor().settings.laserOn);
    Click("btnLaserOn");
    EXPECT_EQ(LineBytes(), Cat({Req(kCmdSetLaserOn, {0xFF, 0xFF}), Req(kCmdGetSensorSetup)}));
    EXPECT_EQ(Text("pnlLaser"), "LASER ON");

    SetText("editMinPwr", "255");
    Click("btnMinPwr");
    ExpectRefused("editMinPwr", "Invalid Value Entered!\r\n(Valid values 0-254)");
    SetText("editMinPwr", "30");
    Click("btnMinPwr");
    EXPECT_EQ(LineBytes(), Cat({Req(kCmdSetMinLP, {30}), Req(kCmdGetMinLP)}));
    EXPECT_EQ(Sensor().settings.minLaserPower, 30);
    EXPECT_TRUE(Status().isEmpty());

    SetText("editMaxPwr", "");
    Click("btnMaxPwr");
    EXPECT_EQ(Text("editMaxPwr"), "0");
    EXPECT_EQ(LineBytes(), Cat({Req(kCmdSetMaxLP, {0}), Req(kCmdGetMaxLP)}));

    SetText("editThreshold", "256");
    Click("btnThreshold");
    ExpectRefused("editThreshold", "Invalid Value Entered!\r\n(Valid values 0-255)");
    SetText("editThreshold", "255");
    Click("btnThreshold");
    EXPECT_EQ(LineBytes(), Cat({Req(kCmdSetThreshold, {255}), Req(kCmdGetThreshold)}));
    EXPECT_EQ(Sensor().settings.threshold, 255);

    // The sensor ends up holding another value than was sent: "Error!" and what it holds.
    // The first wait after the request changes the value the sensor took.
    QTimer::singleShot(0, [this] {
        ASSERT_TRUE(line->WaitForState(
            1, [](const sim::SensorState& s) { return s.settings.threshold == 90; }, 2000));
        line->Modify(1, [](sim::SensorState& s) { s.settings.threshold = 17; });
    });
    SetText("editThreshold", "90");
    Click("btnThreshold");
    EXPECT_EQ(Text("editThreshold"), "17");
    EXPECT_EQ(Status(), "Error!");
    EXPECT_EQ(ComErrors(), 0);

    // A failed read-back of these fields is not reported.
    line->InjectFault(1, {sim::FaultKind::Silence, -1});
    Click("btnMinPwr");
    EXPECT_EQ(ComErrors(), 0);
    line->ClearFaults();
}

TEST_P(LegacySettingsPage, IdentityInServiceMode) {
    form->State().serviceMode = true;
    form->SettingsPage().ApplyServiceMode(true);

    SetText("editSerial", "ZX998877");
    Click("btnSerial");
    Bytes serial = {'Z', 'X', '9', '9', '8', '8', '7', '7', 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(LineBytes(), Cat({Req(kCmdSetSerialNum, serial), Req(kCmdGetSerialNum)}));
    EXPECT_EQ(Sensor().config.serialNumber, "ZX998877");
    EXPECT_EQ(Text("pnlSerial"), "ZX998877");

    // A byte above 0x7F, as a sensor may hold it, goes back as the one byte it came as.
    SetText("editSerial", QString::fromLatin1("ZX\xB5\xE9"
                                              "8877"));
    Click("btnSerial");
    serial[2] = 0xB5;
    serial[3] = 0xE9;
    EXPECT_EQ(LineBytes(), Cat({Req(kCmdSetSerialNum, serial), Req(kCmdGetSerialNum)}));
    EXPECT_EQ(Text("pnlSerial"), QString::fromLatin1("ZX\xB5\xE9"
                                                     "8877"));
    EXPECT_TRUE(Status().isEmpty());

    auto* models = Find<QComboBox>("cboModel");
    models->setCurrentIndex(3); // "Other" sends nothing, not even the status is touched
    form->SetStatus("kept");
    Click("btnModel");
    EXPECT_TRUE(LineBytes().empty());
    EXPECT_EQ(Status(), "kept");
    models->setCurrentIndex(1);
    Click("btnModel");
    Bytes field = {'0', ' ', 'K', 'R', '2', '-', 'B', 'B', '-', '2', 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(LineBytes(), Cat({Req(kCmdSetModelName, field), Req(kCmdGetModelName)}));
    EXPECT_EQ(Text("pnlModel"), "KR2-BB-2");

    for (const char* bad : {"0", "256"}) {
        SetText("editSensorAddress", bad);
        Click("BtnAddress");
        ExpectRefused("editSensorAddress", "Invalid Address Entered!\r\n(Valid values 1-255)");
    }
    SetText("editSensorAddress", "7");
    Click("BtnAddress");
    Bytes move = {'Z', 'X', 0xB5, 0xE9, '8', '8', '7', '7', 7};
    EXPECT_EQ(LineBytes(), Cat({Req(kCmdSetSensorAddress, move), Req(kCmdRangeReading, {}, 7)}));
    EXPECT_EQ(form->State().currentAddress, 7);
    EXPECT_EQ(Text("editAddress"), "7");
    EXPECT_TRUE(line->HasSensor(7));

    // The new address does not answer: "Error!", the tool stays with the old one.
    line->InjectFault(7, {sim::FaultKind::Silence, -1});
    SetText("editSensorAddress", "9");
    Click("BtnAddress");
    EXPECT_EQ(Status(), "Error!");
    EXPECT_EQ(form->State().currentAddress, 7);
    line->ClearFaults();
}

TEST_P(LegacySettingsPage, BaudModeCheckMethodAndDefaultsReconnect) {
    Find<QComboBox>("cboSensorBaud")->setCurrentIndex(2);
    Click("btnSensorBaud");
    Bytes bytes = LineBytes();
    Bytes set = Req(kCmdSetBaudRate, {2});
    ASSERT_GE(bytes.size(), set.size());
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(set.size())), set);
    EXPECT_EQ(Sensor().config.baudRate, 38400);
    EXPECT_TRUE(form->State().connected);
    EXPECT_EQ(form->State().hostBaud, 38400);
    EXPECT_EQ(Find<QComboBox>("cboHostBaud")->currentIndex(), 2);

    Find<QComboBox>("cboMode")->setCurrentIndex(2);
    Click("btnMode");
    Bytes word = m == CheckMethod::Checksum ? Bytes{2, 0} : Bytes{0, 2};
    bytes = LineBytes();
    Bytes mode = Req(kCmdSetMode, word);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(mode.size())), mode);
    EXPECT_EQ(Find<QComboBox>("cboMode")->currentIndex(), 2);
    EXPECT_EQ(Text("lblRangeUnit"), "(mm)");

    CheckMethod other = m == CheckMethod::Checksum ? CheckMethod::Crc16 : CheckMethod::Checksum;
    Find<QComboBox>("cboCRC")->setCurrentIndex(other == CheckMethod::Crc16 ? 1 : 0);
    Click("btnErrChk");
    bytes = LineBytes();
    Bytes check = Req(kCmdSetSensorCheckMode,
                      {static_cast<std::uint8_t>(other == CheckMethod::Crc16 ? 0 : 1)});
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(check.size())),
              check);
    EXPECT_TRUE(form->State().connected);
    EXPECT_EQ(form->State().method, other);
    EXPECT_EQ(Find<QComboBox>("cboCRC")->currentIndex(), other == CheckMethod::Crc16 ? 1 : 0);

    // Defaults in reset mode also send the purge, then reconnect at address 1.
    m = other;
    line->Modify(1, [](sim::SensorState& s) { s.settings.threshold = 3; });
    form->State().resetMode = true;
    SetText("editAddress", "5");
    Click("Button2");
    bytes = LineBytes();
    Bytes defaults = Cat({Req(kCmdSetDefaults), Req(kCmdResetMode)});
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(defaults.size())),
              defaults);
    EXPECT_FALSE(form->State().resetMode);
    EXPECT_EQ(Text("editAddress"), "1");
    EXPECT_TRUE(form->State().connected);
    EXPECT_EQ(Text("editThreshold"), "40");
}

TEST_P(LegacySettingsPage, ClosingMidSequenceSendsNothingMore) {
    // The window closes during the first wait after the request.
    QTimer::singleShot(0, [this] { form->close(); });
    SetText("editThreshold", "90");
    double ms = vk::test::ElapsedMs([this] { Click("btnThreshold"); });
    EXPECT_LT(ms, kSetPauseMs / 2.0);
    ASSERT_TRUE(line->WaitIdle(2000));
    EXPECT_EQ(LineBytes(), Req(kCmdSetThreshold, {90}));
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->State().busy);
    EXPECT_FALSE(form->Comm().Timer1().isActive());

    // Nor does anything else start: not even Connect, which would reopen the port.
    Click("BtnConnect");
    EXPECT_TRUE(prompts.shown.empty());
    ASSERT_TRUE(line->WaitIdle(2000));
    EXPECT_TRUE(LineBytes().empty());
}

INSTANTIATE_TEST_SUITE_P(BothMethods, LegacySettingsPage,
                         ::testing::Values(CheckMethod::Checksum, CheckMethod::Crc16),
                         sim::test::MethodName);

} // namespace
} // namespace vk::legacy::test
