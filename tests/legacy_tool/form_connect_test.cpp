// The main form: first start, the settings file, Connect with its probe and retry, the
// address checks and global addressing.

#include "legacy_test_support.h"
#include "legacy_tool/legacy_codes.h"
#include "legacy_tool/readout_decoding.h"
#include "link/port_names.h"
#include "tests/elapsed_ms.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace vk::legacy::test {
namespace {

class LegacyForm : public FormFixture {
protected:
    int Index(const char* list) const { return Find<QComboBox>(list)->currentIndex(); }
};

TEST_F(LegacyForm, FirstStartCreatesTheSettingsFileAndShowsTheConnectPage) {
    MakeForm();
    EXPECT_EQ(FileText(settingsPath), "[CommPort]\r\nPort=1\r\n[BaudRate]\r\nBaud=57600\r\n");
    EXPECT_EQ(Index("cboPort"), 0);
    EXPECT_EQ(Index("cboHostBaud"), 3);
    EXPECT_EQ(form->windowTitle(), "VKT02 Setup Utility");
    auto* pages = Find<QTabWidget>("PageControl1");
    EXPECT_EQ(pages->tabText(0), "       Connect     ");
    EXPECT_EQ(pages->tabText(1), "Sensor Settings");
    EXPECT_EQ(pages->tabText(2), " View / Diagnostics ");
    EXPECT_FALSE(pages->isTabEnabled(1));
    EXPECT_FALSE(pages->isTabEnabled(2));
    EXPECT_EQ(Text("lblWarning"), "* Do not use global addressing\r\n  in multi-drop situation!");
    EXPECT_TRUE(Find("lblWarning")->isHidden());
    EXPECT_EQ(Text("editAddress"), "1");
    EXPECT_EQ(Text("pnlComErrors"), "0");
    EXPECT_TRUE(Status().isEmpty());
    EXPECT_FALSE(Find("btnSerial")->isEnabled());
    EXPECT_FALSE(Find("btnModel")->isEnabled());
    EXPECT_FALSE(Find("btnUpload")->isEnabled());

    QTest::keyClicks(Find("editAddress"), "x-234");
    EXPECT_EQ(Text("editAddress"), "123"); // digits only, three at most
    QTest::keyClicks(Find("cboHostBaud"), "1");
    EXPECT_EQ(Index("cboHostBaud"), 3);
}

TEST_F(LegacyForm, ConnectProbesAndReadsOutTheSensor) {
    sim::SensorConfig c = sim::test::Sensor(1, "VKT02", CheckMethod::Checksum, "AB123456");
    StartLine({c});
    MakeForm();
    Click("BtnConnect");
    ASSERT_TRUE(form->State().connected);
    Bytes expected;
    for (std::uint8_t code :
         {kCmdRangeReading, kCmdGetVersion, kCmdGetSensorSetup, kCmdGetAnalogFactors,
          kCmdGetConfigVars, kCmdGetModelName, kCmdGetMinLP, kCmdGetMaxLP}) {
        Bytes r = sim::test::Frame(CheckMethod::Checksum, 1, code);
        expected.insert(expected.end(), r.begin(), r.end());
    }
    EXPECT_EQ(LineBytes(), expected);
    EXPECT_TRUE(Find<QTabWidget>("PageControl1")->isTabEnabled(1));
    EXPECT_EQ(Find<QComboBox>("cboCRC")->currentText(), "Checksum");
    EXPECT_EQ(Text("pnlSerial"), "AB123456");
    EXPECT_EQ(Text("editSerial"), "AB123456");
    EXPECT_EQ(Text("pnlModel"), "VKT-02");
    EXPECT_EQ(Find<QComboBox>("cboModel")->currentText(), "Other");
    EXPECT_EQ(Text("pnlFirmware"), "1.23B");
    EXPECT_EQ(Text("pnlFpga"), "2.5");
    EXPECT_EQ(Text("editSensorAddress"), "1");
    EXPECT_EQ(Index("cboMode"), 0);
    EXPECT_EQ(Index("cboSensorBaud"), 3);
    EXPECT_EQ(Text("editThreshold"), "40");
    EXPECT_EQ(Text("editScanInterval"), "10");
    EXPECT_EQ(Text("editDropouts"), "3");
    EXPECT_EQ(Text("editSmooth"), "4");
    EXPECT_EQ(Text("editOrder"), "2");
    EXPECT_EQ(Text("editRangeOffset"), "0.000");
    EXPECT_EQ(Text("editCosine"), "1.0000");
    EXPECT_EQ(Text("editMultiplier"), "1.000");
    EXPECT_EQ(Text("pnlLaser"), "LASER ON");
    EXPECT_EQ(Text("editMinVolt"), "0.000");
    EXPECT_EQ(Text("editMaxVolt"), "10.000");
    EXPECT_EQ(Text("editMaxRange"), "10.000");
    EXPECT_EQ(Text("editAvg"), "15.00");
    EXPECT_EQ(Text("editMinPwr"), "20");
    EXPECT_EQ(Text("editMaxPwr"), "200");
    EXPECT_EQ(Text("lblRangeUnit"), "(in)");
    EXPECT_TRUE(Status().isEmpty());
    EXPECT_EQ(ComErrors(), 0);

    // While a command sequence runs, Connect does nothing.
    form->State().busy = true;
    Click("BtnConnect");
    EXPECT_TRUE(LineBytes().empty());
    form->State().busy = false;
}

TEST_F(LegacyForm, CrcSensorIsFoundWithoutAReportAndSilenceGetsTheRawRetry) {
    StartLine({sim::test::Sensor(1, "VKT02", CheckMethod::Crc16),
               sim::test::Sensor(5, "VKT02", CheckMethod::Checksum, "VK000005")});
    MakeForm();
    Click("BtnConnect");
    ASSERT_TRUE(form->State().connected);
    EXPECT_EQ(Find<QComboBox>("cboCRC")->currentText(), "CRC16");
    EXPECT_EQ(ComErrors(), 0);
    LineBytes();

    // Nobody at 9: each probe waits out its reply time, the "F" gets a pause of its own.
    SetText("editAddress", "9");
    LineRecorder recorder(*line);
    double ms = vk::test::ElapsedMs([this] { Click("BtnConnect"); });
    EXPECT_FALSE(form->State().connected);
    Bytes sum = sim::test::Frame(CheckMethod::Checksum, 9, kCmdRangeReading);
    Bytes crc = sim::test::Frame(CheckMethod::Crc16, 9, kCmdRangeReading);
    std::vector<double> t = recorder.Arrivals({sum, crc, {0x46}, sum, crc});
    ASSERT_EQ(t.size(), 5u);
    const double waits[] = {kReplyMs, kReplyMs, kRetryPauseMs, kReplyMs};
    for (std::size_t i = 0; i < 4; ++i)
        ExpectGap(t, i, waits[i], "probe step " + std::to_string(i));
    EXPECT_GE(ms, 4 * kReplyMs + kRetryPauseMs - 1);
    EXPECT_TRUE(LineBytes().empty());
    EXPECT_EQ(Status(), "Error : No Response");
    EXPECT_EQ(ComErrors(), 1);
    EXPECT_FALSE(Find<QTabWidget>("PageControl1")->isTabEnabled(1));
}

TEST_F(LegacyForm, AddressChecksAndGlobalAddressing) {
    StartLine({sim::test::Sensor(1)});
    MakeForm();
    for (const char* bad : {"0", "256"}) {
        SetText("editAddress", bad);
        Click("BtnConnect");
        EXPECT_EQ(prompts.TakeErrors(),
                  std::vector<QString>{"Invalid Address Entered!\r\n(Valid values 1-255)"});
        EXPECT_EQ(Focused(), Find("editAddress"));
        EXPECT_TRUE(form->State().connected); // with the address it had
        Bytes bytes = LineBytes();
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes[1], 1);
    }
    SetText("editAddress", "");
    Click("BtnConnect");
    EXPECT_EQ(Text("editAddress"), "1");
    EXPECT_TRUE(prompts.TakeErrors().empty());

