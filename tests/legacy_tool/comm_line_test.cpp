// KorvelComm on a real pseudo-terminal: replies from simulated sensors, the faults they
// can commit, the check-method probe, and what a vanished device does to a wait.

#include "legacy_test_support.h"
#include "legacy_tool/korvel_comm.h"
#include "legacy_tool/legacy_codes.h"
#include "legacy_tool/legacy_session.h"
#include "legacy_tool/readout_decoding.h"
#include "legacy_tool/reply_reader.h"
#include "link/port_names.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <optional>
#include <thread>

namespace vk::legacy::test {
namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class LegacyCommLine : public ::testing::TestWithParam<CheckMethod> {
protected:
    void SetUp() override {
        EnsureApplication();
        line.AddSensor(sim::test::Sensor(1, "VKT02", GetParam()));
        std::string error;
        ASSERT_TRUE(line.Start(&error)) << error;
        ASSERT_TRUE(link.Open());
        link.state.method = GetParam();
    }

    sim::test::ScopedPortDir dir;
    sim::SimLine line;
    CommUnderTest link;
};

TEST_P(LegacyCommLine, RepliesAndEveryKindOfBrokenReply) {
    CheckMethod m = GetParam();
    Bytes reply;
    ASSERT_TRUE(link.Ask(kCmdGetMinLP, 1, reply));
    EXPECT_EQ(link.state.lastError, kNoError);
    EXPECT_EQ(PayloadByte(reply, 0), 20);
    EXPECT_EQ(line.TakeReceived(), sim::test::Frame(m, 1, kCmdGetMinLP));

    // A request to everybody is answered with the sensor's own address, and taken.
    ASSERT_TRUE(link.Ask(kCmdGetMaxLP, 0, reply));
    EXPECT_EQ(reply[1], 1);
    EXPECT_EQ(PayloadByte(reply, 0), 200);

    struct Case {
        sim::Fault fault;
        int lastError;
    };
    const Case cases[] = {
        {{sim::FaultKind::StrayBytes}, kInvalidResponse},
        {{sim::FaultKind::ShortReply, 1, 0, 3}, kTimeOut},
        {{sim::FaultKind::BadCheck}, kCheckMismatch},
        {{sim::FaultKind::Silence}, kNoResponse},
    };
    for (const Case& c : cases) {
        line.InjectFault(1, c.fault);
        auto start = Clock::now();
        EXPECT_FALSE(link.Ask(kCmdGetMinLP, 1, reply)) << c.lastError;
        EXPECT_EQ(link.state.lastError, c.lastError);
        EXPECT_LT(MsSince(start), kReplyMs + 250);
        // The next request starts clean: what the broken reply left is thrown away.
        ASSERT_TRUE(link.Ask(kCmdGetMinLP, 1, reply)) << c.lastError;
        EXPECT_EQ(PayloadByte(reply, 0), 20);
    }
}

TEST_P(LegacyCommLine, StaleBytesAreNeverTakenForTheReply) {
    CheckMethod m = GetParam();
    bool crc = m == CheckMethod::Crc16;
    // A whole reply nobody read, then noise, both waiting before the next request.
    link.comm.SendPacket(kCmdGetMinLP, 1, {}, crc);
    line.InjectFault(1, {sim::FaultKind::Garbage});
    link.comm.DelayMs(100);
    ASSERT_GE(link.comm.Ring().Count(), 5u);
    Bytes reply;
    ASSERT_TRUE(link.Ask(kCmdGetMaxLP, 1, reply));
    EXPECT_EQ(reply[3], kCmdGetMaxLP);
    EXPECT_EQ(PayloadByte(reply, 0), 200);
}

TEST_P(LegacyCommLine, ProbeFindsTheSensorsMethodAndWaitsCostNoCpu) {
    CheckMethod m = GetParam();
    link.state.currentAddress = 1;
    link.state.method = CheckMethod::Crc16;
    line.TakeReceived();
    EXPECT_EQ(link.comm.Connect(), m == CheckMethod::Checksum ? 1 : 2);
    EXPECT_EQ(link.state.method, m);
    Bytes expected = sim::test::Frame(CheckMethod::Checksum, 1, kCmdRangeReading);
    if (m == CheckMethod::Crc16) {
        Bytes crcProbe = sim::test::Frame(CheckMethod::Crc16, 1, kCmdRangeReading);
        expected.insert(expected.end(), crcProbe.begin(), crcProbe.end());
    }
    EXPECT_EQ(line.TakeReceived(), expected);

    // Nobody at address 9: both probes time out, and the waits sleep.
    link.state.currentAddress = 9;
    auto start = Clock::now();
    std::clock_t cpu = std::clock();
    EXPECT_EQ(link.comm.Connect(), 0);
    double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
    EXPECT_EQ(link.state.lastError, kNoResponse);
    EXPECT_EQ(link.state.method, CheckMethod::Crc16);
    EXPECT_GE(MsSince(start), 2 * kReplyMs);
    EXPECT_LT(cpuMs, 200.0);
}

TEST_P(LegacyCommLine, UnpluggedDeviceGivesNoResponseNotAHang) {
    line.Unplug();
    Bytes reply;
    auto start = Clock::now();
    EXPECT_FALSE(link.Ask(kCmdGetMinLP, 1, reply));
    EXPECT_EQ(link.state.lastError, kNoResponse);
    EXPECT_FALSE(link.Ask(kCmdGetMinLP, 1, reply));
    EXPECT_LT(MsSince(start), 2 * kReplyMs + 500);
}

INSTANTIATE_TEST_SUITE_P(BothMethods, LegacyCommLine,
                         ::testing::Values(CheckMethod::Checksum, CheckMethod::Crc16),
                         sim::test::MethodName);

// A peer that answers byte for byte as the test says.
class LegacyCommPeer : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        ASSERT_TRUE(link.Open());
    }
    vk::test::PtyPeer peer;
    CommUnderTest link;
};

