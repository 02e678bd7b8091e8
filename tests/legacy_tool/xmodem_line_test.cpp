// The XModem sender of the upload against a receiver scripted byte for byte on a real
// pseudo-terminal: resends, cancels, the error count carried into EOT, and the blocks of
// an image with its progress.

#include "legacy_test_support.h"
#include "legacy_tool/upload_sequence.h"
#include "link/xmodem.h"
#include "tests/elapsed_ms.h"

#include <sstream>

namespace vk::legacy::test {
namespace {

using namespace vk::xmodem;

// Answers each block or EOT that comes with the next answer of its script (an empty one:
// silence), with ACK once the script is used up; from a thread of its own, since the
// sender waits on the test's thread.
class ScriptedReceiver {
public:
    ScriptedReceiver(vk::test::PtyPeer& peer, std::deque<Bytes> script)
        : peer_(peer), script_(std::move(script)), thread_([this] { Run(); }) {}
    ~ScriptedReceiver() {
        stop_ = true;
        thread_.join();
    }
    // Every block frame and EOT that came, in order.
    std::vector<Bytes> Frames() {
        std::lock_guard lock(mutex_);
        return frames_;
    }

private:
    void Run() {
        Bytes pending;
        while (!stop_) {
            Bytes in = peer_.Received(5);
            pending.insert(pending.end(), in.begin(), in.end());
            while (!pending.empty()) {
                std::size_t size = pending[0] == kEot ? 1 : kBlockSize;
                if (pending[0] != kEot && pending[0] != kSoh) {
                    pending.erase(pending.begin());
                    continue;
                }
                if (pending.size() < size)
                    break;
                Answer(Bytes(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(size)));
                pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(size));
            }
        }
    }
    void Answer(Bytes frame) {
        Bytes answer{kAck};
        {
            std::lock_guard lock(mutex_);
            frames_.push_back(std::move(frame));
            if (!script_.empty()) {
                answer = script_.front();
                script_.pop_front();
            }
        }
        if (!answer.empty())
            peer_.Send(answer);
    }

    vk::test::PtyPeer& peer_;
    std::mutex mutex_;
    std::deque<Bytes> script_;
    std::vector<Bytes> frames_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class LegacyXModem : public ::testing::Test {
protected:
    LegacyXModem() {
        EnsureApplication();
        EXPECT_TRUE(link.Open());
    }
    // Sends block 1 of `data` to a receiver answering from `script`; the result and the
    // frames the receiver saw.
    std::pair<int, std::vector<Bytes>> Send(std::deque<Bytes> script, bool last = false) {
        ScriptedReceiver receiver(peer, std::move(script));
        int result = XModemSendBlock(link.comm, 1, data.data(), last);
        peer.Received(20);
        return {result, receiver.Frames()};
    }

    vk::test::PtyPeer peer;
    CommUnderTest link;
    Bytes data = Bytes(kBlockData, 0x5A);
};

TEST_F(LegacyXModem, ResendsUntilAcknowledgedAndGivesUpAsTheReceiverSays) {
    const Bytes block = XModemBlockFrame(1, data.data());
    auto [result, frames] = Send({{kNak}, {kNak}});
    EXPECT_EQ(result, kBlockSent);
    EXPECT_EQ(frames, std::vector<Bytes>(3, block));

    // A single CAN is one more error; the block goes again.
    std::tie(result, frames) = Send({{kCan, kNak}});
    EXPECT_EQ(result, kBlockSent);
    EXPECT_EQ(frames.size(), 2u);

    std::tie(result, frames) = Send({{kCan, kCan}});
    EXPECT_EQ(result, kCancelledByPeer);
    EXPECT_EQ(frames.size(), 1u);

    std::tie(result, frames) = Send(std::deque<Bytes>(17, {kNak}));
    EXPECT_EQ(result, kBlockNotAcked);
    EXPECT_EQ(frames.size(), 17u);

    // Ten errors on the last block and seven on its EOT make seventeen.
    std::deque<Bytes> script(10, {kNak});
    script.push_back({kAck});
    script.insert(script.end(), 7, {kNak});
    std::tie(result, frames) = Send(script, true);
    EXPECT_EQ(result, kEndNotAcked);
    ASSERT_EQ(frames.size(), 18u);
    EXPECT_EQ(frames.back(), Bytes{kEot});

    // Silence is waited out for two seconds, then the block goes again.
    double ms = vk::test::ElapsedMs([&] { std::tie(result, frames) = Send({{}}); });
    EXPECT_EQ(result, kBlockSent);
    EXPECT_EQ(frames.size(), 2u);
    EXPECT_GE(ms, 1900);
    EXPECT_LT(ms, 3000);

    // A pulled adapter ends the resends at once, not after seventeen waits for an answer.
    peer.Hangup();
    ms = vk::test::ElapsedMs([&] { result = XModemSendBlock(link.comm, 1, data.data(), false); });
    EXPECT_EQ(result, kBlockNotAcked);
    EXPECT_LT(ms, 1900);
}

TEST_F(LegacyXModem, ImageGoesOutBlockByBlockWithItsProgress) {
    std::string file(3 * kBlockData + 1, 'k');
    std::istringstream in(file);
    UploadImage image = LoadUploadImage(in);
    ScriptedReceiver receiver(peer, {});
    std::vector<int> percents;
    EXPECT_EQ(SendImage(link.comm, image, [&](int p) { percents.push_back(p); }), kBlockSent);
    EXPECT_EQ(percents, (std::vector<int>{25, 50, 75, 100}));
    peer.Received(20);
    std::vector<Bytes> frames = receiver.Frames();
    ASSERT_EQ(frames.size(), 5u);
    Bytes last(kBlockData, 0xFF);
    last[0] = 'k';
    EXPECT_EQ(frames[3], XModemBlockFrame(4, last.data()));
    EXPECT_EQ(frames[4], Bytes{kEot});
}

} // namespace
} // namespace vk::legacy::test