    Find<QCheckBox>("cbxGlobal")->setChecked(true);
    EXPECT_FALSE(Find("lblWarning")->isHidden());
    LineBytes();
    Click("BtnConnect");
    EXPECT_TRUE(form->State().connected);
    Bytes bytes = LineBytes();
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 5),
              sim::test::Frame(CheckMethod::Checksum, 0, kCmdRangeReading));
    EXPECT_EQ(form->State().currentAddress, 0);
    Find<QCheckBox>("cbxGlobal")->setChecked(false);
    EXPECT_TRUE(Find("lblWarning")->isHidden());
}

TEST_F(LegacyForm, SensorTextsShowOneCharacterPerByte) {
    sim::SensorConfig c = sim::test::Sensor(1, "VKT02", CheckMethod::Checksum,
                                            "VK\xB5"
                                            "00001");
    c.modelString = "0 VKT-\xE9";
    c.revision = '\xC4';
    StartLine({c});
    MakeForm();
    Click("BtnConnect");
    ASSERT_TRUE(form->State().connected);
    EXPECT_EQ(Text("pnlSerial"), QString("VK") + QChar(0xB5) + "00001");
    EXPECT_EQ(Text("editSerial"), QString("VK") + QChar(0xB5) + "00001");
    EXPECT_EQ(Text("pnlModel"), QString("VKT-") + QChar(0xE9));
    EXPECT_EQ(Text("pnlFirmware"), QString("1.23") + QChar(0xC4));
}

