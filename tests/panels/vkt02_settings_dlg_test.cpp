// The VKT02 settings dialog in the running utility against a simulated VKT02 (checksum)
// and Rmx Long (CRC): what each button puts on the line, what the dialog shows after the
// read-back, and the refusals that send nothing.
#include "settings_dlg_test_support.h"

#include "panels/vkt02_diags_page.h"
#include "panels/vkt02_panel.h"
#include "panels/vkt02_settings_dlg.h"
#include "util_app/docking_bars.h"
#include "util_app/frame.h"
#include "util_app/log_dialog.h"
#include "util_app/range_modes.h"
#include "util_app/view.h"

#include <QCheckBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>

namespace vk::test {
namespace {

class Vkt02SettingsTest : public SettingsDlgTest<CVKT02SettingsDlg> {
protected:
    // Every write is followed by GetSensorSetup, GetMinLP, GetMaxLP, GetAnalogFactors and
    // GetConfigVars.
    void Connect(const std::string& model, CheckMethod method,
                 const std::function<void()>& beforeConnect = {}) {
        ConnectTo(model, method, {19, 130, 129, 27, 32}, beforeConnect);
    }
};

class Vkt02SettingsSession : public Vkt02SettingsTest,
                             public ::testing::WithParamInterface<CheckMethod> {};

// One session per sensor: the VKT02 on checksum, the Rmx Long on CRC (which also reads
// an acknowledgement after every write).
TEST_P(Vkt02SettingsSession, EveryButtonWritesItsGroupAndReadsEverythingBack) {
    const bool crc = GetParam() == CheckMethod::Crc16;
    Start();
    Connect(crc ? "RMXL" : "VKT02", GetParam());

    // The connect read the settings while the dialog was closed.
    EXPECT_EQ(dialog_->Values().texts.threshold, "40");
    EXPECT_EQ(dialog_->Values().texts.averagingPeriod, "15.00");
    Open();
    EXPECT_EQ(dialog_->windowTitle(), "Settings");
    EXPECT_EQ(Shown("maxRange"), "10.000");
    EXPECT_EQ(Shown("cosine"), "1.0000");
    ASSERT_EQ(Box("modeBox")->count(), 16);
    EXPECT_EQ(Box("modeBox")->itemText(2), "2:  From 0000.0 to 3200.0mm");
    EXPECT_EQ(Box("modeBox")->currentIndex(), 0);
    EXPECT_EQ(Box("laserBox")->currentText(), "On");
    EXPECT_EQ(Box("orderBox")->currentIndex(), -1); // the sensor's order 2 is not an item

    Type("threshold", "41");
    Press("setThreshold");
    EXPECT_EQ(Sent(), Request(82, {41}) + Reload());
    EXPECT_EQ(Held().threshold, 41);
    Type("threshold", "256");
    ExpectRefused("setThreshold", "Thresholdmust be between 0 and 255");
    Type("threshold", "254");
    dialog_->findChild<QToolButton*>(QStringLiteral("thresholdUp"))->click();
    dialog_->findChild<QToolButton*>(QStringLiteral("thresholdUp"))->click();
    EXPECT_EQ(Shown("threshold"), "255");

    Type("minLaserPower", "0");
    Press("setMinLaserPower");
    EXPECT_EQ(Sent(), Request(84, {0}) + Reload());
    EXPECT_EQ(Shown("minLaserPower"), "0");
    Type("minLaserPower", "255");
    ExpectRefused("setMinLaserPower", "Min laser power must be between 1 and 254");
    Type("maxLaserPower", "254");
    Press("setMaxLaserPower");
    EXPECT_EQ(Sent(), Request(83, {254}) + Reload());
    Type("maxLaserPower", "255");
    ExpectRefused("setMaxLaserPower", "Max laser power must be between 1 and 254");

    Type("scanInterval", "25");
    Press("setScanInterval");
    EXPECT_EQ(Sent(), Request(5, Words({25})) + Reload());
    EXPECT_EQ(Shown("scanInterval"), "25");

    // An order the box lacks goes back as the sensor reported it.
    Type("dropout", "7");
    Type("smooth", "9");
    Press("setFilterFactors");
    EXPECT_EQ(Sent(), Request(14, Words({7, 9, 2})) + Reload());
    Box("orderBox")->setCurrentIndex(2);
    Press("setFilterFactors");
    EXPECT_EQ(Sent(), Request(14, Words({7, 9, 5})) + Reload());
    EXPECT_EQ(Box("orderBox")->currentText(), "5");

    Box("laserBox")->setCurrentIndex(1);
    Press("setLaser");
    EXPECT_EQ(Sent(), Request(2) + Reload());
    EXPECT_FALSE(Held().laserOn);
    EXPECT_EQ(Box("laserBox")->currentText(), "Off");
    Box("laserBox")->setCurrentIndex(0);
    Press("setLaser");
    EXPECT_EQ(Sent(), Request(1, {0xFF, 0xFF}) + Reload());

    // The mode chosen in the box (millimetres, x 10) governs before it is sent.
    Box("modeBox")->setCurrentIndex(2);
    Type("rangeOffset", "-12.5");
    Type("multiplier", "-1.5");
    Type("cosine", "0.5");
    Press("setRangeOffset");
    EXPECT_EQ(Sent(), Request(8, Words({-125, 5000, -1500, 0})) + Reload());
    EXPECT_EQ(Box("modeBox")->currentIndex(), 0); // the sensor is still in mode 0
    EXPECT_EQ(Shown("rangeOffset"), "-0.125");
    EXPECT_EQ(Shown("multiplier"), "-1.500");
    Type("cosine", "1.00001");
    ExpectRefused("setRangeOffset", "Cosine must be between 0 and 1.0000");

    Type("minRange", "1.5");
    Type("maxRange", "30");
    Type("voltsAtMinRange", "1.25");
    Type("voltsAtMaxRange", "9.5");
    Type("offsetVoltage", "-0.25");
    Type("voltsOutOfRange", "0.1");
    Press("setAnalogFactors");
    EXPECT_EQ(Sent(),
              Request(26, Words({1250, 1500, 9500, 30000, -250, 100, 0, 0, 0, 0})) + Reload());
    EXPECT_EQ(Shown("voltsAtMinRange"), "1.250");
    EXPECT_EQ(Shown("offsetVoltage"), "-0.250");
    Type("maxRange", "33");
    ExpectRefused("setAnalogFactors", "Range values must be between 0.000 inch and 32.000 inch");

    // 100 ticks per ms in 60-tick quanta: 10 ms is 960 ticks, sent low half first; the
    // sensor reports it high half first.
    Type("averagingPeriod", "10");
    Press("setAveragingPeriod");
    EXPECT_EQ(Sent(), Request(33, Words({100, 0, 960, 0}) + Bytes{0, 0}) + Reload());
    EXPECT_EQ(Shown("averagingPeriod"), "9.60");
    Type("averagingPeriod", "300000");
    ExpectRefused("setAveragingPeriod", "Averaging period must be between 0 and 21474836.47");

    Box("modeBox")->setCurrentIndex(3);
    Press("setMode");
    EXPECT_EQ(Sent(), Request(9, Words({3})) + Reload());
    EXPECT_EQ(Box("modeBox")->currentIndex(), 3);
    EXPECT_EQ(Shown("maxRange"), "3000.0"); // 30000 raw in millimetres

    // Refresh reads what changed behind the dialog's back, and the sensor's own address
    // replaces the global one.
    line->Modify(1, [](sim::SensorState& s) { s.settings.threshold = 99; });
    Doc().Sensor().SetAddress(0);
    Press("refresh");
    EXPECT_EQ(Doc().Sensor().Address(), 1);
    EXPECT_EQ(Shown("threshold"), "99");

    std::vector<std::string> names, values;
    dialog_->GetSettingsList(names, values);
    ASSERT_EQ(values.size(), 19u);
    EXPECT_EQ(names[1], "Mode");
    EXPECT_EQ(values[1], GetRangeMode(ModelType::VKT02, 3).description);
    EXPECT_EQ(values[9], "99");

    Press("close");
    EXPECT_FALSE(dialog_->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Sensors, Vkt02SettingsSession,
                         ::testing::Values(CheckMethod::Checksum, CheckMethod::Crc16),
                         sim::test::MethodName);

TEST_F(Vkt02SettingsTest, EveryEntryFieldIsANumericFieldAndTheTextsWaitForTheWindow) {
    Start();
    Connect("VKT02", CheckMethod::Checksum);
    const std::pair<const char*, bool> fields[] = {
        {"rangeOffset", false},    {"multiplier", false},      {"cosine", false},
        {"minLaserPower", true},   {"maxLaserPower", true},    {"minRange", false},
        {"maxRange", false},       {"voltsAtMinRange", false}, {"voltsAtMaxRange", false},
        {"offsetVoltage", false},  {"voltsOutOfRange", false}, {"dropout", true},
        {"smooth", true},          {"scanInterval", true},     {"threshold", true},
        {"averagingPeriod", false}};
    for (const auto& [name, digitsOnly] : fields) {
        ASSERT_NE(Field(name), nullptr) << name;
        EXPECT_EQ(Field(name)->DigitsOnly(), digitsOnly) << name;
    }

    // A reload while closed changes the values, not the controls; they follow on opening.
    line->Modify(1, [](sim::SensorState& s) { s.settings.smoothFactor = 12; });
    Doc().ReloadSettings();
    EXPECT_EQ(Sent(), Reload());
    EXPECT_EQ(dialog_->Values().texts.smooth, "12");
    EXPECT_EQ(Shown("smooth"), "");
    Open();
    EXPECT_EQ(Shown("smooth"), "12");

    // An empty field counts as 0.
    Type("dropout", "");
    Press("setFilterFactors");
    EXPECT_EQ(Sent(), Request(14, Words({0, 12, 2})) + Reload());
    dialog_->hide();
}

// A sensor that stops answering in the middle of a reload leaves the dialog as it was.
TEST_F(Vkt02SettingsTest, AFailedReadKeepsTheValuesAndPostsNothing) {
    Start();
    Connect("VKT02", CheckMethod::Checksum);
    Open();
    QCoreApplication::processEvents();
    const Vkt02Settings before = dialog_->Values();
    const std::uint8_t address = Doc().Sensor().Address();
    line->Modify(1, [](sim::SensorState& s) { s.settings.threshold = 5; });
    sim::Fault silence{sim::FaultKind::Silence};
    silence.packetId = 27; // GetAnalogFactors
    line->InjectFault(1, silence);
    const int refills = Frame().SensorBar()->RefillCount();

    Press("refresh");
    EXPECT_EQ(Sent(), Frames(method_, 1, {19, 130, 129, 27}));
    EXPECT_EQ(Shown("threshold"), before.texts.threshold);
    EXPECT_EQ(dialog_->Values().texts.threshold, before.texts.threshold);
    EXPECT_EQ(Doc().Sensor().Address(), address);
    EXPECT_EQ(LogTexts().back(),
              "Command GetAnalogFactors failed. dcs_ReadHeader timeout waiting for STX");
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame().SensorBar()->RefillCount(), refills);
    dialog_->hide();
}

// When the connect could not read the configuration record, the averaging period is not
// written into a record of zeros: the record is read first, so the sensor keeps its
// other configuration words.
TEST_F(Vkt02SettingsTest, AveragingPeriodReadsAConfigurationNotYetRead) {
    Start();
    Connect("VKT02", CheckMethod::Checksum, [this] {
        sim::Fault silence{sim::FaultKind::Silence};
        silence.packetId = 32; // GetConfigVars
        line->InjectFault(1, silence);
    });
    Open();

    Type("averagingPeriod", "10");
    Press("setAveragingPeriod");
    EXPECT_EQ(Sent(), Request(32) + Request(33, Words({100, 0, 960, 0}) + Bytes{0, 0}) + Reload());
    EXPECT_EQ(Held().configWords, (std::array<std::uint16_t, 4>{100, 0, 0, 960}));
    dialog_->hide();
}

// Edit > Sensor Settings: while the dialog waits for the user the VKT02 panel goes on
// polling at the ticker's pace; a button's sequence gets no poll between its requests,
// even when the event loop runs between them.
TEST_F(Vkt02SettingsTest, DiagnosticsRunWhileTheDialogWaitsButNeverInsideAButton) {
    Start();
    Connect("VKT02", CheckMethod::Checksum);
    auto* panel = dynamic_cast<CVKT02Dlg*>(Frame().View()->CurrentPanel());
    ASSERT_NE(panel, nullptr);
    panel->DiagnosticPage()->UpdateBox()->click();
    const Bytes poll = Frames(method_, 1, {21, 67, 38});

    // The success line of SetThreshold runs the event loop for 700 ms before the reload.
    QObject hook;
    bool waited = false;
    std::uint64_t ticksInside = 0;
    Doc().Sensor().SetLogSuccesses(true);
    QObject::connect(Frame().LogBar()->Log()->List(), &QTreeWidget::itemChanged, &hook,
                     [&](QTreeWidgetItem* item, int column) {
                         if (waited || column != 1 ||
                             item->text(1) != QStringLiteral("Command SetThreshold completed"))
                             return;
                         waited = true;
                         const std::uint64_t before = Doc().Ticker().TicksHandled();
                         QTest::qWait(700);
                         ticksInside = Doc().Ticker().TicksHandled() - before;
                     });

    std::size_t idlePolls = 0;
    Bytes idle, button;
    QTimer::singleShot(0, &hook, [&] {
        Doc().Ticker().StartThread();
        QTest::qWait(1500);
        idle = Sent();
        idlePolls = idle.size() / poll.size();
        Type("threshold", "41");
        Press("setThreshold");
        Doc().Ticker().StopThread();
        button = Sent();
        dialog_->reject();
    });
    ASSERT_TRUE(Frame().RunCommand(CommandId::SensorSettings));

    Bytes polls;
    for (std::size_t i = 0; i < idlePolls; ++i)
        polls = polls + poll;
    EXPECT_EQ(idle, polls);
    EXPECT_GE(idlePolls, 3u); // about 6 in 1.5 s; generous, the machine is shared
    EXPECT_LE(idlePolls, 9u);
    EXPECT_GE(ticksInside, 2u);
    const Bytes sequence = Request(82, {41}) + Reload();
    EXPECT_NE(std::search(button.begin(), button.end(), sequence.begin(), sequence.end()),
              button.end());
}

} // namespace
} // namespace vk::test
