// Identity replies, exact bytes on the line, and several sensors sharing one line.

#include "sim_test_support.h"

#include <filesystem>

namespace vk::sim::test {
namespace {

constexpr std::uint8_t kGetModelName = 127;
constexpr std::uint8_t kGetSerialNum = 128;
constexpr std::uint8_t kGetVersion = 30;
constexpr std::uint8_t kGetVkt04Version = 39;

std::string Text(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (std::uint8_t b : bytes) {
        if (b == 0)
            break;
        text.push_back(static_cast<char>(b));
    }
    return text;
}

class SimIdentity : public LineFixture, public ::testing::WithParamInterface<CheckMethod> {};

TEST_P(SimIdentity, EveryModelTellsItsNameSerialAndVersions) {
    CheckMethod m = GetParam();
    const std::vector<std::string> models = {"0 VKT-02",   "0 K4-D-4",   "1 RMXLONG",   "O RMX2000",
                                             "0 K4-D-4BF", "0 KR5-EE-5", "no such one!"};
    std::vector<SensorConfig> sensors;
    for (std::size_t i = 0; i < models.size(); ++i) {
        SensorConfig c = Sensor(static_cast<std::uint8_t>(i + 1), models[i], m,
                                "SN" + std::to_string(100000 + i));
        c.revision = i == 0 ? 'C' : 'B';
        c.firmwareHundredths = static_cast<std::uint16_t>(200 + i);
        sensors.push_back(c);
    }
    StartLine(sensors);

    for (std::size_t i = 0; i < models.size(); ++i) {
        auto address = static_cast<std::uint8_t>(i + 1);
        SCOPED_TRACE(models[i]);
        auto name = Transact(address, m, kGetModelName, {}, 16);
        ASSERT_TRUE(name) << link.ErrorText();
        EXPECT_EQ(Text(*name), models[i]);
        EXPECT_EQ(name->back(), 0); // NUL-padded to 16 bytes

        auto serial = Transact(address, m, kGetSerialNum, {}, 16);
        ASSERT_TRUE(serial) << link.ErrorText();
        EXPECT_EQ(std::string(serial->begin(), serial->begin() + 8),
                  "SN" + std::to_string(100000 + i));

        // The VKT04 family is asked for its version with its own command only; the VKT02
        // answers both (the older setup tool asks it with the VKT04's).
        const bool vkt04Family = i == 1 || i == 3 || i == 4;
        for (std::uint8_t id : {kGetVkt04Version, kGetVersion}) {
            if (vkt04Family && id == kGetVersion)
                continue;
            auto version = Transact(address, m, id, {}, 6);
            ASSERT_TRUE(version) << link.ErrorText();
            EXPECT_EQ(WordAt(*version, 0, m), 200 + i);
            EXPECT_EQ((*version)[4], i == 0 ? 'C' : 'B');
            EXPECT_EQ((*version)[5], 25);
        }
    }
}

VK_SIM_BOTH_METHODS(SimIdentity);

class SimLineBehaviour : public LineFixture {};

TEST_F(SimLineBehaviour, RepliesAndRequestsAreExactlyTheFramedBytes) {
    StartLine({Sensor(1), Sensor(2, "VKT02", CheckMethod::Crc16, "VK000002")});
    for (std::uint8_t a : {1, 2}) {
        line->Modify(a, [](SensorState& s) {
            s.liveFrozen = true;
            s.live.peak = 0x0102;
        });
    }
    ASSERT_TRUE(Send(1, CheckMethod::Checksum, 38));
    EXPECT_EQ(ReadRaw(), (std::vector<std::uint8_t>{0x02, 0x01, 0x03, 0x26, 0x02, 0x01, 0xD1}));

    // The CRC sensor at address 2 answers the same way in its own variant.
    ASSERT_TRUE(Send(2, CheckMethod::Crc16, 38));
    auto reply = ReadRaw();
    auto expected = Frame(CheckMethod::Crc16, 2, 0x26, {0x01, 0x02});
    EXPECT_EQ(reply, expected);

    line->TakeReceived();
    ASSERT_TRUE(Send(1, CheckMethod::Checksum, 2)); // SetLaserOff
    ASSERT_TRUE(line->WaitReceived(5, 1000));
    EXPECT_EQ(line->TakeReceived(), (std::vector<std::uint8_t>{0x02, 0x01, 0x01, 0x02, 0xFA}));
    EXPECT_TRUE(line->TakeReceived().empty());
    EXPECT_FALSE(line->Snapshot(1).settings.laserOn);
    EXPECT_TRUE(ReadRaw(50).empty()); // a plain set request gets no reply
}

TEST_F(SimLineBehaviour, SensorsInBothMethodsShareTheLineAndOnlyOneAnswersAddressZero) {
    StartLine({Sensor(3, "VKT04", CheckMethod::Crc16, "VK000003"),
               Sensor(1, "VKT02", CheckMethod::Checksum, "VK000001"),
               Sensor(2, "RMXL", CheckMethod::Checksum, "VK000002")});
    auto a = Transact(1, CheckMethod::Checksum, kGetModelName, {}, 16);
    auto b = Transact(2, CheckMethod::Checksum, kGetModelName, {}, 16);
    auto c = Transact(3, CheckMethod::Crc16, kGetModelName, {}, 16);
    ASSERT_TRUE(a && b && c) << link.ErrorText();
    EXPECT_EQ(Text(*a), "0 VKT-02");
    EXPECT_EQ(Text(*b), "1 RMXLONG");
    EXPECT_EQ(Text(*c), "0 K4-D-4");

    // Both checksum sensors obey address 0, but the line carries one reply: the lowest
    // address's. The CRC sensor does not take a checksum frame.
    ASSERT_TRUE(Send(0, CheckMethod::Checksum, kGetModelName));
    auto raw = ReadRaw();
    EXPECT_EQ(raw, Frame(CheckMethod::Checksum, 1, kGetModelName,
                         {'0', ' ', 'V', 'K', 'T', '-', '0', '2', 0, 0, 0, 0, 0, 0, 0, 0}));

    // Every sensor addressed carries a global setting out.
    SendHandled(0, CheckMethod::Checksum, 82, {77});
    EXPECT_EQ(line->Snapshot(1).settings.threshold, 77);
    EXPECT_EQ(line->Snapshot(2).settings.threshold, 77);
    EXPECT_EQ(line->Snapshot(3).settings.threshold, 40);
}

TEST_F(SimLineBehaviour, TheLineSurvivesTheProgramClosingAndReopeningIt) {
    StartLine({Sensor(1)});
    ASSERT_TRUE(Transact(1, CheckMethod::Checksum, kGetModelName, {}, 16));
    link.ClosePort();
    ASSERT_TRUE(link.OpenPortName("COM1", 57600, kParityNone, kStopOne, 8, 100, 100))
        << link.ErrorText();
    EXPECT_TRUE(Transact(1, CheckMethod::Checksum, kGetModelName, {}, 16)) << link.ErrorText();
}

TEST_F(SimLineBehaviour, PacedRepliesTakeTheirWireTime) {
    StartLine({Sensor(1)}, /*pace=*/true);
    // 126 samples: one packet of 253 payload bytes, 257 bytes on the wire, plus the
    // 9-byte request: 266 x 10 bits at 57600 baud = 46 ms.
    std::vector<std::uint8_t> request = {0, 0, 126, 0};
    auto start = Clock::now();
    ASSERT_TRUE(Send(1, CheckMethod::Checksum, 11, request));
    auto packet = Receive(CheckMethod::Checksum, 11);
    double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    ASSERT_TRUE(packet) << link.ErrorText();
    EXPECT_EQ(packet->size(), 253u);
    EXPECT_GE(ms, 45.0);
    EXPECT_LT(ms, 200.0);
}

TEST_F(SimLineBehaviour, StopRemovesTheLinkAndTheProgramSeesTheDeviceGo) {
    StartLine({Sensor(1)});
    std::string linkPath = line->LinkPath();
    EXPECT_EQ(std::filesystem::read_symlink(linkPath), line->DevicePath());
    line->Unplug();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(linkPath)));
    auto start = Clock::now();
    EXPECT_FALSE(Transact(1, CheckMethod::Checksum, kGetModelName, {}, 16));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1500));
}

} // namespace
} // namespace vk::sim::test
