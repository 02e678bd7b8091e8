// SensorDevice against simulated sensors: the bytes each kind of command puts on the
// line in both check methods, replies in the reply store, the scan buffer in portions,
// the timing base and the failure lines.
#include "elapsed_ms.h"
#include "sensor/scan_buffer_read.h"
#include "sensor/sensor_device.h"
#include "sensor_test_support.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <ostream>

namespace vk {
// Names the method in test listings.
void PrintTo(CheckMethod method, std::ostream* os) {
    *os << (method == CheckMethod::Crc16 ? "CRC" : "checksum");
}
} // namespace vk

namespace vk::test {
namespace {

using sim::test::Frame;
using sim::test::Sensor;

class SensorDeviceLine : public sim::test::LineFixture {
protected:
    void Open(const std::vector<sim::SensorConfig>& sensors) {
        StartLine(sensors);
        sensor.SetLink(&link);
    }
    void Use(std::uint8_t address, CheckMethod method) {
        sensor.SetAddress(address);
        sensor.SetCheckMethod(method);
    }
    // What the program wrote since the last call, once the sensors have taken it in.
    std::vector<std::uint8_t> Sent() {
        EXPECT_TRUE(line->WaitIdle(2000));
        return line->TakeReceived();
    }
    void FreezePeak(std::uint8_t address, std::uint16_t peak) {
        line->Modify(address, [peak](sim::SensorState& s) {
            s.liveFrozen = true;
            s.live.peak = peak;
        });
    }

