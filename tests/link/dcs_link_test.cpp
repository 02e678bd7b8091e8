// The exchange rules on a real pseudo-terminal: how replies are found, checked and
// matched, which failures pause and purge, and what each failure says.
#include "link/dcs_link.h"
#include "tests/elapsed_ms.h"
#include "tests/link/frame_bytes.h"
#include "tests/link/pty_peer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vk;
using vk::test::ElapsedMs;
using vk::test::PtyPeer;
using Bytes = std::vector<std::uint8_t>;

namespace {

class DcsLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(link.OpenPortName(peer.ComName(), 57600, 0, 0, 8, 100, 100))
            << link.ErrorText();
    }
    // GetPeak (38) to address 1; the peer answers the request with `reply`.
    bool TransactPeak(CheckMethod method, const Bytes& reply, std::uint8_t out[2]) {
        peer.AnswerNextRequest(reply);
        return link.dcs_Transact(1, method, 38, nullptr, 0, out, 2);
    }
    PtyPeer peer;
    DcsLink link;
};

} // namespace

TEST_F(DcsLinkTest, TransactWritesTheRequestAndTakesTheReplyBehindStrayBytes) {
    for (CheckMethod method : {CheckMethod::Checksum, CheckMethod::Crc16}) {
        Bytes reply = test::FrameBytes(method, 1, 38, {0xAB, 0xCD});
        reply.insert(reply.begin(), {0x55, 0xFF, 0x00}); // noise ahead of the frame
        std::uint8_t out[2] = {};
        ASSERT_TRUE(TransactPeak(method, reply, out)) << link.ErrorText();
        EXPECT_EQ(out[0], 0xAB);
        EXPECT_EQ(out[1], 0xCD);
        EXPECT_EQ(peer.Received(), test::FrameBytes(method, 1, 38));
        EXPECT_EQ(link.Method(), method);
    }
}

TEST_F(DcsLinkTest, ABadCheckFieldFailsInBothVariantsAfterTheRecoveryPause) {
    for (CheckMethod method : {CheckMethod::Checksum, CheckMethod::Crc16}) {
        Bytes reply = test::FrameBytes(method, 1, 38, {1, 2});
        reply.back() ^= 0x40;
        std::uint8_t out[2] = {0x11, 0x22};
        double ms = ElapsedMs([&] { EXPECT_FALSE(TransactPeak(method, reply, out)); });
        EXPECT_EQ(link.Error().code, kErrBadCheck);
        EXPECT_STREQ(link.ErrorText(), "dcs_ReadPacket detected an invalid checksum");
        EXPECT_GE(ms, 245);
        EXPECT_LT(ms, 450);
        EXPECT_EQ(out[0], 0x11); // the destination is untouched
        peer.Received(10);
    }
}

TEST_F(DcsLinkTest, AWrongPacketIdFailsAtOnceWithoutPause) {
    std::uint8_t out[2];
    double ms = ElapsedMs([&] {
        EXPECT_FALSE(TransactPeak(CheckMethod::Checksum,
                                  test::FrameBytes(CheckMethod::Checksum, 1, 39, {1, 2}), out));
    });
    EXPECT_EQ(link.Error().code, kErrWrongPacketId);
    EXPECT_STREQ(link.ErrorText(), "dcs_SendAndConfirm received incorrect packet ID");
    EXPECT_LT(ms, 100);
}

TEST_F(DcsLinkTest, AWrongReplyLengthFailsSilentlyKeepingTheOlderText) {
    SetCommError(&link.Error(), 55, "older failure");
    std::uint8_t out[2] = {0x11, 0x22};
    EXPECT_FALSE(TransactPeak(CheckMethod::Crc16,
                              test::FrameBytes(CheckMethod::Crc16, 1, 38, {1, 2, 3}), out));
    EXPECT_EQ(link.Error().code, 55);
    EXPECT_STREQ(link.ErrorText(), "older failure");
    EXPECT_EQ(out[0], 0x11);
}