TEST_F(LegacyCommPeer, ReplyCrcSeededWithTheRequestCrcIsAccepted) {
    link.comm.SendPacket(kCmdGetMinLP, 1, {}, true);
    EXPECT_EQ(peer.Received(), (Bytes{0x02, 0x01, 0x00, 0x82, 0x76, 0xC1}));
    EXPECT_EQ(link.comm.LastRequestCrc(), 0x76C1);
    peer.Send({0x02, 0x01, 0x01, 0x82, 0x40, 0xDA, 0x23});
    Bytes reply;
    EXPECT_TRUE(link.comm.GetPacket(reply, true, kReplyMs));
    EXPECT_EQ(PayloadByte(reply, 0), 0x40);

    // The seed is the last CRC request's; a checksum request in between does not move it.
    link.comm.SendPacket(kCmdGetMinLP, 1, {}, false);
    EXPECT_EQ(link.comm.LastRequestCrc(), 0x76C1);
    peer.Received();
    peer.Send({0x02, 0x01, 0x02, 0x82, 0x40, 0x3A});
    EXPECT_FALSE(link.comm.GetPacket(reply, false, kReplyMs));
    EXPECT_EQ(link.state.lastError, kCheckMismatch);
}

TEST_F(LegacyCommPeer, ValidReplyTooShortForItsFieldsIsNotTaken) {
    PeerResponder sensor(peer, {{kCmdGetSensorSetup, {0x41}}});
    LegacySession session(link.comm, link.state);
    EXPECT_EQ(session.Ask(kCmdGetSensorSetup, {}, kReplyMs, kSetupSize), std::nullopt);
    EXPECT_EQ(link.state.lastError, kInvalidResponse);
    // The reply itself is sound: where one byte is all that is read, it is taken.
    std::optional<Bytes> reply = session.Ask(kCmdGetSensorSetup, {}, kReplyMs, 1);
    ASSERT_TRUE(reply);
    EXPECT_EQ(link.state.lastError, kNoError);
    EXPECT_EQ(PayloadByte(*reply, 0), 0x41);
}

TEST_F(LegacyCommPeer, RequestThrowsAwayWhatTheDriverStillHolds) {
    // A second descriptor on the terminal, opened before the tool's exclusive one, shows
    // what waits in the driver without taking it.
    link.port.Close();
    int watch = ::open(ResolvePortName("COM1").c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_TRUE(link.Open());
    auto waiting = [watch] {
        int n = 0;
        return ::ioctl(watch, FIONREAD, &n) == 0 ? n : -1;
    };

    // A reply nobody read reaches the driver while no event is handled.
    link.comm.SendPacket(kCmdGetMinLP, 1, {}, false);
    peer.Received();
    peer.Send({0x02, 0x01, 0x02, 0x82, 0x11, 0x68});
    for (int i = 0; i < 2000 && waiting() < 6; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(waiting(), 6);

    link.comm.SendPacket(kCmdGetMinLP, 1, {}, false);
    EXPECT_EQ(waiting(), 0);
    peer.Received();
    peer.Send({0x02, 0x01, 0x02, 0x82, 0x40, 0x39});
    Bytes reply;
    ASSERT_TRUE(link.comm.GetPacket(reply, false, kReplyMs));
    EXPECT_EQ(PayloadByte(reply, 0), 0x40);
    ::close(watch);
}

TEST_F(LegacyCommPeer, FloodBeyondTheRingKeepsTheReplyThatCameFirst) {
    link.comm.SendPacket(kCmdGetMinLP, 1, {}, false);
    peer.Received();
    Bytes flood = {0x02, 0x01, 0x02, 0x82, 0x40, 0x39};
    flood.resize(flood.size() + kRingSize + 4000, 0x55);
    // The terminal holds less than the flood: write it while the tool takes it in, and
    // let it all arrive with nobody reading the ring.
    std::atomic<bool> written{false};
    std::thread writer([&] {
        peer.Send(flood);
        written = true;
    });
    for (int i = 0; i < 250 && !written; ++i)
        link.comm.DelayMs(20);
    writer.join();
    link.comm.DelayMs(100);
    ASSERT_TRUE(link.comm.Ring().Overflowed());
    EXPECT_EQ(link.comm.Ring().Count(), kRingSize);
    Bytes reply;
    ASSERT_TRUE(link.comm.GetPacket(reply, false, kReplyMs));
    EXPECT_EQ(reply, (Bytes{0x02, 0x01, 0x02, 0x82, 0x40}));

    // The next request starts with an empty ring that takes bytes again.
    link.comm.SendPacket(kCmdGetMinLP, 1, {}, false);
    EXPECT_FALSE(link.comm.Ring().Overflowed());
    peer.Send({0x02, 0x01, 0x02, 0x82, 0x41, 0x38});
    ASSERT_TRUE(link.comm.GetPacket(reply, false, kReplyMs));
    EXPECT_EQ(PayloadByte(reply, 0), 0x41);
}

} // namespace
} // namespace vk::legacy::test