    RecordingLog log;
    SensorDevice sensor{&log};
};

using Bytes = std::vector<std::uint8_t>;

TEST_F(SensorDeviceLine, SettingCommandsOnTheLineInBothMethods) {
    Open({Sensor(1), Sensor(2, "VKT02", CheckMethod::Crc16, "VK000002")});

    Use(1, CheckMethod::Checksum);
    double took = ElapsedMs([&] { EXPECT_TRUE(sensor.SetLaserOff()); });
    EXPECT_EQ(Sent(), (Bytes{0x02, 0x01, 0x01, 0x02, 0xFA}));
    EXPECT_LT(took, 500.0); // nothing read back

    EXPECT_TRUE(sensor.SetMode(0x1234));
    EXPECT_EQ(Sent(), Frame(CheckMethod::Checksum, 1, 9, {0x34, 0x12}));
    EXPECT_EQ(line->Snapshot(1).settings.rangeMode, 0x1234);

    took = ElapsedMs([&] { EXPECT_TRUE(sensor.SetThreshold(77)); });
    EXPECT_LT(took, 500.0); // no acknowledgement awaited with the checksum
    Sent();

    Use(2, CheckMethod::Crc16);
    EXPECT_TRUE(sensor.SetMode(0x1234));
    EXPECT_EQ(Sent(), Frame(CheckMethod::Crc16, 2, 9, {0x12, 0x34}));
    EXPECT_EQ(line->Snapshot(2).settings.rangeMode, 0x1234);

    // The CRC variant takes its acknowledgement off the line: a left-over one would be
    // taken as the next reply and refused for its packet ID.
    EXPECT_TRUE(sensor.SetThreshold(78));
    EXPECT_TRUE(sensor.GetPeak());
    EXPECT_EQ(line->Snapshot(1).settings.threshold, 77);
    EXPECT_EQ(line->Snapshot(2).settings.threshold, 78);
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(SensorDeviceLine, RepliesLandInTheStoreInBothMethods) {
    Open({Sensor(1), Sensor(2, "VKT02", CheckMethod::Crc16, "VK000002")});
    FreezePeak(1, 0x0102);
    FreezePeak(2, 0x0102);

    Use(1, CheckMethod::Checksum);
    ASSERT_TRUE(sensor.GetPeak());
    EXPECT_EQ(Sent(), Frame(CheckMethod::Checksum, 1, 38));
    EXPECT_EQ(sensor.Replies().peak, 0x0102);

    sensor.ResetReplies();
    EXPECT_EQ(sensor.Replies().peak, 0);
    Use(2, CheckMethod::Crc16);
    ASSERT_TRUE(sensor.GetPeak());
    EXPECT_EQ(Sent(), Frame(CheckMethod::Crc16, 2, 38));
    EXPECT_EQ(sensor.Replies().peak, 0x0102);

    ASSERT_TRUE(sensor.GetSerialNum());
    EXPECT_EQ(sensor.Replies().serialNumber.Prefix(8), "VK000002");
    ASSERT_TRUE(sensor.GetModelName());
    EXPECT_EQ(sensor.Replies().modelName.Str(), "0 VKT-02");
}

class SensorDeviceRecord : public SensorDeviceLine,
                           public ::testing::WithParamInterface<CheckMethod> {};

TEST_P(SensorDeviceRecord, RecordsTravelBothWays) {
    Open({Sensor(1, "VKT02", GetParam()), Sensor(2, "BF", GetParam(), "VK000002")});
    Use(1, GetParam());
    const sim::SensorSettings factory = line->Snapshot(1).settings;

    ASSERT_TRUE(sensor.GetSensorSetup());
    const Vkt02SetupRecord& setup = sensor.Replies().sensorSetup;
    EXPECT_EQ(setup.address, 1);
    EXPECT_EQ(setup.threshold, factory.threshold);
    EXPECT_EQ(setup.scanInterval, static_cast<std::int16_t>(factory.scanInterval));
    EXPECT_EQ(setup.dropoutFactor, factory.dropoutFactor);
    EXPECT_EQ(setup.cosine, factory.cosine);
    EXPECT_EQ(setup.multiplier, factory.multiplier);

    ASSERT_TRUE(sensor.SetOffset(11, 9990, 1001, 44));
    ASSERT_TRUE(sensor.SetFilterFactors(5, 6, 7));
    ConfigRecord config;
    config.words = {100, 200, 0, 0};
    config.SetAveragingCountForSet(0x00012345);
    ASSERT_TRUE(sensor.SetConfigVars(config));
    // The wane record is the Vezir Orududu's.
    Use(2, GetParam());
    WaneRecord wane{30, 15, 1200, {0, 0, 0, 0}, 250};
    ASSERT_TRUE(sensor.WriteWaneParams(wane));
    ASSERT_TRUE(line->WaitIdle(2000));
    EXPECT_EQ(line->Snapshot(2).settings.wane.conveyorSpeed, 1200);
    ASSERT_TRUE(sensor.ReadWaneParams());
    EXPECT_EQ(sensor.Replies().wane.pulseDurationMs, 250);
    EXPECT_EQ(sensor.Replies().wane.minWaneWidth, 15);
    Use(1, GetParam());

    sim::SensorSettings now = line->Snapshot(1).settings;
    EXPECT_EQ(now.rangeOffset, 11);
    EXPECT_EQ(now.cosine, 9990);
    EXPECT_EQ(now.multiplier, 1001);
    EXPECT_EQ(now.offsetExtra, 44);
    EXPECT_EQ(now.orderFactor, 7);
    EXPECT_EQ(now.configWords[2], 0x0001);
    EXPECT_EQ(now.configWords[3], 0x2345);

    ASSERT_TRUE(sensor.GetConfigVars());
    EXPECT_EQ(sensor.Replies().configVars.AveragingCount(), 0x00012345u);
    EXPECT_EQ(sensor.Replies().configVars.words[1], 200);
    ASSERT_TRUE(sensor.GetSensorSetup());
    EXPECT_EQ(sensor.Replies().sensorSetup.rangeOffset, 11);
    EXPECT_TRUE(log.lines.empty()) << log.lines.front().text;
}

INSTANTIATE_TEST_SUITE_P(SensorBothMethods, SensorDeviceRecord,
                         ::testing::Values(CheckMethod::Checksum, CheckMethod::Crc16),
                         sim::test::MethodName);

TEST_F(SensorDeviceLine, ScanBufferComesInPortionsOf126) {
    // The CRC sensor shows that start, count and samples stay low byte first.
    Open({Sensor(1, "VKT02", CheckMethod::Crc16)});
    Use(1, CheckMethod::Crc16);
    const std::vector<std::uint16_t> expected = line->Snapshot(1).scanBuffer;
    const ScanBufferArea& area = sensor.Replies().scanBuffer;
    std::vector<std::uint16_t> samples(127);

    ASSERT_TRUE(sensor.GetScanBufferPortion(0, 126));
    EXPECT_EQ(Sent(), Frame(CheckMethod::Crc16, 1, 11, {0x00, 0x00, 0x7E, 0x00}));
    EXPECT_EQ(area.PortionLength(0), kPortionBytes);
    EXPECT_EQ(area.PortionLength(1), 0u);
    ASSERT_EQ(area.CopySamples(samples.data(), 126), 126u);
    EXPECT_TRUE(std::equal(samples.begin(), samples.begin() + 126, expected.begin()));

    ASSERT_TRUE(sensor.GetScanBufferPortion(1, 127));
    EXPECT_EQ(Sent(), Frame(CheckMethod::Crc16, 1, 11, {0x01, 0x00, 0x7F, 0x00}));
    EXPECT_EQ(area.PortionLength(1), 3u);
    ASSERT_EQ(area.CopySamples(samples.data(), 128), 127u);
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), expected.begin() + 1));