TEST_F(DcsLinkTest, ShortRepliesNameWhatWasAwaited) {
    // LENGTH announces 2 payload bytes + 2 CRC bytes; only one byte follows.
    Bytes cut = test::FrameBytes(CheckMethod::Crc16, 1, 38, {1, 2});
    cut.resize(5);
    std::uint8_t out[2];
    EXPECT_FALSE(TransactPeak(CheckMethod::Crc16, cut, out));
    EXPECT_EQ(link.Error().code, kErrIncomplete);
    EXPECT_STREQ(link.ErrorText(), "dcs_ReadPacket did not receive complete packet data "
                                   "(expectedBytes=4, actualBytes=1)");

    // Checksum variant: LENGTH counts the checksum byte, so 3 are awaited.
    Bytes data = test::FrameBytes(CheckMethod::Checksum, 1, 38, {1, 2});
    data.resize(6);
    EXPECT_FALSE(TransactPeak(CheckMethod::Checksum, data, out));
    EXPECT_STREQ(link.ErrorText(), "dcs_ReadPacket did not receive complete packet data "
                                   "(expectedBytes=3, actualBytes=2)");

    Bytes header = test::FrameBytes(CheckMethod::Checksum, 1, 38, {1, 2});
    header.resize(2);
    EXPECT_FALSE(TransactPeak(CheckMethod::Checksum, header, out));
    EXPECT_EQ(link.Error().code, kErrIncomplete);
    EXPECT_STREQ(link.ErrorText(), "dcs_ReadHeader did not receive complete packet header.");
}

TEST_F(DcsLinkTest, SilenceCostsTheBudgetPlusRecovery) {
    std::uint8_t out[2];
    double ms = ElapsedMs(
        [&] { EXPECT_FALSE(link.dcs_Transact(1, CheckMethod::Checksum, 38, nullptr, 0, out, 2)); });
    EXPECT_EQ(link.Error().code, kErrNoStartByte);
    EXPECT_STREQ(link.ErrorText(), "dcs_ReadHeader timeout waiting for STX");
    // 1000 ms budget, overrun by at most one 100 ms read call, then the 250 ms pause.
    EXPECT_GE(ms, 1245);
    EXPECT_LT(ms, 1500);
}

TEST_F(DcsLinkTest, VerifyOffAcceptsABadCheckField) {
    Bytes reply = test::FrameBytes(CheckMethod::Checksum, 9, 38, {1, 2});
    reply.back() ^= 0xFF;
    peer.Send(reply);
    FrameBuffer frame{};
    EXPECT_TRUE(link.dcs_ReadPacket(&frame, 500, false));
    EXPECT_EQ(frame[1], 9); // the reply's address is not examined
    peer.Send(reply);
    EXPECT_FALSE(link.dcs_ReadPacket(&frame, 500, true));
}

TEST_F(DcsLinkTest, SendWritesOneFrameAndReadsNothing) {
    const std::uint8_t mode[] = {0x34, 0x12};
    EXPECT_TRUE(link.dcs_Send(1, CheckMethod::Checksum, 2, nullptr, 0));
    EXPECT_EQ(peer.Received(), (Bytes{0x02, 0x01, 0x01, 0x02, 0xFA}));
    // The acknowledgement is left for dcs_ReceiveReply.
    peer.AnswerNextRequest(test::FrameBytes(CheckMethod::Checksum, 1, 9));
    EXPECT_TRUE(link.dcs_Send(1, CheckMethod::Crc16, 9, mode, 2));
    EXPECT_EQ(peer.Received(), test::FrameBytes(CheckMethod::Crc16, 1, 9, {0x34, 0x12}));

    std::uint8_t payload[kMaxPayload];
    std::size_t length = 99;
    EXPECT_TRUE(link.dcs_ReceiveReply(CheckMethod::Checksum, 9, payload, &length));
    EXPECT_EQ(length, 0u);
}

TEST_F(DcsLinkTest, ReceiveReplyHandsBackTheWholePayloadOrDropsAForeignPacket) {
    Bytes full(255);
    for (std::size_t i = 0; i < full.size(); ++i)
        full[i] = static_cast<std::uint8_t>(i);
    peer.Send(test::FrameBytes(CheckMethod::Crc16, 1, 11, full));
    std::uint8_t payload[kMaxPayload];
    std::size_t length = 0;
    ASSERT_TRUE(link.dcs_ReceiveReply(CheckMethod::Crc16, 11, payload, &length));
    EXPECT_EQ(length, 255u);
    EXPECT_EQ(payload[254], 254);

    SetCommError(&link.Error(), 55, "older failure");
    peer.Send(test::FrameBytes(CheckMethod::Crc16, 1, 12, {1}));
    EXPECT_FALSE(link.dcs_ReceiveReply(CheckMethod::Crc16, 11, payload, &length));
    EXPECT_STREQ(link.ErrorText(), "older failure");
}

