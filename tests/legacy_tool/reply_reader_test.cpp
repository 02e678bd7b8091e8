// Reading a reply from a byte stream: what each kind of broken reply leaves as the
// last error.

#include "legacy_tool/reply_reader.h"

#include <gtest/gtest.h>

namespace vk::legacy {
namespace {

// Bytes as they would arrive; the deadline passes when they run out.
class Script : public ByteWaiter {
public:
    explicit Script(Bytes bytes) : bytes_(std::move(bytes)) {}
    bool GetBytes(Bytes& to, std::size_t count) override {
        for (; count > 0; --count) {
            if (next_ >= bytes_.size())
                return false;
            to.push_back(bytes_[next_++]);
        }
        return true;
    }
    std::size_t Taken() const { return next_; }

private:
    Bytes bytes_;
    std::size_t next_ = 0;
};

ReplyResult Read(const Bytes& bytes, bool crc, std::uint16_t seed = 0) {
    Script s(bytes);
    return ReadReply(s, crc, seed);
}

TEST(LegacyReplyReader, ValidRepliesInBothVariants) {
    ReplyResult r = Read({0x02, 0x01, 0x02, 0x82, 0x40, 0x39}, false);
    EXPECT_EQ(r.lastError, kNoError);
    EXPECT_EQ(r.reply, (Bytes{0x02, 0x01, 0x02, 0x82, 0x40}));
    EXPECT_EQ(PayloadByte(r.reply, 0), 0x40);
    r = Read({0x02, 0x01, 0x01, 0x82, 0x40, 0xCF, 0x30}, true);
    EXPECT_EQ(r.lastError, kNoError);
    EXPECT_EQ(r.check, (Bytes{0xCF, 0x30}));
    // The address is not compared with anything.
    Bytes other = {0x02, 0x09, 0x02, 0x82, 0x40};
    other.push_back(CalcChecksum(other));
    EXPECT_EQ(Read(other, false).lastError, kNoError);
}

TEST(LegacyReplyReader, SecondCrcCheckIsSeededWithTheRequestCrc) {
    Bytes chained = {0x02, 0x01, 0x01, 0x82, 0x40, 0xDA, 0x23};
    EXPECT_EQ(Read(chained, true, 0x76C1).lastError, kNoError);
    EXPECT_EQ(Read(chained, true, 0x1111).lastError, kCheckMismatch);
    // The checksum variant has no second chance.
    Bytes bad = {0x02, 0x01, 0x02, 0x82, 0x40, 0x3A};
    EXPECT_EQ(Read(bad, false, 0x76C1).lastError, kCheckMismatch);
}

TEST(LegacyReplyReader, EachBrokenReplyHasItsOwnError) {
    EXPECT_EQ(Read({}, false).lastError, kNoResponse);
    Script stray({0x55, 0x02, 0x01, 0x02, 0x82, 0x40, 0x39});
    EXPECT_EQ(ReadReply(stray, false, 0).lastError, kInvalidResponse);
    EXPECT_EQ(stray.Taken(), 1u); // the rest stays for the next request to discard
    EXPECT_EQ(Read({0x02}, false).lastError, kTimeOut);
    EXPECT_EQ(Read({0x02, 0x01, 0x05, 0x82}, false).lastError, kTimeOut);
    EXPECT_EQ(Read({0x02, 0x01, 0x01, 0x82, 0x40, 0xCF}, true).lastError, kTimeOut);
    EXPECT_EQ(Read({0x02, 0x01, 0x01, 0x82, 0x40, 0xCF, 0x31}, true).lastError, kCheckMismatch);
    // A checksum reply of LENGTH 0 carries not even a packet ID; it still checks.
    Bytes empty = {0x02, 0x01, 0x00};
    empty.push_back(CalcChecksum(empty));
    EXPECT_EQ(Read(empty, false).lastError, kNoError);
}

} // namespace
} // namespace vk::legacy