TEST_F(LegacyForm, SettingsFileValuesTheListsDoNotHold) {
    StartLine({sim::test::Sensor(1)});
    // A rate the lists do not know is replaced by what the list shows.
    WriteSettings("[CommPort]\r\nPort=1\r\n[BaudRate]\r\nBaud=12345\r\n");
    MakeForm();
    EXPECT_EQ(Index("cboHostBaud"), 3);
    Click("BtnConnect");
    EXPECT_TRUE(form->State().connected);
    EXPECT_EQ(FileText(settingsPath), "[CommPort]\r\nPort=1\r\n[BaudRate]\r\nBaud=57600\r\n");

    // A port outside the list: Connect saves 0 and asks which port to open.
    form.reset();
    WriteSettings("[CommPort]\r\nPort=99\r\n[BaudRate]\r\nBaud=57600\r\n");
    MakeForm();
    EXPECT_EQ(Index("cboPort"), -1);
    Click("BtnConnect");
    EXPECT_EQ(Status(), "Error Opening ComPort!");
    ASSERT_FALSE(prompts.lastPortList.isEmpty());
    EXPECT_EQ(prompts.lastPortList.front(), "COM1");
    EXPECT_NE(FileText(settingsPath).find("Port=0\r\n"), std::string::npos);
    prompts.ports.push_back(0);
    Click("BtnConnect");
    EXPECT_TRUE(form->State().connected);

    // 115200 has no entry: the list shows none, the file keeps it and the port uses it,
    // where the sensor at 57600 hears nothing.
    form.reset();
    WriteSettings("[CommPort]\r\nPort=1\r\n[BaudRate]\r\nBaud=115200\r\n");
    MakeForm();
    EXPECT_EQ(Index("cboHostBaud"), -1);
    Click("BtnConnect");
    EXPECT_FALSE(form->State().connected);
    EXPECT_EQ(Status(), "Error : No Response");
    EXPECT_EQ(FileText(settingsPath), "[CommPort]\r\nPort=1\r\n[BaudRate]\r\nBaud=115200\r\n");
}

