// Request framing, the seeded CRC, field access and the receive ring.

#include "legacy_tool/korvel_codec.h"
#include "legacy_tool/receive_ring.h"
#include "legacy_tool/tick_count.h"

#include <gtest/gtest.h>

namespace vk::legacy {
namespace {

TEST(LegacyCodec, RequestsMatchTheWrittenExamples) {
    EXPECT_EQ(BuildRequest(12, 1, {}, false).frame, (Bytes{0x02, 0x01, 0x01, 0x0C, 0xF0}));
    EXPECT_EQ(BuildRequest(12, 1, {}, true).frame, (Bytes{0x02, 0x01, 0x00, 0x0C, 0x76, 0x4F}));
    EXPECT_EQ(BuildRequest(3, 0, {}, false).frame, (Bytes{0x02, 0x00, 0x01, 0x03, 0xFA}));
    EXPECT_EQ(BuildRequest(3, 0, {}, true).frame, (Bytes{0x02, 0x00, 0x00, 0x03, 0x66, 0x61}));
    Request minLp = BuildRequest(130, 1, {}, true);
    EXPECT_EQ(minLp.frame, (Bytes{0x02, 0x01, 0x00, 0x82, 0x76, 0xC1}));
    EXPECT_EQ(minLp.crc, 0x76C1);
    EXPECT_EQ(BuildRequest(0x5C, 1, {0x03}, false).frame,
              (Bytes{0x02, 0x01, 0x02, 0x5C, 0x03, 0x9C}));
    // An oversized payload is cut to what LENGTH can announce.
    EXPECT_EQ(BuildRequest(1, 1, Bytes(300, 0), false).frame.size(), 4u + 254u + 1u);
    EXPECT_EQ(BuildRequest(1, 1, Bytes(300, 0), true).frame.size(), 4u + 255u + 2u);
}

TEST(LegacyCodec, SeededCrcContinuesFromTheRequestCrc) {
    Bytes reply = {0x02, 0x01, 0x01, 0x82, 0x40};
    EXPECT_EQ(CalcCrc16(reply, 0), (std::array<std::uint8_t, 2>{0xCF, 0x30}));
    EXPECT_EQ(CalcCrc16(reply, 0x76C1), (std::array<std::uint8_t, 2>{0xDA, 0x23}));
    Bytes check = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(CalcCrc16(check, 0), (std::array<std::uint8_t, 2>{0xBE, 0xEF}));
    EXPECT_EQ(CalcChecksum({0x02, 0x01, 0x02, 0x82, 0x40}), 0x39);
}

TEST(LegacyCodec, WordsFollowTheMethodAndStayInsideTheReply) {
    EXPECT_EQ(SwapBytes(0x1234, CheckMethod::Checksum), 0x3412);
    EXPECT_EQ(SwapBytes(0x1234, CheckMethod::Crc16), 0x1234);
    Bytes reply = {0x02, 0x01, 0x04, 0x13, 0x34, 0x12, 0x07};
    EXPECT_EQ(GetWord(reply, 5), 0x3412);
    EXPECT_EQ(PayloadWord(reply, 0, CheckMethod::Checksum), 0x1234);
    EXPECT_EQ(PayloadWord(reply, 0, CheckMethod::Crc16), 0x3412);
    EXPECT_EQ(PayloadWord(reply, 2, CheckMethod::Crc16), 0x0700); // half beyond the end
    EXPECT_EQ(PayloadByte(reply, 50), 0);
    EXPECT_EQ(PayloadSize(reply), 3u);
    Bytes text = {0x02, 0x01, 0x05, 0x7F, 'A', 'B', 0, 'C'};
    EXPECT_EQ(PayloadText(text, 0, 16), "AB");
    Bytes payload;
    AppendWord(payload, 0x0105, CheckMethod::Checksum);
    AppendWord(payload, 0x0105, CheckMethod::Crc16);
    EXPECT_EQ(payload, (Bytes{0x05, 0x01, 0x01, 0x05}));
}

TEST(LegacyRing, KeepsUnreadBytesWhenFullAndRefusesUntilDiscarded) {
    ReceiveRing ring;
    Bytes first(kRingSize - 2);
    for (std::size_t i = 0; i < first.size(); ++i)
        first[i] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(ring.Put(first.data(), first.size()), first.size());
    EXPECT_FALSE(ring.Overflowed());
    std::uint8_t more[5] = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4};
    EXPECT_EQ(ring.Put(more, 5), 2u);
    EXPECT_TRUE(ring.Overflowed());
    EXPECT_EQ(ring.Count(), kRingSize);
    // Space freed by reading is not refilled behind the gap.
    EXPECT_EQ(ring.Take(), 0x00);
    EXPECT_EQ(ring.Put(more, 1), 0u);
    for (std::size_t i = 1; i < first.size(); ++i)
        ASSERT_EQ(ring.Take(), static_cast<std::uint8_t>(i));
    EXPECT_EQ(ring.Take(), 0xA0);
    EXPECT_EQ(ring.Take(), 0xA1);
    EXPECT_TRUE(ring.Empty());
    ring.Discard();
    EXPECT_FALSE(ring.Overflowed());
    // Wrapping around the end keeps the order.
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(ring.Put(first.data(), 10000), 10000u);
        for (std::size_t i = 0; i < 10000; ++i)
            ASSERT_EQ(ring.Take(), first[i]);
    }
    ring.Put(more, 3);
    ring.Discard();
    EXPECT_TRUE(ring.Empty());
    EXPECT_EQ(ring.Take(), 0);
}

TEST(LegacyTicks, DifferencesSurviveTheWrap) {
    EXPECT_EQ(TicksSince(0xFFFFFFF0u, 0x10u), 0x20u);
    EXPECT_EQ(TicksSince(100, 350), 250u);
}

} // namespace
} // namespace vk::legacy
