// The VKT04, Rmx Short and Vezir Orududu settings dialogs in the running utility against
// simulated sensors, one session per model in each check method: what every button puts
// on the line, what the dialog shows after the read-back, the refusals that send
// nothing, and the pairs the "System:" bar lists.
#include "settings_dlg_test_support.h"

#include "panels/rmx_short_settings_dlg.h"
#include "panels/vkt04_settings_dlg.h"
#include "panels/vkt04bf_panel.h"
#include "panels/vkt04bf_settings_dlg.h"
#include "util_app/docking_bars.h"
#include "util_app/frame.h"
#include "util_app/log_dialog.h"
#include "util_app/view.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>

namespace vk::test {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

class Vkt04SettingsSession : public SettingsDlgTest<CVKT04SettingsDlg>,
                             public ::testing::WithParamInterface<CheckMethod> {};

TEST_P(Vkt04SettingsSession, EveryButtonSendsItsValueAndReadsTheSetupBack) {
    const bool crc = GetParam() == CheckMethod::Crc16;
    Start();
    // GetVKT04Setup and GetNumHoldScans after every write.
    ConnectTo(crc ? "0 K4-D-5HO" : "0 K4-D-4", GetParam(), {19, 68});
    EXPECT_EQ(dialog_->Values().texts.threshold, "40"); // read while closed
    Open();
    EXPECT_EQ(dialog_->windowTitle(), "Settings");
    ASSERT_EQ(Box("modeBox")->count(), 2);
    EXPECT_EQ(Box("modeBox")->itemText(0), "0:  From 00.000 to  8.000 inch");
    EXPECT_EQ(Box("modeBox")->itemText(1), "1:  From 00.00 to  200.00 mm");
    EXPECT_EQ(Box("modeBox")->currentIndex(), 0);
    EXPECT_EQ(Shown("maxRange"), "10.000");
    EXPECT_EQ(Shown("voltsAtMaxRange"), "10.000");
    auto* hold = dialog_->findChild<QCheckBox*>(QStringLiteral("holdEnable"));
    EXPECT_FALSE(hold->isChecked());

    Type("minLaserPower", "0");
    Press("setMinLaserPower");
    EXPECT_EQ(Sent(), Request(84, {0}) + Reload());
    Type("minLaserPower", "255");
    ExpectRefused("setMinLaserPower", "Min laser power must be between 0 and 255");
    // The powers are signed: a minus sign typed before a digit stays, and is refused.
    Type("minLaserPower", "5");
    QTest::keyClick(Field("minLaserPower"), Qt::Key_Home);
    QTest::keyClick(Field("minLaserPower"), '-');
    EXPECT_EQ(Shown("minLaserPower"), "-5");
    ExpectRefused("setMinLaserPower", "Min laser power must be between 0 and 255");
    Type("maxLaserPower", "254");
    Press("setMaxLaserPower");
    EXPECT_EQ(Sent(), Request(83, {254}) + Reload());
    Type("maxLaserPower", "255");
    ExpectRefused("setMaxLaserPower", "Max laser power must be between 0 and 254");
    Type("threshold", "255");
    Press("setThreshold");
    EXPECT_EQ(Sent(), Request(82, {255}) + Reload());
    Type("threshold", "256");
    ExpectRefused("setThreshold", "Threshold must be between 0 and 255");

    Type("minRange", "1.5");
    Press("setMinRange");
    EXPECT_EQ(Sent(), Request(93, Words({1500})) + Reload());
    EXPECT_EQ(Shown("minRange"), "1.500");
    Type("maxRange", "9");
    ExpectRefused("setMaxRange", "Range values must be between 0.000 inch and 8.000 inch");
    // The mode chosen in the box (millimetres, x 100) governs before it is sent, and the
    // unit beside the range fields says so.
    EXPECT_EQ(dialog_->findChild<QLabel*>(QStringLiteral("maxRangeUnit"))->text(), "inch");
    Box("modeBox")->setCurrentIndex(1);
    EXPECT_EQ(dialog_->findChild<QLabel*>(QStringLiteral("maxRangeUnit"))->text(), "mm");
    Type("maxRange", "150");
    Press("setMaxRange");
    EXPECT_EQ(Sent(), Request(94, Words({15000})) + Reload());
    EXPECT_EQ(Box("modeBox")->currentIndex(), 0);
    EXPECT_EQ(Shown("maxRange"), "15.000");
    // No mode selected: the fallback row takes only 0, and "Set Mode" does nothing at all.
    Box("modeBox")->setCurrentIndex(-1);
    Type("minRange", "0.5");
    ExpectRefused("setMinRange",
                  "Range values must be between Unknown mode number and Unknown mode number");
    Box("modeBox")->setCurrentIndex(-1);
    Press("setMode");
    EXPECT_TRUE(Sent().empty());

    Type("voltsAtMinRange", "1.001");
    Press("setVoltsAtMinRange");
    EXPECT_EQ(Sent(), Request(90, Words({1001})) + Reload());
    EXPECT_EQ(Shown("voltsAtMinRange"), "1.001");
    Type("voltsAtMaxRange", "9.5");
    Press("setVoltsAtMaxRange");
    EXPECT_EQ(Sent(), Request(91, Words({9500})) + Reload());
    Type("voltsOutOfRange", "0.1");
    Press("setVoltsOutOfRange");
    EXPECT_EQ(Sent(), Request(146, Words({100})) + Reload());

    Box("modeBox")->setCurrentIndex(1);
    Press("setMode");
    EXPECT_EQ(Sent(), Request(36, {1}) + Reload());
    EXPECT_EQ(Box("modeBox")->currentIndex(), 1);
    EXPECT_EQ(Shown("maxRange"), "150.00");

    hold->click();
    EXPECT_EQ(Sent(), Request(40, {1}) + Reload());
    EXPECT_EQ(Held().holdLastValidRange, 1);
    EXPECT_TRUE(hold->isChecked());
    hold->click();
    EXPECT_EQ(Sent(), Request(40, {0}) + Reload());
    Type("holdScans", "12.7");
    Press("setHoldScans");
    EXPECT_EQ(Sent(), Request(67, Words({12})) + Reload());
    EXPECT_EQ(Shown("holdScans"), "12");
    // Far beyond a word, still a defined word: 10^9 modulo 2^16.
    Type("holdScans", "1e9");
    Press("setHoldScans");
    EXPECT_EQ(Sent(), Request(67, Words({51712})) + Reload());

    // The setup's ranges are read unsigned.
    line->Modify(1, [](sim::SensorState& s) { s.settings.analog.minRange = 40000; });
    Press("refresh");
    EXPECT_EQ(Sent(), Reload());
    EXPECT_EQ(Shown("minRange"), "400.00");

    EXPECT_EQ(SettingsList(), (Rows{{"Mode", "1:  From 00.00 to  200.00 mm"},
                                    {"Min. Laser Power", "0"},
                                    {"Max. Laser Power", "254"},
                                    {"Threshold", "255"},
                                    {"Min. Range", "400.00"},
                                    {"Max. Range", "150.00"},
                                    {"Min. Volts", "1.001"},
                                    {"Max. Volts", "9.500"},
                                    {"Out of Range", "0.100"},
                                    {"Hold Last Valid Range", "Disabled"},
                                    {"Max samples to hold last range", "51712"}}));
    Press("close");
    EXPECT_FALSE(dialog_->isVisible());
}

class RmxShortSettingsSession : public SettingsDlgTest<CRMXSSettingsDlg>,
                                public ::testing::WithParamInterface<CheckMethod> {};

TEST_P(RmxShortSettingsSession, EveryValueGoesOutAsTypedInTheOneRangeMode) {
    const bool crc = GetParam() == CheckMethod::Crc16;
    Start();
    // The mode byte of the setup is not this sensor's business: ranges are always x 1000.
    ConnectTo(crc ? "0 RMX7-GG-77" : "0 RMX2000", GetParam(), {19},
              [this] { line->Modify(1, [](sim::SensorState& s) { s.settings.rangeMode = 1; }); });
    Open();
    EXPECT_EQ(Box("modeBox"), nullptr);
    EXPECT_EQ(dialog_->findChild<QCheckBox*>(), nullptr);
    EXPECT_TRUE(Field("minLaserPower")->DigitsOnly()); // sent unsigned: no minus sign
    EXPECT_EQ(Shown("maxRange"), "10.000");

    const struct {
        const char* field;
        const char* text;
        const char* button;
        Bytes request;
        const char* shown; // after the read-back
    } writes[] = {
        {"minLaserPower", "300", "setMinLaserPower", Request(84, {44}), "44"},
        {"maxLaserPower", "255", "setMaxLaserPower", Request(83, {255}), "255"},
        {"threshold", "256", "setThreshold", Request(82, {0}), "0"},
        {"minRange", "35", "setMinRange", Request(93, Words({35000})), "35.000"},
        {"maxRange", "70", "setMaxRange", Request(94, Words({70000 - 65536})), "4.464"},
        {"voltsAtMinRange", "2", "setVoltsAtMinRange", Request(90, Words({2000})), "2.000"},
        {"voltsAtMaxRange", "8", "setVoltsAtMaxRange", Request(91, Words({8000})), "8.000"},
        {"voltsOutOfRange", "0", "setVoltsOutOfRange", Request(146, Words({0})), "0.000"},
    };
    for (const auto& w : writes) {
        SCOPED_TRACE(w.button);
        Type(w.field, w.text);
        Press(w.button);
        EXPECT_EQ(Sent(), w.request + Reload());
        EXPECT_EQ(Shown(w.field), w.shown);
    }
    EXPECT_TRUE(prompts.shown.empty());

    EXPECT_EQ(SettingsList(), (Rows{{"Min. Laser Power", "44"},
                                    {"Max. Laser Power", "255"},
                                    {"Threshold", "0"},
                                    {"Min. Range", "35.000"},
                                    {"Max. Range", "4.464"},
                                    {"Min. Volts", "2.000"},
                                    {"Max. Volts", "8.000"},
                                    {"Out of Range", "0.000"}}));
    dialog_->hide();
}

class Vkt04BfSettingsTest : public SettingsDlgTest<CVKT04BFSettingsDlg> {
protected:
    // GetVKT04Setup, ReadWaneParams and GetBoardTimeout after every write.
    void Connect(CheckMethod method, const std::function<void()>& beforeConnect = {}) {
        ConnectTo("0 K4-D-4BF", method, {19, 47, 49}, beforeConnect);
    }
    // The wane record with the bytes the sensor keeps at 6 to 9.
    Bytes Wane(int height, int width, int speed, int pulse) const {
        return Words({height, width, speed}) + Bytes{0x5A, 0x01, 0xC3, 0x10} + Words({pulse});
    }
};

class Vkt04BfSettingsSession : public Vkt04BfSettingsTest,
                               public ::testing::WithParamInterface<CheckMethod> {};

TEST_P(Vkt04BfSettingsSession, WaneVariablesTimeoutLaserAndTheSharedButtons) {
    Start();
    Connect(GetParam());
    Open();
    ASSERT_EQ(Box("modeBox")->count(), 2);
    EXPECT_EQ(Box("modeBox")->itemText(0), "0:  From 00.000 to  8.000 inch");
    EXPECT_EQ(Box("modeBox")->itemText(1), "1:  From 00.00 to  200.00 mm");
    EXPECT_EQ(dialog_->findChild<QCheckBox*>(), nullptr); // no hold group
    EXPECT_EQ(Shown("minWaneHeight"), "0.020");
    EXPECT_EQ(Shown("minWaneWidth"), "0.010");
    EXPECT_EQ(Shown("boardTimeout"), "1000");

    Type("minLaserPower", "255");
    ExpectRefused("setMinLaserPower", "Min laser power must be between 0 and 254");
    Type("maxLaserPower", "255");
    ExpectRefused("setMaxLaserPower", "Max laser power must be between 0 and 254");
    Type("threshold", "256");
    ExpectRefused("setThreshold", "Thresholdmust be between 0 and 255");
    Type("threshold", "7");
    Press("setThreshold");
    EXPECT_EQ(Sent(), Request(82, {7}) + Reload());
    Type("maxRange", "2");
    Press("setMaxRange");
    EXPECT_EQ(Sent(), Request(94, Words({2000})) + Reload());

    // The wane sizes are scaled with the sensor's mode, not the box's: 0.25 inch is 250.
    Box("modeBox")->setCurrentIndex(1);
    Type("minWaneHeight", "0.25");
    Type("minWaneWidth", "0.1");
    Type("conveyerSpeed", "600");
    Type("pulseDuration", "50");
    Type("boardTimeout", "2000");
    Press("setWaneVariables");
    EXPECT_EQ(Sent(), Request(46, Wane(250, 100, 600, 50)) + Request(48, Words({2000})) + Reload());
    EXPECT_EQ(Shown("minWaneHeight"), "0.250");
    EXPECT_EQ(Shown("pulseDuration"), "50");

    Box("modeBox")->setCurrentIndex(1);
    Press("setMode");
    EXPECT_EQ(Sent(), Request(36, {1}) + Reload());
    EXPECT_EQ(Shown("minWaneHeight"), "2.50");
    Type("minWaneHeight", "12.5");
    Press("setWaneVariables");
    EXPECT_EQ(Sent(),
              Request(46, Wane(1250, 100, 600, 50)) + Request(48, Words({2000})) + Reload());

    // The laser buttons switch the laser and nothing else.
    Type("threshold", "99");
    Press("laserOff");
    EXPECT_EQ(Sent(), Request(2));
    EXPECT_FALSE(Held().laserOn);
    Press("laserOn");
    EXPECT_EQ(Sent(), Request(1, {0xFF, 0xFF}));
    EXPECT_TRUE(Held().laserOn);
    EXPECT_EQ(dialog_->Values().texts.threshold, "7");

    EXPECT_EQ(SettingsList(), (Rows{{"Mode", "1:  From 00.00 to  200.00 mm"},
                                    {"Min. Laser Power", "20"},
                                    {"Max. Laser Power", "200"},
                                    {"Threshold", "7"},
                                    {"Min. Range", "0.00"},
                                    {"Max. Range", "20.00"},
                                    {"Min. Volts", "0.000"},
                                    {"Max. Volts", "10.000"},
                                    {"Out of Range", "0.000"},
                                    {" ", " "},
                                    {"Min Wane Height", "12.50"},
                                    {"Min Wane Width", "1.00"},
                                    {"Pulse duration", "50"},
                                    {"Conveyer Speed", "600"},
                                    {"Board timeout", "2000"}}));
    dialog_->hide();
}

// When the connect could not read the wane record, its unused bytes are read before the
// record is written, so the sensor keeps them.
TEST_F(Vkt04BfSettingsTest, WaneRecordNotYetReadIsReadBeforeItIsWritten) {
    Start();
    Connect(CheckMethod::Checksum, [this] {
        sim::Fault silence{sim::FaultKind::Silence};
        silence.packetId = 47; // ReadWaneParams
        line->InjectFault(1, silence);
    });
    // The failed reload at the connect left the dialog as it was.
    EXPECT_TRUE(dialog_->Values().texts.threshold.empty());
    const std::vector<std::string> log = LogTexts();
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "Command ReadWaneParams failed. dcs_ReadHeader timeout waiting for STX"),
              log.end());
    Open();
    Type("minWaneHeight", "0.03");
    Type("minWaneWidth", "0.02");
    Type("conveyerSpeed", "400");
    Type("pulseDuration", "80");
    Type("boardTimeout", "900");
    Press("setWaneVariables");
    EXPECT_EQ(Sent(), Request(47) + Request(46, Wane(30, 20, 400, 80)) + Request(48, Words({900})) +
                          Reload());
    EXPECT_EQ(Held().wane.reserved, (std::array<std::uint8_t, 4>{0x5A, 0x01, 0xC3, 0x10}));
    dialog_->hide();
}