TEST_F(DcsLinkTest, AStrayFrameCostsOneExchangeNotEveryOneAfterIt) {
    // An unasked frame comes just ahead of the reply and is taken for it; the reply is
    // left waiting. The next request must not read it in place of its own.
    const Bytes stray = test::FrameBytes(CheckMethod::Checksum, 1, 20, {9});
    Bytes both = stray;
    for (std::uint8_t b : test::FrameBytes(CheckMethod::Checksum, 1, 38, {1, 2}))
        both.push_back(b);
    std::uint8_t out[2] = {};
    EXPECT_FALSE(TransactPeak(CheckMethod::Checksum, both, out));
    EXPECT_EQ(link.Error().code, kErrWrongPacketId);
    ASSERT_TRUE(TransactPeak(CheckMethod::Checksum,
                             test::FrameBytes(CheckMethod::Checksum, 1, 38, {3, 4}), out))
        << link.ErrorText();
    EXPECT_EQ(out[0], 3);
    EXPECT_EQ(out[1], 4);
    // So does dcs_Send: the acknowledgement read after it is the new one.
    peer.Send(stray);
    peer.AnswerNextRequest(test::FrameBytes(CheckMethod::Checksum, 1, 82));
    ASSERT_TRUE(link.dcs_Send(1, CheckMethod::Checksum, 82, out, 1));
    std::uint8_t payload[kMaxPayload];
    std::size_t length = 0;
    EXPECT_TRUE(link.dcs_ReceiveReply(CheckMethod::Checksum, 82, payload, &length));
}

TEST_F(DcsLinkTest, ACableGoneMidExchangeGivesAnErrorNotAHang) {
    EXPECT_FALSE(link.PortLost());
    peer.Hangup();
    std::uint8_t out[2];
    double ms = ElapsedMs(
        [&] { EXPECT_FALSE(link.dcs_Transact(1, CheckMethod::Checksum, 38, nullptr, 0, out, 2)); });
    EXPECT_LT(ms, 600);
    EXPECT_NE(link.Error().code, 0);
    EXPECT_NE(std::string(link.ErrorText()).find("failed"), std::string::npos) << link.ErrorText();
    EXPECT_TRUE(link.PortLost());
    link.ClosePort();
    EXPECT_FALSE(link.PortLost());
}

TEST(DcsLinkPort, ReopeningClosesTheOldPortAndSettingsPersist) {
    PtyPeer first(1);
    DcsLink link;
    ASSERT_TRUE(link.OpenPortName("COM1", 9600, 0, 0, 8, 50, 60));
    EXPECT_TRUE(link.IsOpen());
    ASSERT_TRUE(link.SetPortBaudRate(19200));
    PortSettings settings;
    link.GetPortSettings(&settings);
    EXPECT_EQ(settings.baudRate, 19200);
    EXPECT_EQ(settings.readTimeoutMs, 50);
    EXPECT_EQ(settings.writeTimeoutMs, 60);
    EXPECT_EQ(settings.inputQueueSize, 1024);

    // Opening again closes the first handle, so the port can be opened once more.
    ASSERT_TRUE(link.OpenPortName("COM1", 57600, 0, 0, 8, 100, 100)) << link.ErrorText();
    EXPECT_TRUE(link.ClosePort());
    EXPECT_FALSE(link.IsOpen());
    EXPECT_FALSE(link.OpenPort(77, 57600, 0, 0, 8, 100, 100));
    EXPECT_EQ(link.Error().code, kErrOpenFailed);
    EXPECT_FALSE(link.IsOpen());
}

TEST(DcsLinkPort, DrainInputDropsWhatIsWaiting) {
    PtyPeer peer;
    DcsLink link;
    ASSERT_TRUE(link.OpenPortName(peer.ComName(), 57600, 0, 0, 8, 100, 100));
    peer.Send(test::FrameBytes(CheckMethod::Checksum, 1, 38, {1, 2}));
    EXPECT_TRUE(link.DrainInput());
    FrameBuffer frame{};
    EXPECT_FALSE(link.dcs_ReadPacket(&frame, 100, true));
    EXPECT_EQ(link.Error().code, kErrNoStartByte);
}
