// The XModem-CRC sender against a receiver scripted byte for byte on a real
// pseudo-terminal: the blocks it writes, and how its attempts run out.
#include "link/xmodem_sender.h"
#include "tests/elapsed_ms.h"
#include "tests/link/frame_bytes.h"
#include "tests/link/pty_peer.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vk;
using namespace vk::xmodem;
using vk::test::XModemBlockBytes;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Repeated(std::uint8_t byte) {
    return Bytes(kBlockData, byte);
}

class XModemSenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A short port read time-out keeps each unanswered wait near kWaitMs.
        ASSERT_TRUE(link.OpenPortName(peer.ComName(), 57600, 0, 0, 8, 10, 100)) << link.ErrorText();
    }
    // Hands `file` to the sender byte by byte, the last one flagged; the first error.
    int SendFile(const Bytes& file) {
        for (std::size_t i = 0; i < file.size(); ++i) {
            if (int error = sender.Send(file[i], i + 1 == file.size()))
                return error;
        }
        return 0;
    }

    static constexpr std::uint32_t kWaitMs = 20;
    test::PtyPeer peer;
    DcsLink link;
    XModemSender sender{&link, kWaitMs};
};

TEST_F(XModemSenderTest, NakOrCPromptGetsCrcBlocksPaddedWithTheLastByte) {
    // NAK asks for checksum blocks in plain XModem; these receivers get CRC blocks anyway.
    Bytes file(129);
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<std::uint8_t>(i * 7 + 3);
    peer.Send({kNak, kAck, kAck, kAck});
    EXPECT_EQ(SendFile(file), 0);
    EXPECT_EQ(peer.Received(), XModemBlockBytes(1, file.data()) +
                                   XModemBlockBytes(2, Repeated(file[128]).data()) + Bytes{kEot});

    // One byte is one whole block of it.
    sender.Reset();
    peer.Send({kCrcPrompt, kAck, kAck});
    EXPECT_EQ(SendFile({0x5A}), 0);
    EXPECT_EQ(peer.Received(), XModemBlockBytes(1, Repeated(0x5A).data()) + Bytes{kEot});
}

TEST_F(XModemSenderTest, TheAttemptsOfOneCallRunOutWithTheirError) {
    const Bytes block = XModemBlockBytes(1, Repeated(0x11).data());
    auto times = [](const Bytes& bytes, int n) {
        Bytes all;
        for (int i = 0; i < n; ++i)
            all = all + bytes;
        return all;
    };

    // Silence: 20 reads, nothing written; the error stays and costs no more waiting.
    double ms = test::ElapsedMs([&] { EXPECT_EQ(SendFile({0x11}), XModemSender::kNoHandshake); });
    EXPECT_GE(ms, 20 * kWaitMs - 5);
    EXPECT_TRUE(peer.Received().empty());
    ms = test::ElapsedMs([&] { EXPECT_EQ(sender.Send(0x11, true), XModemSender::kNoHandshake); });
    EXPECT_LT(ms, kWaitMs);

    // The handshake took one attempt of the call, so the block goes out 18 times.
    sender.Reset();
    peer.Send({kCrcPrompt});
    EXPECT_EQ(SendFile({0x11}), XModemSender::kBlockNotAcked);
    EXPECT_EQ(peer.Received(), times(block, 18));

    // Handshake and block took two: the EOT goes out 18 times, the 20th read fails it.
    sender.Reset();
    peer.Send({kCrcPrompt, kAck});
    EXPECT_EQ(SendFile({0x11}), XModemSender::kEndNotAcked);
    EXPECT_EQ(peer.Received(), block + times({kEot}, 18));

    // Any answer but ACK costs an attempt and a resend, a CAN as much as a NAK.
    sender.Reset();
    peer.Send({kCrcPrompt, kNak, kCan, 0x00, kCan, kCan});
    EXPECT_EQ(SendFile({0x11}), XModemSender::kBlockNotAcked);
    EXPECT_EQ(peer.Received(), times(block, 18));
    EXPECT_EQ(sender.Error(), XModemSender::kBlockNotAcked);
}

} // namespace