    // Both packets were taken off the line: the next exchange is clean.
    EXPECT_TRUE(sensor.GetPeak());
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(SensorDeviceLine, ScanRangesComePortionByPortionAndAFaultyPacketFailsTheRead) {
    Open({Sensor(1)});
    Use(1, CheckMethod::Checksum);
    const std::vector<std::uint16_t> buffer = line->Snapshot(1).scanBuffer;

    std::vector<std::size_t> progress;
    ScanRead read = ReadScanRanges(sensor, 100, 300, [&](std::size_t done) {
        progress.push_back(done);
        return true;
    });
    EXPECT_EQ(read.outcome, ScanReadOutcome::Complete);
    EXPECT_EQ(progress, (std::vector<std::size_t>{126, 252, 300}));
    Bytes expected = Frame(CheckMethod::Checksum, 1, 11, {100, 0, 126, 0});
    for (const Bytes& next : {Frame(CheckMethod::Checksum, 1, 11, {226, 0, 126, 0}),
                              Frame(CheckMethod::Checksum, 1, 11, {0x60, 1, 48, 0})})
        expected.insert(expected.end(), next.begin(), next.end());
    EXPECT_EQ(Sent(), expected);
    EXPECT_EQ(read.ranges, std::vector<std::uint16_t>(buffer.begin() + 100, buffer.begin() + 400));
    EXPECT_TRUE(ReadScanRanges(sensor, 0, 0).ranges.empty());
    EXPECT_TRUE(Sent().empty());

    // Stopped after the first portion: nothing more is asked for.
    read = ReadScanRanges(sensor, 0, 300, [](std::size_t) { return false; });
    EXPECT_EQ(read.outcome, ScanReadOutcome::Stopped);
    EXPECT_EQ(read.ranges.size(), 126u);
    EXPECT_EQ(Sent(), Frame(CheckMethod::Checksum, 1, 11, {0, 0, 126, 0}));

    // A packet one range short, and one that is not ours: the command writes no line, so
    // the read says what happened.
    sim::Fault shorter{sim::FaultKind::ShortPayload};
    shorter.cutAfter = 2;
    line->InjectFault(1, shorter);
    read = ReadScanRanges(sensor, 0, 126);
    EXPECT_EQ(read.outcome, ScanReadOutcome::Failed);
    EXPECT_EQ(read.ranges.size(), 125u);
    EXPECT_EQ(read.failureLine, "The sensor sent 125 of 126 samples at 0.");
    line->InjectFault(1, {sim::FaultKind::WrongPacketId});
    read = ReadScanRanges(sensor, 8000, 192);
    EXPECT_EQ(read.outcome, ScanReadOutcome::Failed);
    EXPECT_EQ(read.failureLine.rfind("Command GetScanBufferPortion failed. ", 0), 0u);
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(sensor.FailureLines(), 0u);
}

TEST_F(SensorDeviceLine, RefusedRequestsSendAndLogNothing) {
    Open({Sensor(1)});
    Use(1, CheckMethod::Checksum);
    sensor.SetLogSuccesses(true);
    EXPECT_FALSE(sensor.GetScanBufferPortion(8000, 193));
    EXPECT_FALSE(sensor.SetBaudRate(115200));
    EXPECT_FALSE(sensor.SetBaudRate(65536 + 9600)); // no wrap-around to a known rate
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(log.lines.empty());
    EXPECT_TRUE(sensor.GetScanBufferPortion(8000, 192));
    EXPECT_EQ(sensor.Replies().scanBuffer.PortionLength(1), 1u + 2 * 66);
}

TEST_F(SensorDeviceLine, GetVersionSetsTheTimingBase) {
    sim::SensorConfig fine = Sensor(1);
    fine.revision = 'C';
    sim::SensorConfig coarse = Sensor(2, "VKT02", CheckMethod::Crc16, "VK000002");
    coarse.firmwareHundredths = 321;
    coarse.revision = 'B';
    Open({fine, coarse});
    EXPECT_EQ(sensor.TicksPerMs(), 1.0);
    EXPECT_EQ(sensor.ScanQuantum(), 1u);
    EXPECT_EQ(sensor.TimingFormat(), "Unknown version");

    Use(1, CheckMethod::Checksum);
    ASSERT_TRUE(sensor.GetVersion());
    EXPECT_EQ(sensor.TicksPerMs(), 1000.0);
    EXPECT_EQ(sensor.ScanQuantum(), 1500u);
    EXPECT_EQ(sensor.TimingFormat(), "%2.3f");
    EXPECT_EQ(sensor.Replies().version.firmwareHundredths, 123);

    Use(2, CheckMethod::Crc16);
    ASSERT_TRUE(sensor.GetVersion());
    EXPECT_EQ(sensor.TicksPerMs(), 100.0);
    EXPECT_EQ(sensor.ScanQuantum(), 60u);
    EXPECT_EQ(sensor.TimingFormat(), "%2.2f");
    EXPECT_EQ(sensor.Replies().version.firmwareHundredths, 321);

    // The VKT04 version has its own area and leaves the timing base alone.
    Use(1, CheckMethod::Checksum);
    ASSERT_TRUE(sensor.GetVKT04Version());
    EXPECT_EQ(sensor.Replies().vkt04Version.revision, 'C');
    EXPECT_EQ(sensor.Replies().version.firmwareHundredths, 321);
    EXPECT_EQ(sensor.TicksPerMs(), 100.0);
}

TEST_F(SensorDeviceLine, FailureLinesQuoteTheLinkAndKeepTheReply) {
    Open({Sensor(1), Sensor(2, "VKT04", CheckMethod::Checksum, "VK000002")});
    Use(1, CheckMethod::Checksum);
    FreezePeak(1, 0x0102);
    ASSERT_TRUE(sensor.GetPeak());

    FreezePeak(1, 0x0999);
    line->InjectFault(1, {sim::FaultKind::Silence});
    EXPECT_FALSE(sensor.GetPeak());
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0],
              (LogLine{"Command GetPeak failed. dcs_ReadHeader timeout waiting for STX",
                       LogIcon::Error}));
    EXPECT_EQ(sensor.Replies().peak, 0x0102);

    // A reply of the wrong length sets no text of its own: the earlier one is quoted (the
    // hold scans of a VKT04, logged under the name the command has always had).
    Use(2, CheckMethod::Checksum);
    line->InjectFault(2, {sim::FaultKind::WrongLength});
    EXPECT_LT(ElapsedMs([&] { EXPECT_FALSE(sensor.GetNumHoldScans()); }), 500.0);
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[1].text,
              "Command GetVKT04Version failed. dcs_ReadHeader timeout waiting for STX");

    Use(1, CheckMethod::Checksum);
    sensor.SetLogSuccesses(true);
    log.lines.clear();
    ASSERT_TRUE(sensor.GetPeak());
    EXPECT_EQ(log.lines,
              (std::vector<LogLine>{{"Command GetPeak completed", LogIcon::Information}}));
    EXPECT_EQ(sensor.Replies().peak, 0x0999);

    line->Unplug();
    log.lines.clear();
    EXPECT_FALSE(sensor.SetMode(3));
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].text, std::string("Command SetMode failed. ") + link.ErrorText());
    EXPECT_EQ(log.lines[0].icon, LogIcon::Error);
}

} // namespace
} // namespace vk::test