TEST_F(LegacyForm, PortListNamesEachDeviceAndKeepsItsNumber) {
    MakeForm();
    auto* list = Find<QComboBox>("cboPort");
    ASSERT_GE(list->count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(list->itemText(i), QString("COM%1").arg(i + 1));
    EXPECT_EQ(Index("cboPort"), 0);

    // A device that comes while the tool runs is there when the list opens next.
    sim::LineOptions options;
    options.comNumber = 33;
    sim::SimLine com33(options);
    com33.AddSensor(sim::test::Sensor(1));
    std::string error;
    ASSERT_TRUE(com33.Start(&error)) << error;
    const QString entry = QString::fromStdString(
        ComDeviceLabel({33, std::filesystem::canonical(com33.DevicePath()).string()}));
    EXPECT_EQ(list->findText(entry), -1);
    list->showPopup();
    list->hidePopup();
    EXPECT_EQ(Index("cboPort"), 0);
    int at = list->findText(entry);
    ASSERT_GE(at, 4);
    list->setCurrentIndex(at);
    Click("BtnConnect");
    EXPECT_TRUE(form->State().connected) << Status().toStdString();
    EXPECT_NE(FileText(settingsPath).find("Port=33\r\n"), std::string::npos);

    // The stored number finds its entry again, also when leaving the emptied list.
    form.reset();
    MakeForm();
    list = Find<QComboBox>("cboPort");
    EXPECT_EQ(list->currentText(), entry);
    list->setFocus();
    list->setCurrentIndex(-1);
    Find("editAddress")->setFocus();
    EXPECT_EQ(list->currentText(), entry);
    com33.Stop();
}

TEST_F(LegacyForm, TabLeavesFilteredFieldsAndListsAndNothingIsPasted) {
    MakeForm();
    auto* port = Find<QComboBox>("cboPort");
    port->setFocus();
    port->setCurrentIndex(-1);
    QTest::keyClick(port, Qt::Key_Tab);
    EXPECT_EQ(Focused(), Find("cboHostBaud"));
    EXPECT_EQ(Index("cboPort"), 0); // the list's guard ran
    QTest::keyClick(Focused(), Qt::Key_Tab);
    EXPECT_EQ(Focused(), Find("editAddress"));
    QTest::keyClick(Focused(), Qt::Key_Tab);
    EXPECT_EQ(Focused(), Find("cbxGlobal"));
    QTest::keyClick(Focused(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), Find("editAddress"));

    auto* address = Find<QLineEdit>("editAddress");
    QGuiApplication::clipboard()->setText("9x-.99999");
    address->setText("1");
    QTest::keyClick(address, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(address, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::mouseClick(address, Qt::MiddleButton);
    EXPECT_EQ(address->text(), "1");
    QTest::keyClicks(address, "2a");
    EXPECT_EQ(address->text(), "12");
}

TEST_F(LegacyForm, FormGoesAwayWhileAListHasTheFocus) {
    MakeForm();
    Find("cboHostBaud")->setFocus();
    ASSERT_EQ(Focused(), Find("cboHostBaud"));
    form.reset();

    MakeForm();
    auto* pages = Find<QTabWidget>("PageControl1");
    pages->setTabEnabled(1, true);
    ShowSettingsPage();
    Find("cboMode")->setFocus();
    ASSERT_EQ(Focused(), Find("cboMode"));
    form.reset();
}

TEST_F(LegacyForm, SensorModeWithoutARowShowsRawCountsAndKeepsTheUnit) {
    StartLine({sim::test::Sensor(1)});
    MakeForm();
    Click("BtnConnect");
    ASSERT_EQ(Text("lblRangeUnit"), "(in)");
    line->Modify(1, [](sim::SensorState& s) {
        s.settings.rangeMode = 20;
        s.settings.rangeOffset = 0xFFF6; // -10
    });
    Click("BtnConnect");
    ASSERT_TRUE(form->State().connected);
    EXPECT_EQ(form->State().sensorMode, 20);
    EXPECT_EQ(Index("cboMode"), -1);
    EXPECT_EQ(Text("lblRangeUnit"), "(in)");
    EXPECT_EQ(Text("editRangeOffset"), "-10");
    // Leaving the mode list finds no row to go back to; "Set Sensor Mode" sends nothing.
    ShowSettingsPage();
    Find("cboMode")->setFocus();
    Find("editThreshold")->setFocus();
    EXPECT_EQ(Index("cboMode"), -1);
    LineBytes();
    Click("btnMode");
    EXPECT_TRUE(LineBytes().empty());
}

TEST_F(LegacyForm, ErrorCodesOutsideTheKnownOnesAreCountedOnly) {
    MakeForm();
    form->SetStatus("kept");
    form->ProcessErrorMsg(0);
    form->ProcessErrorMsg(5);
    EXPECT_EQ(Status(), "kept");
    EXPECT_EQ(ComErrors(), 2);
    form->ProcessErrorMsg(3);
    EXPECT_EQ(Status(), "Error : Time out");
    EXPECT_EQ(ComErrors(), 3);
}

TEST_F(LegacyForm, ClosingStopsTheReplyTimer) {
    MakeForm();
    form->Comm().Timer1().start(5000);
    form->close();
    EXPECT_FALSE(form->Comm().Timer1().isActive());
    EXPECT_TRUE(form->State().stop);
}

TEST_F(LegacyForm, PulledAdapterIsShownOnceAndThenCostsNoCpu) {
    MakeConnectedForm({sim::test::Sensor(1)});
    line->Unplug();
    auto cpuMs = [] {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 +
               (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Status().isEmpty(); }, 2000));
    double cpu = cpuMs();
    double wall = vk::test::ElapsedMs([] { QTest::qWait(1500); });
    // A port left open on a dead device keeps the event loop busy all the time.
    EXPECT_LT(cpuMs() - cpu, wall / 4);
    EXPECT_EQ(Status(), "Error : ComPort Lost!");
    EXPECT_EQ(ComErrors(), 1);
    EXPECT_FALSE(form->State().connected);
    EXPECT_FALSE(Find<QTabWidget>("PageControl1")->isTabEnabled(1));

    // Plugged in again, Connect finds the sensor.
    std::string error;
    ASSERT_TRUE(line->Replug(&error)) << error;
    Click("BtnConnect");
    EXPECT_TRUE(form->State().connected);
}

TEST_F(LegacyForm, SettingsFileThatCannotKeepTheChoiceIsSaidOnceAndTheChoiceHolds) {
    namespace fs = std::filesystem;
    StartLine({sim::test::Sensor(1)});
    // Read-only: the port chosen in the list is used, the file stays as it was.
    const std::string text = "[CommPort]\r\nPort=3\r\n[BaudRate]\r\nBaud=57600\r\n";
    WriteSettings(text);
    fs::permissions(settingsPath, fs::perms::owner_read);
    MakeForm();
    EXPECT_TRUE(Status().isEmpty());
    Find<QComboBox>("cboPort")->setCurrentIndex(0);
    Click("BtnConnect");
    EXPECT_TRUE(form->State().connected);
    EXPECT_EQ(Status(), "Settings could not be saved to SetupVk2.ini");
    EXPECT_EQ(FileText(settingsPath), text);
    Click("BtnConnect");
    EXPECT_TRUE(Status().isEmpty()); // said once
    EXPECT_EQ(Index("cboPort"), 0);

    // A pipe at the path neither blocks the start nor is written to.
    form.reset();
    fs::remove(settingsPath);
    ASSERT_EQ(mkfifo(settingsPath.c_str(), 0644), 0);
    MakeForm();
    EXPECT_EQ(Status(), "SetupVk2.ini could not be read: settings will not be saved");
    Click("BtnConnect");
    EXPECT_TRUE(form->State().connected);
    EXPECT_TRUE(Status().isEmpty());
    EXPECT_TRUE(fs::is_fifo(settingsPath));
}

// A sensor the test answers for, byte for byte.
class LegacyFormPeer : public FormFixture {
protected:
    ~LegacyFormPeer() override { form.reset(); }
    vk::test::PtyPeer peer;
};

TEST_F(LegacyFormPeer, ValidReplyTooShortForItsFieldsIsNotTaken) {
    // Every request gets a payload long enough for any read-out but the sensor setup,
    // which gets one byte.
    PeerResponder sensor(peer, {{kCmdGetSensorSetup, {0x41}}}, Bytes(kSetupSize, 0));
    MakeForm();
    Click("BtnConnect");
    ASSERT_TRUE(form->State().connected);
    EXPECT_EQ(ComErrors(), 1);
    EXPECT_TRUE(Text("pnlSerial").isEmpty());
    EXPECT_TRUE(Text("editSerial").isEmpty());

    ShowSettingsPage();
    SetText("editDropouts", "5");
    SetText("editSmooth", "10");
    SetText("editOrder", "3");
    SetText("editScanInterval", "100");
    Click("btnScanVars");
    EXPECT_EQ(Status(), "Error : Invalid Response");
    EXPECT_EQ(ComErrors(), 2);
    EXPECT_EQ(Text("editDropouts"), "5");
    EXPECT_EQ(Text("editScanInterval"), "100");
}

} // namespace
} // namespace vk::legacy::test
