// The untrusted inputs and the outputs of the diagnostics page and the upload, without a
// window: the address list file, the scan-buffer file block, scan-buffer packets, the
// upload image and its blocks, the sensor's answer to the erase, and the access codes.

#include "legacy_tool/address_list.h"
#include "legacy_tool/hidden_modes.h"
#include "legacy_tool/scan_data_file.h"
#include "legacy_tool/scan_packets.h"
#include "legacy_tool/settings_requests.h"
#include "legacy_tool/upload_image.h"
#include "link/xmodem.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vk::legacy {
namespace {

std::vector<std::uint8_t> Addresses(const std::string& text, bool* restIgnored = nullptr) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    AddressList list = ReadAddressList(lines);
    if (restIgnored)
        *restIgnored = list.restIgnored;
    return list.addresses;
}

TEST(LegacyAddressList, OneAddressPerLineAndNothingBeyondTheList) {
    using A = std::vector<std::uint8_t>;
    EXPECT_EQ(Addresses("1\r\n  2 second sensor\n\n255;spare\n+7\n0000000009\n"),
              (A{1, 2, 255, 7, 9}));
    EXPECT_EQ(Addresses(""), A{});
    // One line that is not an address 1 to 255 empties the list.
    for (const char* bad :
         {"1\nx\n3\n", "1\n0\n", "1\n256\n", "-5\n", "1\n99999999999999\n", "0000000000256\n"})
        EXPECT_EQ(Addresses(bad), A{}) << bad;

    std::string lines;
    for (int i = 1; i <= 32; ++i)
        lines += std::to_string(i) + "\n";
    bool rest = true;
    EXPECT_EQ(Addresses(lines + "\n \n", &rest).size(), 32u);
    EXPECT_FALSE(rest);
    A taken = Addresses(lines + "33\nnot even read\n", &rest);
    EXPECT_EQ(taken.size(), 32u);
    EXPECT_EQ(taken.back(), 32);
    EXPECT_TRUE(rest);
}

TEST(LegacyScanFile, BlockForTargetsWithThreeAndFiveValues) {
    EXPECT_EQ(ScanDataBlock({1, 2}, {3, 5}, {{100, 101, 102}, {200, 201, 202, 203, 204}}),
              "Sensor Address List :\r\n"
              "       1       2\r\n"
              "\r\n"
              "Total # of Scans reported by sensor(s) :\r\n"
              "       3       5\r\n"
              "\r\n"
              "Scan Buffer Data for sensor(s) : \r\n"
              "     100     200\r\n"
              "     101     201\r\n"
              "     102     202\r\n"
              "             203\r\n"
              "             204\r\n"
              "\r\n");
    // No values at all: the headings and an empty data part.
    EXPECT_EQ(ScanDataBlock({9}, {}, {{}}),
              "Sensor Address List :\r\n       9\r\n\r\nTotal # of Scans reported by "
              "sensor(s) :\r\n       0\r\n\r\nScan Buffer Data for sensor(s) : \r\n\r\n");
}

// A scan-buffer packet as the reply reader hands it over: header, countdown, values low
// byte first.
Bytes Packet(int countdown, std::initializer_list<std::uint16_t> values, std::uint8_t from = 1) {
    Bytes reply{kStx, from, 0, 11, static_cast<std::uint8_t>(countdown)};
    for (std::uint16_t v : values) {
        reply.push_back(static_cast<std::uint8_t>(v));
        reply.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    return reply;
}

TEST(LegacyScanPackets, CountdownDecidesWhatIsKept) {
    using Step = ScanPacketReader::Step;
    ScanPacketReader whole;
    EXPECT_EQ(whole.Take(Packet(2, {0x1234, 7})), Step::More);
    EXPECT_EQ(whole.Take(Packet(1, {9})), Step::Done);
    EXPECT_EQ(whole.Values(), (std::vector<std::uint16_t>{0x1234, 7, 9}));

    ScanPacketReader skipped;
    EXPECT_EQ(skipped.Take(Packet(3, {1})), Step::More);
    EXPECT_EQ(skipped.Take(Packet(1, {2})), Step::Broken);
    EXPECT_EQ(skipped.Values(), std::vector<std::uint16_t>{1});

    // Packets another sensor is still sending are not the target's; asked at the global
    // address, every sensor answers with its own.
    ScanPacketReader foreign(2);
    EXPECT_EQ(foreign.Take(Packet(2, {1}, 2)), Step::More);
    EXPECT_EQ(foreign.Take(Packet(1, {2}, 1)), Step::Broken);
    EXPECT_EQ(foreign.Values(), std::vector<std::uint16_t>{1});
    ScanPacketReader global(0);
    EXPECT_EQ(global.Take(Packet(1, {3}, 7)), Step::Done);

    ScanPacketReader none; // a countdown of 0 announces nothing to take
    EXPECT_EQ(none.Take(Packet(0, {5})), Step::Done);
    EXPECT_TRUE(none.Values().empty());

    // More than a buffer holds: the first 8192 values are kept, and the answer ends there.
    ScanPacketReader flood;
    Bytes big = Packet(255, {});
    big.resize(big.size() + 252, 0x11);
    Step step = Step::More;
    for (int countdown = 255; countdown > 0 && step == Step::More; --countdown) {
        big[4] = static_cast<std::uint8_t>(countdown);
        step = flood.Take(big);
    }
    EXPECT_EQ(step, Step::Broken);
    EXPECT_EQ(flood.Values().size(), kMaxScanValues);
}

TEST(LegacyScanPackets, StartAndCountMustFitTheirFields) {
    Checked<ScanWindow> w = CheckScanWindow(" 0", "8192");
    ASSERT_TRUE(w.Ok());
    EXPECT_EQ(w.value.count, 8192);
    for (auto [start, count, field] :
         {std::tuple{"", "10", Field::StartIndex}, std::tuple{"1", "", Field::ScanCount},
          std::tuple{"1", "65536", Field::ScanCount}}) {
        Checked<ScanWindow> refused = CheckScanWindow(start, count);
        ASSERT_FALSE(refused.Ok()) << start << "," << count;
        EXPECT_EQ(refused.refusal->field, field);
    }
    EXPECT_EQ(CheckScanWindow("x", "1").refusal->message,
              "Invalid Start Index Entered!\r\n(Valid values 0-65535)");
}

UploadImage Load(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i);
    std::istringstream in(bytes);
    return LoadUploadImage(in);
}

