// The connection core against simulated sensors: the connect sequence in both methods,
// model detection, and the changes of speed, address, check method and defaults.
#include "elapsed_ms.h"
#include "sensor/sensor_connection.h"
#include "sensor_test_support.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <chrono>

namespace vk::test {
namespace {

using namespace std::chrono_literals;
using sim::test::Frame;
using sim::test::Sensor;
using Bytes = std::vector<std::uint8_t>;

class Ticker : public WorkerThread {
public:
    ~Ticker() override { StopThread(); }

protected:
    void run() override {
        while (!WaitForStop(250ms)) {
        }
    }
    void OnStopped() override {}
    void OnExit() override {}
};

class SensorConnectionLine : public sim::test::SimLineFixture {
protected:
    void SetUp() override {
        connection.SetSettingsDialogs(dialogs.Links());
        connection.SetRefreshTicker(&ticker);
        host.connectAnswer.portName = "COM1";
        host.connectAnswer.portNumber = 1;
    }
    std::vector<std::uint8_t> Sent() {
        EXPECT_TRUE(line->WaitIdle(2000));
        return line->TakeReceived();
    }
    std::int64_t Profile(const std::string& section, const std::string& name) {
        auto it = profile.values.find({section, name});
        return it == profile.values.end() ? -1 : it->second;
    }
    static Bytes Concat(std::initializer_list<Bytes> parts) {
        Bytes all;
        for (const Bytes& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    }

    RecordingLog log;
    RecordingProfile profile;
    ScriptedHost host;
    DialogSet dialogs;
    Ticker ticker;
    SensorConnection connection{host, log, profile};
};

TEST_F(SensorConnectionLine, ConnectsWithTheChecksumAndDisconnects) {
    StartLine({Sensor(1)});
    ASSERT_TRUE(connection.Connect());
    EXPECT_EQ(log.lines, (std::vector<LogLine>{{"Successfully connected to VKT02 type sensor",
                                                LogIcon::Information}}));
    // Model name, version, serial number: nothing else goes out (the dialogs here read
    // nothing on reload).
    constexpr auto kSum = CheckMethod::Checksum;
    EXPECT_EQ(Sent(), Concat({Frame(kSum, 1, 127), Frame(kSum, 1, 30), Frame(kSum, 1, 128)}));

    EXPECT_TRUE(connection.Connected());
    EXPECT_EQ(connection.Model(), ModelType::VKT02);
    EXPECT_EQ(connection.ModelName(), "VKT02");
    EXPECT_EQ(connection.ActiveSettingsDialog(), &dialogs.vkt02);
    EXPECT_EQ(connection.FirmwareVersion(), "1.23B");
    EXPECT_EQ(connection.FpgaVersion(), " 2.5");
    EXPECT_EQ(connection.Sensor().Replies().serialNumber.Prefix(8), "VK000001");
    EXPECT_EQ(connection.Sensor().Method(), CheckMethod::Checksum);
    for (auto* dialog : {&dialogs.vkt02, &dialogs.vkt04, &dialogs.rmxShort, &dialogs.vezir})
        EXPECT_EQ(dialog->sensor, &connection.Sensor());
    EXPECT_EQ(dialogs.vkt02.reloads, 1);
    EXPECT_EQ(host.panels, std::vector<ModelType>{ModelType::VKT02});
    EXPECT_EQ(host.viewUpdates, 1);
    EXPECT_EQ(ticker.GetState(), WorkerThread::State::Running);
    EXPECT_EQ(Profile("Settings", "port name"), 1);
    EXPECT_EQ(Profile("Settings\\1", "boudrate"), 57600);
    EXPECT_EQ(Profile("Settings\\1", "address"), 1);

    connection.Disconnect();
    EXPECT_EQ(log.lines.back(), (LogLine{"Disconnected...", LogIcon::Warning}));
    EXPECT_FALSE(connection.Connected());
    EXPECT_FALSE(connection.Link().IsOpen());
    EXPECT_EQ(ticker.GetState(), WorkerThread::State::Ended);
    EXPECT_EQ(host.sensorBarRefreshes, 1);
    EXPECT_EQ(host.viewUpdates, 2);
    EXPECT_EQ(host.notConnectedShown, 1);

    connection.Close();
    EXPECT_EQ(log.lines.back(), (LogLine{"Close", LogIcon::Information}));
}

TEST_F(SensorConnectionLine, CrcSensorConnectsAfterOneFailedChecksumAttempt) {
    StartLine({Sensor(1, "VKT04", CheckMethod::Crc16)});
    ASSERT_TRUE(connection.Connect());
    EXPECT_EQ(
        log.lines,
        (std::vector<LogLine>{
            {"Command GetModelName failed. dcs_ReadHeader timeout waiting for STX", LogIcon::Error},
            {"Successfully connected to VKT04 type sensor", LogIcon::Information}}));
    EXPECT_EQ(connection.Sensor().Method(), CheckMethod::Crc16);
    EXPECT_EQ(connection.ActiveSettingsDialog(), &dialogs.vkt04);
    // A VKT04 answers its own version command.
    constexpr auto kCrc = CheckMethod::Crc16;
    EXPECT_EQ(Sent(), Concat({Frame(CheckMethod::Checksum, 1, 127), Frame(kCrc, 1, 127),
                              Frame(kCrc, 1, 39), Frame(kCrc, 1, 128)}));
    EXPECT_EQ(connection.FirmwareVersion(), "1.23B");
}

TEST_F(SensorConnectionLine, DevicePathAndForcedMethodSkipTheProbe) {
    StartLine({Sensor(1, "RMXS", CheckMethod::Crc16)});
    host.connectAnswer.portName = line->DevicePath();
    host.connectAnswer.portNumber = -1;
    connection.ForceCheckMethod(CheckMethod::Crc16);
    ASSERT_TRUE(connection.Connect());
    EXPECT_EQ(log.Texts(),
              std::vector<std::string>{"Successfully connected to Rmx Short type sensor"});
    EXPECT_EQ(connection.ActiveSettingsDialog(), &dialogs.rmxShort);

    // A method the settings name (a sensor chosen from a line search) is the one tried, and
    // the hint of a silent address says so.
    connection.Disconnect();
    SensorConnection chosen{host, log, profile};
    host.connectAnswer.address = 9;
    host.connectAnswer.checkMethod = CheckMethod::Crc16;
    log.lines.clear();
    EXPECT_FALSE(chosen.Connect());
    ASSERT_GE(log.lines.size(), 2u);
    EXPECT_NE(log.lines[1].text.find("address 9, with CRC only;"), std::string::npos)
        << log.lines[1].text;
}

TEST_F(SensorConnectionLine, UnknownModelFailsUnlessInManufacturingMode) {
    StartLine({Sensor(1, "0 RMX2000 ")}); // the Rmx Short string with a trailing blank
    EXPECT_FALSE(connection.Connect());
    EXPECT_EQ(log.lines,
              (std::vector<LogLine>{
                  {"Connected to the sensor, but the model name is unknown.", LogIcon::Error},
                  {"Disconnected...", LogIcon::Warning}}));
    EXPECT_FALSE(connection.Connected());
    EXPECT_EQ(ticker.GetState(), WorkerThread::State::Idle);
    EXPECT_TRUE(host.panels.empty());

    log.lines.clear();
    host.manufacturing = true;
    ASSERT_TRUE(connection.Connect());
    EXPECT_EQ(log.lines,
              (std::vector<LogLine>{
                  {"Sensor responded with unknown model string.Since in "
                   "manufacturing mode initializing as VKT02.",
                   LogIcon::Error},
                  {"Successfully connected to VKT02 type sensor", LogIcon::Information}}));
    EXPECT_EQ(connection.Model(), ModelType::VKT02);
    EXPECT_EQ(host.panels, std::vector<ModelType>{ModelType::VKT02});
}

TEST_F(SensorConnectionLine, ChangeBaudRateMovesThePortEvenWithoutAcknowledgement) {
    StartLine({Sensor(1, "VKT02", CheckMethod::Crc16)});
    connection.ForceCheckMethod(CheckMethod::Crc16);
    ASSERT_TRUE(connection.Connect());
    log.lines.clear();
    int reloads = dialogs.vkt02.reloads;

    host.baudAnswer = 19200;
    line->InjectFault(1, {sim::FaultKind::Silence}); // the acknowledgement never comes
    ASSERT_TRUE(connection.ChangeBaudRate());
    EXPECT_EQ(host.baudPreset, 57600);
    EXPECT_EQ(log.lines, (std::vector<LogLine>{{"Set boudrate to 19200", LogIcon::Information}}));
    EXPECT_EQ(connection.Link().Settings().baudRate, 19200);
    EXPECT_EQ(line->Snapshot(1).config.baudRate, 19200);
    EXPECT_EQ(Profile("Settings\\1", "boudrate"), 19200);
    EXPECT_EQ(dialogs.vkt02.reloads, reloads + 1);
    EXPECT_TRUE(connection.Sensor().GetModelName()); // both ends at the new speed

    // A rate the sensors do not know changes nothing.
    line->TakeReceived();
    host.baudAnswer = 115200;
    EXPECT_FALSE(connection.ChangeBaudRate());
    EXPECT_EQ(host.baudPreset, 19200);
    EXPECT_EQ(connection.Link().Settings().baudRate, 19200);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(SensorConnectionLine, ChangeSensorAddressGoesBySerialToAddressZero) {
    StartLine({Sensor(1), Sensor(2, "VKT02", CheckMethod::Checksum, "VK000002")});
    ASSERT_TRUE(connection.Connect());
    Sent();
    int reloads = dialogs.vkt02.reloads;

    host.addressAnswer = 7;
    connection.ChangeSensorAddress();
    EXPECT_EQ(host.serialShown, "VK000001");
    EXPECT_EQ(host.addressPreset, 1);
    EXPECT_EQ(Sent(),
              Frame(CheckMethod::Checksum, 0, 18, {'V', 'K', '0', '0', '0', '0', '0', '1', 7}));
    EXPECT_EQ(line->Snapshot(7).config.serialNumber, "VK000001");
    EXPECT_EQ(line->Snapshot(2).config.serialNumber, "VK000002");
    EXPECT_FALSE(line->HasSensor(1));
    EXPECT_EQ(connection.Sensor().Address(), 7);
    EXPECT_EQ(Profile("Settings\\1", "address"), 7);
    EXPECT_EQ(dialogs.vkt02.reloads, reloads + 1);
    EXPECT_TRUE(connection.Sensor().GetModelName());
    Sent();

    host.confirmAddress = false;
    connection.ChangeSensorAddress();
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(dialogs.vkt02.reloads, reloads + 2); // reloaded after a cancel too
}

TEST_F(SensorConnectionLine, SelectCheckMethodAndResetToDefaults) {
    StartLine({Sensor(1)});
    ASSERT_TRUE(connection.Connect());
    Sent();
    int reloads = dialogs.vkt02.reloads;

    line->Modify(1, [](sim::SensorState& s) { s.settings.threshold = 99; });
    connection.ResetToDefaults(); // declined
    EXPECT_EQ(host.questions, std::vector<std::string>{"Reset sensor to factory defaults ?"});
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(line->Snapshot(1).settings.threshold, 99);
    EXPECT_EQ(dialogs.vkt02.reloads, reloads);

    host.yes = true;
    connection.ResetToDefaults();
    EXPECT_EQ(Sent(), Frame(CheckMethod::Checksum, 1, 66));
    EXPECT_EQ(line->Snapshot(1).settings.threshold, sim::SensorSettings{}.threshold);
    EXPECT_EQ(dialogs.vkt02.reloads, reloads + 1);

    connection.SelectCheckMethod(CheckMethod::Crc16);
    EXPECT_EQ(Sent(), Frame(CheckMethod::Checksum, 1, 77, {0}));
    EXPECT_EQ(line->Snapshot(1).config.method, CheckMethod::Crc16);
    EXPECT_EQ(connection.Sensor().Method(), CheckMethod::Crc16);
    EXPECT_TRUE(connection.Sensor().GetModelName());
    EXPECT_EQ(log.lines.size(), 1u); // only the connect line
}

TEST_F(SensorConnectionLine, SensorThatVanishesMidConnectFailsWithoutHanging) {
    StartLine({Sensor(1)});
    // The port is open and the settings are being saved when the device goes away.
    profile.onWrite = [this] {
        if (line->Running())
            line->Unplug();
    };
    double took = ElapsedMs([&] { EXPECT_FALSE(connection.Connect()); });
    EXPECT_LT(took, 5000.0);
    ASSERT_GE(log.lines.size(), 3u);
    EXPECT_EQ(log.lines.front().text.rfind("Command GetModelName failed. ", 0), 0u);
    // Neither the other method nor the advice for a silent sensor: the port is gone.
    EXPECT_EQ(log.lines.size(), 3u);
    EXPECT_EQ(log.lines[log.lines.size() - 2].text, "Cannot connect to the sensor...");
    EXPECT_EQ(log.lines.back().text, "Disconnected...");
    EXPECT_FALSE(connection.Connected());
}

} // namespace
} // namespace vk::test
