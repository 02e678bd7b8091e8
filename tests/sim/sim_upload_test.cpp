// The flash: protect words, the upload commands' acknowledgements, and the XModem-CRC
// receiver that takes the image, with its faults.

#include "link/xmodem.h"
#include "sim_test_support.h"
#include "tests/link/frame_bytes.h"

#include <mutex>

namespace vk::sim::test {
namespace {

using namespace vk::xmodem;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kUploadCode = 86;
constexpr std::uint8_t kUploadCalibration = 88;
constexpr std::uint8_t kGetPeak = 38;

Bytes Image(std::size_t blocks) {
    Bytes image(blocks * kBlockData);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 31 + i / 256);
    return image;
}

class SimUpload : public LineFixture {
protected:
    void Start(CheckMethod method = CheckMethod::Checksum) {
        m = method;
        StartLine({Sensor(1, "VKT02", m)});
        line->SetUploadReport([this](const std::string& text) {
            std::lock_guard lock(reportMutex);
            reports.push_back(text);
        });
    }
    void Unlock() {
        SendHandled(1, m, 78, {0xAA});
        SendHandled(1, m, 79, {0x55});
    }
    // The upload command; its acknowledgement as it came, and the "C" behind it.
    Bytes Open(std::uint8_t code) {
        EXPECT_TRUE(Send(1, m, code));
        return ReadRaw(50);
    }
    // The receiver's answer to `bytes`; 0 when none came within `timeoutMs`.
    std::uint8_t Answer(const Bytes& bytes, int timeoutMs = 500) {
        WriteRaw(bytes);
        std::uint8_t byte = 0;
        std::size_t count = 0;
        link.ReadRaw(&byte, 1, &count, static_cast<std::uint32_t>(timeoutMs));
        return count == 1 ? byte : 0;
    }
    std::uint8_t SendBlock(const Bytes& image, int number, int timeoutMs = 500) {
        return Answer(vk::test::XModemBlockBytes(number, image.data() + (number - 1) * kBlockData),
                      timeoutMs);
    }
    bool Answers() { return Transact(1, m, kGetPeak, {}, 2).has_value(); }
    std::vector<std::string> Reports() {
        std::lock_guard lock(reportMutex);
        return reports;
    }

    CheckMethod m = CheckMethod::Checksum;
    std::mutex reportMutex;
    std::vector<std::string> reports;
};

class SimUploadMethods : public SimUpload, public ::testing::WithParamInterface<CheckMethod> {};

TEST_P(SimUploadMethods, RefusedWhileLockedThenTakesTheImageBlockByBlock) {
    Start(GetParam());
    EXPECT_EQ(Open(kUploadCode), Frame(m, 1, 0, {})); // packet ID 0: no erase, no receiver
    SendHandled(1, m, 78, {0xAA});
    EXPECT_EQ(Open(kUploadCode), Frame(m, 1, 0, {}));

    SendHandled(1, m, 79, {0x55});
    Bytes opened = Frame(m, 1, kUploadCode, {});
    opened.push_back(kCrcPrompt);
    EXPECT_EQ(Open(kUploadCode), opened);

    // 300 blocks: the 256th is numbered 0. A damaged block is NAKed, a repeat of the
    // block just taken is ACKed and dropped.
    Bytes image = Image(300);
    Bytes damaged = vk::test::XModemBlockBytes(1, image.data());
    damaged[40] ^= 0x01;
    EXPECT_EQ(Answer(damaged), kNak);
    for (int n = 1; n <= 300; ++n)
        ASSERT_EQ(SendBlock(image, n), kAck) << n;
    EXPECT_EQ(SendBlock(image, 300), kAck);
    EXPECT_EQ(Answer({kEot}), kAck);

    SensorState s = line->Snapshot(1);
    EXPECT_EQ(s.flash.Image(UploadKind::Code), image);
    EXPECT_FALSE(s.flash.receiver.Active());
    EXPECT_TRUE(s.flash.Unlocked()); // the tool locks it again, not the sensor
    char expected[96];
    std::snprintf(expected, sizeof expected,
                  "sensor 1: DSP image received, 38400 bytes, CRC-16 0x%04X",
                  unsigned{Crc16(image.data(), image.size())});
    EXPECT_EQ(Reports(), std::vector<std::string>{expected});
    EXPECT_TRUE(Answers());
}

VK_SIM_BOTH_METHODS(SimUploadMethods);

TEST_F(SimUpload, ReceiverFaultsAndWaysOut) {
    Start();
    Unlock();
    Bytes image = Image(3);

    // NAKs block 2 twice, then takes it.
    line->InjectReceiverFault(1, {ReceiverFaultKind::NakTwice, 2});
    Open(kUploadCalibration);
    EXPECT_EQ(SendBlock(image, 1), kAck);
    EXPECT_EQ(SendBlock(image, 2), kNak);
    EXPECT_EQ(SendBlock(image, 2), kNak);
    EXPECT_EQ(SendBlock(image, 2), kAck);
    EXPECT_EQ(SendBlock(image, 3), kAck);
    EXPECT_EQ(Answer({kEot}), kAck);
    EXPECT_EQ(line->Snapshot(1).flash.Image(UploadKind::Calibration), image);

    // Cancels at block 1; the sensor is back at its commands.
    line->InjectReceiverFault(1, {ReceiverFaultKind::Cancel, 1});
    Open(kUploadCode);
    WriteRaw(vk::test::XModemBlockBytes(1, image.data()));
    EXPECT_EQ(ReadRaw(50), (Bytes{kCan, kCan}));
    EXPECT_TRUE(Answers());

    // Never answers, not even with "C"; a command frame ends the transfer.
    line->InjectReceiverFault(1, {ReceiverFaultKind::Silence, 0});
    EXPECT_EQ(Open(kUploadCode), Frame(m, 1, kUploadCode, {}));
    EXPECT_EQ(SendBlock(image, 1, 100), 0);
    EXPECT_TRUE(Answers());
    EXPECT_FALSE(line->Snapshot(1).flash.receiver.Active());

    // Leaves the EOT unanswered; a block that stalls is NAKed after a second.
    line->InjectReceiverFault(1, {ReceiverFaultKind::Silence, 2});
    Open(kUploadCode);
    Bytes half = vk::test::XModemBlockBytes(1, image.data());
    half.resize(60);
    EXPECT_EQ(Answer(half, 1500), kNak);
    EXPECT_EQ(SendBlock(image, 1), kAck);
    EXPECT_EQ(Answer({kEot}, 100), 0);
    EXPECT_TRUE(Answers());

    auto reports = Reports();
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports[1],
              "sensor 1: DSP upload ended after 0 bytes: cancelled by the receiver at block 1");
    EXPECT_EQ(
        reports[3],
        "sensor 1: DSP upload ended after 128 bytes: a command frame came instead of a block");
    EXPECT_TRUE(line->Snapshot(1).flash.Image(UploadKind::Code).empty());
}

} // namespace
} // namespace vk::sim::test