TEST(LegacyUploadImage, BlocksArePaddedWithFFAndNumberedModulo256) {
    UploadImage image = Load(129);
    ASSERT_EQ(image.problem, UploadImage::Problem::None);
    EXPECT_EQ(image.size, 129u);
    EXPECT_EQ(BlockCount(image.size), 2u);
    Bytes second = XModemBlockFrame(2, image.buffer.data() + 128);
    ASSERT_EQ(second.size(), xmodem::kBlockSize);
    EXPECT_EQ((Bytes{second[0], second[1], second[2], second[3], second[4], second[130]}),
              (Bytes{0x01, 0x02, 0xFD, 128, 0xFF, 0xFF}));
    std::uint16_t crc = xmodem::Crc16(second.data() + 3, 128);
    EXPECT_EQ(second[131], crc >> 8);
    EXPECT_EQ(second[132], crc & 0xFF);
    Bytes block256 = XModemBlockFrame(256, image.buffer.data());
    EXPECT_EQ(block256[1], 0x00);
    EXPECT_EQ(block256[2], 0xFF);

    EXPECT_EQ(Load(0).problem, UploadImage::Problem::Empty);
    EXPECT_EQ(Load(kImageBufferSize).problem, UploadImage::Problem::None);
    UploadImage tooLarge = Load(kImageBufferSize + 1);
    EXPECT_EQ(tooLarge.problem, UploadImage::Problem::TooLarge);
    EXPECT_EQ(tooLarge.buffer.size(), kImageBufferSize);

    std::vector<int> percents;
    for (std::size_t j = 1; j <= 4; ++j)
        percents.push_back(PercentDone(j, 4));
    EXPECT_EQ(percents, (std::vector<int>{25, 50, 75, 100}));
    EXPECT_EQ(PercentDone(1, 8), 12); // 12.5: ties go to the even neighbour
    EXPECT_EQ(PercentDone(3, 8), 38);
    EXPECT_EQ(PercentDone(1, 3), 33);
}

TEST(LegacyUploadImage, EraseAnswers) {
    constexpr std::uint8_t kCode = 86;
    auto judge = [](bool valid, Bytes reply, Bytes check = {}) {
        return JudgeEraseAnswer({valid, std::move(reply), std::move(check)}, kCode);
    };
    EXPECT_EQ(judge(true, {2, 1, 1, kCode}), EraseVerdict::Erased);
    EXPECT_EQ(judge(true, {2, 1, 1, 0}), EraseVerdict::Refused);
    // A LENGTH of 0 in the checksum variant leaves the packet ID in the check field.
    EXPECT_EQ(judge(false, {2, 1, 0}, {kCode}), EraseVerdict::Erased);
    EXPECT_EQ(judge(false, {2, 1, 0, 87}, {0, 0}), EraseVerdict::Refused);
    EXPECT_EQ(judge(false, {2, 1, 1, kCode}, {0}), EraseVerdict::Failed);
    EXPECT_EQ(judge(false, {0x06}), EraseVerdict::Erased);
    EXPECT_EQ(judge(false, {0x15}), EraseVerdict::Failed);
    EXPECT_EQ(judge(false, {}), EraseVerdict::Failed);
}

TEST(LegacyHiddenModes, CodesAreComparedExactly) {
    EXPECT_TRUE(ModesForCode("qxz").service);
    EXPECT_FALSE(ModesForCode("qxz").reset);
    EXPECT_TRUE(ModesForCode("qxzpurge").reset);
    EXPECT_FALSE(ModesForCode("qxzpurge").service);
    for (const char* other : {"QXZ", "qxz_", "", "qx"})
        EXPECT_FALSE(ModesForCode(other).service || ModesForCode(other).reset) << other;
}

} // namespace
} // namespace vk::legacy
