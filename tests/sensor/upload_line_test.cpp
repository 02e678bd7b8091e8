// The upload against a simulated sensor: what goes on the line, the image the sensor
// keeps, and how each fault of its receiver ends the transfer with the flash locked.
#include "elapsed_ms.h"
#include "link/xmodem.h"
#include "link/xmodem_sender.h"
#include "sensor/sensor_device.h"
#include "sensor/upload_sequence.h"
#include "sensor_test_support.h"
#include "sim_test_support.h"
#include "tests/link/frame_bytes.h"

#include <gtest/gtest.h>

#include <functional>

namespace vk::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using sim::ReceiverFaultKind;
using sim::UploadKind;
using sim::test::Frame;
using sim::test::Sensor;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes File(std::size_t size) {
    Bytes file(size);
    for (std::size_t i = 0; i < size; ++i)
        file[i] = static_cast<std::uint8_t>(i * 13 + i / 251);
    return file;
}

struct RecordingProgress : UploadProgress {
    void SetPercent(int percent) override { percents.push_back(percent); }
    void BytesSent(std::size_t sent) override {
        this->sent.push_back(sent);
        if (onSent)
            onSent(sent);
    }
    void TransferEnded(int error) override { ended.push_back(error); }
    std::vector<int> percents;
    std::vector<std::size_t> sent;
    std::vector<int> ended;
    std::function<void(std::size_t)> onSent;
};

class UploadLine : public sim::test::LineFixture {
protected:
    void Open(CheckMethod method) {
        method_ = method;
        StartLine({Sensor(1, "VKT02", method)});
        sensor.SetLink(&link);
        sensor.SetCheckMethod(method);
    }
    UploadResult Upload(vk::UploadKind kind, const Bytes& file) {
        progress = {};
        return RunUpload(sensor, sender, kind, file, progress);
    }
    Bytes Request(std::uint8_t id, const Bytes& payload = {}) const {
        return Frame(method_, 1, id, payload);
    }
    Bytes Sent() {
        EXPECT_TRUE(line->WaitIdle(3000));
        return line->TakeReceived();
    }
    void ExpectLocked() {
        sim::SensorState s = line->Snapshot(1);
        EXPECT_EQ(s.flash.protect1, 0);
        EXPECT_EQ(s.flash.protect2, 0);
    }

    CheckMethod method_ = CheckMethod::Checksum;
    RecordingLog log;
    SensorDevice sensor{&log};
    XModemSender sender;
    RecordingProgress progress;
};

TEST_F(UploadLine, ADspProgramGoesInByteForByteBetweenUnlockAndLock) {
    Open(CheckMethod::Checksum);
    // 500 blocks: the 256th is numbered 0, which the sensor checks.
    const Bytes file = File(64000);
    const UploadResult result = Upload(vk::UploadKind::Dsp, file);
    EXPECT_TRUE(result.streamed);
    EXPECT_EQ(result.error, 0);
    EXPECT_EQ(line->Snapshot(1).flash.Image(UploadKind::Code), file);
    ExpectLocked();

    Bytes expected = Request(78, {0xAA}) + Request(79, {0x55}) + Request(86);
    for (std::size_t block = 0; block < 500; ++block)
        expected =
            expected + XModemBlockBytes(static_cast<int>(block + 1), file.data() + block * 128);
    expected = expected + Bytes{xmodem::kEot} + Request(78, {0}) + Request(79, {0});
    EXPECT_EQ(Sent(), expected);

    ASSERT_EQ(progress.sent.size(), 500u);
    EXPECT_EQ(progress.sent[1], 128u);
    EXPECT_EQ(progress.sent.back(), 63872u);
    EXPECT_EQ(progress.percents.front(), 0);
    EXPECT_EQ(progress.percents.back(), 99); // the last byte's index, 63999, of 64000
    EXPECT_EQ(progress.ended, std::vector<int>{0});
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(UploadLine, ShortFilesFillTheirLastBlockWithTheLastByteInTheCrcVariant) {
    Open(CheckMethod::Crc16);
    const Bytes file = File(129);
    EXPECT_EQ(Upload(vk::UploadKind::Calibration, file).error, 0);
    EXPECT_EQ(line->Snapshot(1).flash.Image(UploadKind::Calibration), file + Bytes(127, file[128]));
    EXPECT_EQ(Upload(vk::UploadKind::Fpga, {0x3C}).error, 0);
    EXPECT_EQ(line->Snapshot(1).flash.Image(UploadKind::Fpga), Bytes(128, 0x3C));
    EXPECT_EQ(progress.percents, (std::vector<int>{0, 0}));
    ExpectLocked();
}

TEST_F(UploadLine, EachReceiverFaultEndsWithItsErrorAndTheFlashLockedAgain) {
    Open(CheckMethod::Checksum);
    sender.SetByteWaitMs(100);    // the sensor's faults, not the waiting, are under test
    const Bytes file = File(300); // three blocks; the EOT counts as block 4
    struct Case {
        ReceiverFaultKind kind;
        int block;
        int error;
    };
    for (const Case& c : {Case{ReceiverFaultKind::Silence, 0, XModemSender::kNoHandshake},
                          Case{ReceiverFaultKind::Silence, 2, XModemSender::kBlockNotAcked},
                          Case{ReceiverFaultKind::Silence, 4, XModemSender::kEndNotAcked},
                          Case{ReceiverFaultKind::Cancel, 2, XModemSender::kBlockNotAcked},
                          Case{ReceiverFaultKind::NakTwice, 2, 0}}) {
        SCOPED_TRACE(static_cast<int>(c.kind) * 10 + c.block);
        line->InjectReceiverFault(1, {c.kind, c.block});
        const UploadResult result = Upload(vk::UploadKind::Calibration, file);
        EXPECT_TRUE(result.streamed);
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(progress.ended, std::vector<int>{c.error});
        ExpectLocked();
        EXPECT_TRUE(sensor.GetModelName()); // back at its commands
    }
    EXPECT_EQ(line->Snapshot(1).flash.Image(UploadKind::Calibration), file + Bytes(84, file[299]));

    // The adapter pulled in the middle: the attempts run out at once, nothing hangs.
    UploadResult pulled;
    double ms = ElapsedMs([&] {
        progress = {};
        progress.onSent = [this](std::size_t sent) {
            if (sent == 128)
                line->Unplug();
        };
        pulled = RunUpload(sensor, sender, vk::UploadKind::Calibration, file, progress);
    });
    EXPECT_EQ(pulled.error, XModemSender::kBlockNotAcked);
    EXPECT_LT(ms, 3000);
}

} // namespace
} // namespace vk::test