namespace vk::test {
namespace {

using sim::test::Frame;
using sim::test::Sensor;

// Each command's own pauses, and which kinds take an acknowledgement off the line: one
// left behind would be taken as the next reply and refused for its packet ID.
TEST_F(SensorDeviceLine, PausesAndAcknowledgementsOfEachKind) {
    Open({Sensor(1), Sensor(2, "VKT02", CheckMethod::Crc16, "VK000002"),
          Sensor(3, "VKT02", CheckMethod::Checksum, "VK000003")});

    Use(1, CheckMethod::Checksum);
    double took = ElapsedMs([&] { EXPECT_TRUE(sensor.ResetSensor()); });
    EXPECT_GE(took, 1000.0);
    EXPECT_LT(took, 1400.0);

    took = ElapsedMs([&] { EXPECT_TRUE(sensor.WriteFlashProtect1(0xAA)); });
    EXPECT_GE(took, 50.0);
    EXPECT_LT(took, 400.0);

    // Uploads are acknowledged in the checksum variant too.
    EXPECT_TRUE(sensor.UploadCode());
    EXPECT_TRUE(sensor.GetPeak()) << ::testing::PrintToString(log.Texts());

    Use(2, CheckMethod::Crc16);
    took = ElapsedMs([&] { EXPECT_TRUE(sensor.SetBaudRate(57600)); });
    EXPECT_GE(took, 300.0);
    EXPECT_TRUE(sensor.GetPeak()) << ::testing::PrintToString(log.Texts());

    Use(3, CheckMethod::Checksum);
    took = ElapsedMs([&] { EXPECT_TRUE(sensor.SetSensorCheckMode(CheckMethod::Crc16)); });
    EXPECT_GE(took, 300.0);
    EXPECT_EQ(Sent().back(), Frame(CheckMethod::Checksum, 3, 77, {0x00}).back());
    EXPECT_EQ(line->Snapshot(3).config.method, CheckMethod::Crc16);
    EXPECT_TRUE(log.lines.empty()) << ::testing::PrintToString(log.Texts());

    // Without an open port every send fails after the recovery pause; the flash-protect
    // commands pause their 50 ms all the same, the others do not.
    link.ClosePort();
    double plain = ElapsedMs([&] { EXPECT_FALSE(sensor.SetLaserOff()); });
    took = ElapsedMs([&] { EXPECT_FALSE(sensor.WriteFlashProtect2(0x55)); });
    EXPECT_GE(took - plain, 40.0);
    double reset = ElapsedMs([&] { EXPECT_FALSE(sensor.ResetSensor()); });
    EXPECT_LT(reset - plain, 500.0);
}

} // namespace
} // namespace vk::test
