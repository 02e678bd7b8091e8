// The " View / Diagnostics " page: the live view and everything that stops it, the
// multi-sensor scan with its address list and scan-buffer file, and the statistics and
// counters.

#include "legacy_test_support.h"
#include "legacy_tool/scan_data_file.h"
#include "tests/elapsed_ms.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>

namespace vk::legacy::test {
namespace {

// Whether `bytes` is `pattern` repeated, the last repeat possibly cut short.
bool Repeats(const Bytes& bytes, const Bytes& pattern) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != pattern[i % pattern.size()])
            return false;
    }
    return !bytes.empty();
}

class LegacyView : public FormFixture {
protected:
    void Open(const std::vector<sim::SensorConfig>& sensors, int subPage) {
        MakeConnectedForm(sensors);
        Find<QTabWidget>("PageControl1")->setCurrentIndex(2);
        Find<QTabWidget>("PageControl2")->setCurrentIndex(subPage);
        QCoreApplication::processEvents();
        LineBytes();
    }
    // Runs the live view until `stop` ends it, a little after it started. What the tool
    // sent before the stop; nothing may follow it.
    Bytes LiveViewUntil(const std::function<void()>& stop) {
        Bytes sent;
        QTimer::singleShot(150, form.get(), [&] {
            // The request in progress has reached the sensor; its reply is on its way.
            EXPECT_TRUE(line->WaitIdle(1000));
            sent = LineBytes();
            stop();
        });
        double ms = vk::test::ElapsedMs([&] { Click("btnStartSpot"); });
        EXPECT_LT(ms, 1000);
        EXPECT_TRUE(line->WaitIdle(1000));
        EXPECT_TRUE(LineBytes().empty()) << "a request went out after the stop";
        EXPECT_FALSE(form->State().busy);
        return sent;
    }
    QString Memo() const { return Find<QPlainTextEdit>("Memo1")->toPlainText(); }
    std::string WriteFile(const std::string& name, const std::string& content) {
        std::string path = dir.Path() + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    void LoadList(const std::string& content) {
        prompts.files.push_back(QString::fromStdString(WriteFile("Address.txt", content)));
        Click("btnAddrList");
    }
};

TEST_F(LegacyView, LiveViewEndsAfterTheRequestInProgressWhateverStopsIt) {
    Open({sim::test::Sensor(1)}, 0);
    line->Modify(1, [](sim::SensorState& s) {
        s.liveFrozen = true;
        s.live.range = 4660;
        s.live.peak = 321;
        s.live.laserPower = 77;
        s.live.basePixel = 11;
    });
    auto* pages = Find<QTabWidget>("PageControl2");
    Bytes sent = LiveViewUntil([this] { Click("btnStopSpot"); });
    EXPECT_TRUE(Repeats(sent, Req(kCmdRangeReading)));
    EXPECT_EQ(Text("pnlRange"), "4.660");
    EXPECT_TRUE(Find("pnlRange")->updatesEnabled()); // the last reading is painted
    EXPECT_TRUE(Repeats(LiveViewUntil([&] { pages->setCurrentIndex(1); }), Req(kCmdRangeReading)));

    // "Show All" asks for every readout in turn and lights them up.
    pages->setCurrentIndex(0);
    Click("cbxSpot");
    EXPECT_TRUE(Find("pnlPeak")->isEnabled());
    EXPECT_TRUE(Find("pnlPeak")->styleSheet().contains("red"));
    auto* main = Find<QTabWidget>("PageControl1");
    sent = LiveViewUntil([&] { main->setCurrentIndex(1); });
    EXPECT_TRUE(Repeats(sent, Cat({Req(kCmdGetVKT02State), Req(kCmdGetPeak), Req(kCmdGetLaserPower),
                                   Req(kCmdGetAnalogFactors)})));
    EXPECT_EQ(Text("pnlBasePix"), "11");
    EXPECT_EQ(Text("pnlPeak"), "321");
    EXPECT_EQ(Text("pnlLaserPower"), "77");
    EXPECT_EQ(Text("pnlScanStatus"), "Not Scanning");
    EXPECT_TRUE(QRegularExpression("^\\d\\.\\d{3}$").match(Text("pnlAnalog")).hasMatch());
    Click("cbxSpot");
    EXPECT_FALSE(Find("pnlPeak")->isEnabled());
    EXPECT_TRUE(Find("pnlPeak")->styleSheet().contains("gray"));

    main->setCurrentIndex(2);
    pages->setCurrentIndex(0);
    LiveViewUntil([this] { form->close(); });
}

TEST_F(LegacyView, ScansOverTheAddressListIntoTheScanBufferFile) {
    Open({sim::test::Sensor(1), sim::test::Sensor(2, "VKT02", CheckMethod::Checksum, "VK000002")},
         1);
    LoadList("1\n2 the second sensor\n");
    EXPECT_EQ(prompts.lastFileDialog.defaultName, "Address.txt");
    EXPECT_EQ(prompts.lastFileDialog.defaultSuffix, "txt");
    Click("rbAll");
    Click("btnStartScan");
    EXPECT_EQ(LineBytes(), Cat({Req(kCmdStartScan, {}, 0), Req(kCmdGetVKT02State, {}, 1),
                                Req(kCmdGetVKT02State, {}, 2)}));
    EXPECT_EQ(Memo(), "Sensor  1  :  Scanning\nSensor  2  :  Scanning");

    Click("btnStopScan");
    std::uint16_t counts[] = {line->Snapshot(1).scanCount, line->Snapshot(2).scanCount};
    EXPECT_EQ(LineBytes(), Cat({Req(kCmdStopScan, {}, 0), Req(kCmdGetVKT02State, {}, 1),
                                Req(kCmdGetVKT02State, {}, 2)}));
    EXPECT_EQ(Memo(), QString("Sensor  1  :  Scanning\nSensor  2  :  Scanning\n"
                              "Sensor  1  : %1  Not Scanning\nSensor  2  : %2  Not Scanning")
                          .arg(counts[0])
                          .arg(counts[1]));

    // 130 values from each: two packets apiece, start and count low byte first.
    SetText("editStartIndex", "0");
    SetText("editNumScans", "130");
    std::string samples = dir.Path() + "/Samples.txt";
    prompts.files = {QString::fromStdString(samples), QString::fromStdString(samples)};
    Click("btnReadScan");
    EXPECT_EQ(prompts.lastFileDialog.defaultName, "Samples.txt");
    EXPECT_EQ(LineBytes(), Cat({Req(kCmdGetScanBufferPortion, {0, 0, 130, 0}, 1),
                                Req(kCmdGetScanBufferPortion, {0, 0, 130, 0}, 2)}));
    EXPECT_EQ(Status(), " Done");
    std::vector<std::vector<std::uint16_t>> values;
    for (std::uint8_t a : {1, 2}) {
        const auto& buffer = line->Snapshot(a).scanBuffer;
        values.emplace_back(buffer.begin(), buffer.begin() + 130);
    }
    std::string block = ScanDataBlock({1, 2}, {counts[0], counts[1]}, values);
    EXPECT_EQ(FileText(samples), block);
    // A second read appends a second block.
    Click("btnReadScan");
    EXPECT_EQ(FileText(samples), block + block);
    LineBytes();

    // "Current Sensor" reads the current address alone.
    Click("rbCurrent");
    SetText("editNumScans", "1");
    prompts.files = {QString::fromStdString(samples)};
    Click("btnReadScan");
    EXPECT_EQ(LineBytes(), Req(kCmdGetScanBufferPortion, {0, 0, 1, 0}, 1));
    EXPECT_EQ(FileText(samples),
              block + block + ScanDataBlock({1}, {counts[0]}, {{line->Snapshot(1).scanBuffer[0]}}));

    // While a read waits for its packets, neither a second read nor another button runs.
    line->InjectFault(1, {sim::FaultKind::ExtraDelay, 1, 300, 0, {}, kCmdGetScanBufferPortion});
    prompts.files = {QString::fromStdString(samples)};
    prompts.shown.clear();
    QTimer::singleShot(100, form.get(), [this] {
        Click("btnReadScan");
        Click("btnFilter");
    });
    Click("btnReadScan");
    EXPECT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(LineBytes(), Req(kCmdGetScanBufferPortion, {0, 0, 1, 0}, 1));
    EXPECT_EQ(Status(), " Done");
}

TEST_F(LegacyView, ListsAndFieldsThatSendNothing) {
    Open({sim::test::Sensor(1)}, 1);
    Click("rbAll");
    Click("btnStartScan");
    Click("btnStopScan");
    Click("btnReadScan");
    EXPECT_EQ(Memo(), "Address list not found!\nAddress List not found!\nAddress List not found!");
    EXPECT_TRUE(prompts.shown.empty()); // no file asked for, none made
    EXPECT_TRUE(LineBytes().empty());

    LoadList("1\nsensor two\n");
    Click("btnStopScan");
    EXPECT_TRUE(Memo().endsWith("\nAddress List not found!"));

    std::string many;
    for (int i = 0; i < 40; ++i)
        many += "1\n";
    LoadList(many);
    EXPECT_EQ(form->State().addressList.size(), 32u);
    EXPECT_TRUE(Memo().endsWith("the rest were ignored."));

    SetText("editNumScans", "");
    prompts.shown.clear();
    Click("btnReadScan");
    EXPECT_EQ(prompts.TakeErrors(),
              std::vector<QString>{"Invalid # Of Scans Entered!\r\n(Valid values 0-65535)"});
    EXPECT_EQ(Focused(), Find("editNumScans"));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(LineBytes().empty());
}

TEST_F(LegacyView, LoadingAListReplacesTheListAndTheCountsOfTheListBefore) {
    Open({sim::test::Sensor(1), sim::test::Sensor(2, "VKT02", CheckMethod::Checksum, "VK000002")},
         1);
    LoadList("0000000001\n2"); // the end of the file is no read error
    EXPECT_EQ(form->State().addressList, (std::vector<std::uint8_t>{1, 2}));
    EXPECT_TRUE(Memo().isEmpty());
    Click("rbAll");
    Click("btnStopScan");
    ASSERT_NE(form->State().scanCounts[1], 0);

    // Sensor 2's count does not follow it to the first position of the next list.
    LoadList("2\n");
    SetText("editStartIndex", "0");
    SetText("editNumScans", "1");
    std::string samples = dir.Path() + "/Samples.txt";
    prompts.files = {QString::fromStdString(samples)};
    Click("btnReadScan");
    EXPECT_EQ(FileText(samples), ScanDataBlock({2}, {0}, {{line->Snapshot(2).scanBuffer[0]}}));

    // A device that never ends and a folder are no lists; the program goes on at once.
    for (const std::string& odd : {std::string("/dev/zero"), dir.Path()}) {
        prompts.files = {QString::fromStdString(odd)};
        EXPECT_LT(vk::test::ElapsedMs([this] { Click("btnAddrList"); }), 1000) << odd;
        EXPECT_TRUE(Memo().endsWith("\nAddress list file could not be read!")) << odd;
        EXPECT_TRUE(form->State().addressList.empty()) << odd;
    }
}

TEST_F(LegacyView, EachTargetGetsOnlyItsOwnSamplesAsTheSensorSentThem) {
    Open({sim::test::Sensor(1, "VKT02", CheckMethod::Crc16)}, 1);
    ASSERT_EQ(form->State().method, CheckMethod::Crc16);
    // Samples travel low byte first in the CRC variant too, and go into the file so.
    SetText("editStartIndex", "0");
    SetText("editNumScans", "3");
    std::string samples = dir.Path() + "/Samples.txt";
    prompts.files = {QString::fromStdString(samples)};
    Click("btnReadScan");
    const auto& buffer = line->Snapshot(1).scanBuffer;
    std::string own = ScanDataBlock({1}, {0}, {{buffer[0], buffer[1], buffer[2]}});
    EXPECT_EQ(FileText(samples), own);

    // Sensor 1 answers after its target's wait; its packets come while absent sensor 9
    // is asked, and are not taken for 9's.
    LoadList("1\n9\n");
    Click("rbAll");
    line->InjectFault(1, {sim::FaultKind::ExtraDelay, 1, 1100, 0, {}, kCmdGetScanBufferPortion});
    SetText("editNumScans", "130");
    prompts.files = {QString::fromStdString(samples)};
    Click("btnReadScan");
    EXPECT_EQ(FileText(samples), own + ScanDataBlock({1, 9}, {0, 0}, {{}, {}}));
}

TEST_F(LegacyView, StatisticsAndCounters) {
    Open({sim::test::Sensor(1)}, 1);
    line->Modify(1, [](sim::SensorState& s) {
        s.scanCount = 5;
        std::copy_n(std::begin({700, 900, 650, 800, 720}), 5, s.scanBuffer.begin());
        s.errors = {7, 3, 2, 1, 0x5555, 0};
        s.settings.dropoutFactor = s.settings.orderFactor = s.settings.smoothFactor = 0;
    });
    Click("btnFilter"); // a filter that leaves the ranges as they are
    EXPECT_EQ(LineBytes(), Cat({Req(kCmdApplyScanFilter), Req(kCmdHLAScanResult)}));
    EXPECT_EQ(Text("pnlHighScan"), "0.900");
    EXPECT_EQ(Text("pnlHighScanIndex"), "1");
    EXPECT_EQ(Text("pnlLowScan"), "0.650");
    EXPECT_EQ(Text("pnlLowScanIndex"), "2");
    EXPECT_EQ(Text("pnlAvgScan"), "0.754");

    // Showing the sub-page updates the counters.
    Find<QTabWidget>("PageControl2")->setCurrentIndex(2);
    EXPECT_EQ(LineBytes(), Req(kCmdGetErrorState));
    EXPECT_EQ(Text("pnlPowerUps"), "7");
    EXPECT_EQ(Text("pnlResets"), "3");
    EXPECT_EQ(Text("pnlCheckErrors"), "2");
    EXPECT_EQ(Text("pnlCommandErrors"), "1");
    EXPECT_EQ(Text("pnlCalibration"), "Calibration Ok");
    line->Modify(1, [](sim::SensorState& s) { s.errors.calibrationMarker = 0; });
    Click("btnUpdateStat");
    EXPECT_EQ(Text("pnlCalibration"), "Calibration Fail");

    line->InjectFault(1, {sim::FaultKind::BadCheck});
    Click("btnUpdateStat");
    EXPECT_EQ(Status(), "Error : Invalid CRC/Chksum");
    EXPECT_EQ(ComErrors(), 1);
}

} // namespace
} // namespace vk::legacy::test
