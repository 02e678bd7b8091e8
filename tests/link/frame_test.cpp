// Frames and check fields against the byte sequences the sensors are known to send.
#include "link/comm_error.h"
#include "link/deadline_timer.h"
#include "link/frame.h"
#include "link/xmodem.h"
#include "tests/link/frame_bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace vk;
using Bytes = std::vector<std::uint8_t>;

TEST(Frame, RequestsMatchTheKnownFramesInBothVariants) {
    EXPECT_EQ(test::FrameBytes(CheckMethod::Checksum, 1, 0x7F),
              (Bytes{0x02, 0x01, 0x01, 0x7F, 0x7D}));
    EXPECT_EQ(test::FrameBytes(CheckMethod::Crc16, 1, 0x7F),
              (Bytes{0x02, 0x01, 0x00, 0x7F, 0x76, 0x3C}));
    EXPECT_EQ(test::FrameBytes(CheckMethod::Checksum, 1, 0x5C, {0x03}),
              (Bytes{0x02, 0x01, 0x02, 0x5C, 0x03, 0x9C}));
    EXPECT_EQ(test::FrameBytes(CheckMethod::Crc16, 1, 0x5C, {0x03}),
              (Bytes{0x02, 0x01, 0x01, 0x5C, 0x03, 0x11, 0x73}));
    EXPECT_EQ(test::FrameBytes(CheckMethod::Checksum, 5, 0x1E),
              (Bytes{0x02, 0x05, 0x01, 0x1E, 0xDA}));
    EXPECT_EQ(test::FrameBytes(CheckMethod::Crc16, 5, 0x1E),
              (Bytes{0x02, 0x05, 0x00, 0x1E, 0x36, 0xD9}));
    // Legacy tool's probe and a global StartScan.
    EXPECT_EQ(test::FrameBytes(CheckMethod::Checksum, 1, 12),
              (Bytes{0x02, 0x01, 0x01, 0x0C, 0xF0}));
    EXPECT_EQ(test::FrameBytes(CheckMethod::Crc16, 1, 12),
              (Bytes{0x02, 0x01, 0x00, 0x0C, 0x76, 0x4F}));
    EXPECT_EQ(test::FrameBytes(CheckMethod::Checksum, 0, 3), (Bytes{0x02, 0x00, 0x01, 0x03, 0xFA}));
    EXPECT_EQ(test::FrameBytes(CheckMethod::Crc16, 0, 3),
              (Bytes{0x02, 0x00, 0x00, 0x03, 0x66, 0x61}));
}

TEST(Frame, RepliesCarryWordsInTheMethodsByteOrder) {
    Bytes checksumPeak = test::FrameBytes(CheckMethod::Checksum, 1, 0x26, {0x02, 0x01});
    Bytes crcPeak = test::FrameBytes(CheckMethod::Crc16, 1, 0x26, {0x01, 0x02});
    EXPECT_EQ(checksumPeak, (Bytes{0x02, 0x01, 0x03, 0x26, 0x02, 0x01, 0xD1}));
    EXPECT_EQ(crcPeak, (Bytes{0x02, 0x01, 0x02, 0x26, 0x01, 0x02, 0xF9, 0x9C}));
    EXPECT_EQ(GetWord(checksumPeak.data() + 4, CheckMethod::Checksum), 0x0102);
    EXPECT_EQ(GetWord(crcPeak.data() + 4, CheckMethod::Crc16), 0x0102);

    std::uint8_t out[2];
    PutWord(out, 0x1234, CheckMethod::Checksum);
    EXPECT_EQ(out[0], 0x34);
    EXPECT_EQ(out[1], 0x12);
    PutWord(out, 0x1234, CheckMethod::Crc16);
    EXPECT_EQ(out[0], 0x12);
    EXPECT_EQ(out[1], 0x34);
}

TEST(Frame, CheckFields) {
    const char* digits = "123456789";
    EXPECT_EQ(FrameCrc16(reinterpret_cast<const std::uint8_t*>(digits), 9), 0xBEEF);
    EXPECT_EQ(xmodem::Crc16(reinterpret_cast<const std::uint8_t*>(digits), 9), 0x31C3);

    // A reply whose CRC was computed from the request's CRC instead of zero.
    Bytes reply{0x02, 0x01, 0x01, 0x82, 0x40};
    EXPECT_EQ(FrameCrc16(reply.data(), reply.size()), 0xCF30);
    EXPECT_EQ(FrameCrc16(reply.data(), reply.size(), 0x76C1), 0xDA23);

    Bytes frame = test::FrameBytes(CheckMethod::Checksum, 7, 0x15, {1, 2, 3, 250, 251});
    unsigned sum = 0;
    for (auto b : frame)
        sum += b;
    EXPECT_EQ(sum % 256, 0u);
    EXPECT_TRUE(CheckFieldValid(frame.data(), CheckMethod::Checksum));
    frame[5] ^= 1;
    EXPECT_FALSE(CheckFieldValid(frame.data(), CheckMethod::Checksum));
}

TEST(Frame, LengthRulesAndLimits) {
    EXPECT_EQ(LengthByte(CheckMethod::Checksum, 0), 1);
    EXPECT_EQ(LengthByte(CheckMethod::Crc16, 0), 0);
    EXPECT_EQ(FrameSize(CheckMethod::Checksum, 1), 5u);
    EXPECT_EQ(FrameSize(CheckMethod::Crc16, 0), 6u);
    EXPECT_EQ(PayloadLength(CheckMethod::Checksum, 0), 0u); // malformed, must not underflow

    Bytes big(255, 0xAA);
    FrameBuffer buffer{};
    EXPECT_EQ(BuildFrame(buffer, CheckMethod::Checksum, 1, 1, big.data(), 255), 0u);
    EXPECT_EQ(BuildFrame(buffer, CheckMethod::Checksum, 1, 1, big.data(), 254), 259u);
    EXPECT_EQ(BuildFrame(buffer, CheckMethod::Crc16, 1, 1, big.data(), 255), 261u);
    EXPECT_TRUE(CheckFieldValid(buffer.data(), CheckMethod::Crc16));
}

TEST(CommErrorText, AppendedDetailIsBoundedTo255Characters) {
    CommError err;
    SetCommError(&err, 7, "%s", std::string(252, 'x').c_str());
    AppendParenthesised(&err, "reason");
    EXPECT_EQ(std::strlen(err.text), 252u); // no room: nothing appended

    SetCommError(&err, 7, "%s", std::string(250, 'x').c_str());
    AppendParenthesised(&err, "a long reason");
    EXPECT_EQ(std::string(err.text).substr(250), " (a )"); // 252 - 250 characters of it

    SetCommError(&err, 7, "short");
    AppendParenthesised(&err, std::string(400, 'r').c_str());
    EXPECT_EQ(std::strlen(err.text), 255u);
    EXPECT_EQ(err.text[254], ')');

    SetCommError(&err, 7, "%s", std::string(600, 'y').c_str());
    EXPECT_EQ(std::strlen(err.text), 255u);
}

TEST(DeadlineTimerTest, RemainingTimeRoundsUpAndEnds) {
    DeadlineTimer unarmed;
    EXPECT_EQ(unarmed.RemainingTicks(), 0u);
    EXPECT_EQ(unarmed.RemainingMs(), 0u);

    DeadlineTimer timer;
    timer.Start(50 * 1000);
    std::uint32_t ms = timer.RemainingMs();
    EXPECT_GE(ms, 1u);
    EXPECT_LE(ms, 51u);

    DeadlineTimer zero;
    zero.Start(0);
    EXPECT_EQ(zero.RemainingTicks(), 0u);
}