// Every button that talks to the sensor keeps the refresh ticks out while it does.
TEST_F(Vkt04BfSettingsTest, ButtonsHoldTheExchangeGuardWhileTheyTalk) {
    Start();
    Connect(CheckMethod::Checksum);
    Open();
    // With the successes logged, each command adds a line while it runs.
    std::vector<bool> held;
    QObject hook;
    QObject::connect(Frame().LogBar()->Log()->List()->model(), &QAbstractItemModel::rowsInserted,
                     &hook, [&] { held.push_back(Doc().Exchanges().Held()); });
    Doc().Sensor().SetLogSuccesses(true);
    Press("setThreshold"); // SetThreshold, then the three reads
    Press("laserOn");
    Press("refresh");
    auto* panel = dynamic_cast<CVKT04BFDlg*>(Frame().View()->CurrentPanel());
    ASSERT_NE(panel, nullptr);
    bool readerHeld = false;
    panel->SetScanBufferReader([&](QWidget*, int) { readerHeld = Doc().Exchanges().Held(); });
    panel->ReadScanBufferButton()->click();
    Sent();
    EXPECT_EQ(held, std::vector<bool>(4 + 1 + 3, true));
    EXPECT_TRUE(readerHeld);
    EXPECT_FALSE(Doc().Exchanges().Held());
    dialog_->hide();
}

INSTANTIATE_TEST_SUITE_P(Sensors, Vkt04SettingsSession,
                         ::testing::Values(CheckMethod::Checksum, CheckMethod::Crc16),
                         sim::test::MethodName);
INSTANTIATE_TEST_SUITE_P(Sensors, RmxShortSettingsSession,
                         ::testing::Values(CheckMethod::Checksum, CheckMethod::Crc16),
                         sim::test::MethodName);
INSTANTIATE_TEST_SUITE_P(Sensors, Vkt04BfSettingsSession,
                         ::testing::Values(CheckMethod::Checksum, CheckMethod::Crc16),
                         sim::test::MethodName);

} // namespace
} // namespace vk::test
