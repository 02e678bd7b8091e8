// Faults a test injects, and how a sensor copes with a stream that is not clean.

#include "sim_test_support.h"

#include "link/comm_error.h"

namespace vk::sim::test {
namespace {

constexpr std::uint8_t kGetModelName = 127;
constexpr CheckMethod kSum = CheckMethod::Checksum;

class SimFaults : public LineFixture {
protected:
    void SetUp() override { StartLine({Sensor(1), Sensor(2, "VKT02", kSum, "VK000002")}); }
    bool Ask(std::uint8_t address = 1) {
        return Transact(address, kSum, kGetModelName, {}, 16).has_value();
    }
    std::vector<std::uint8_t> ModelNameReply(std::uint8_t address = 1) {
        return Frame(kSum, address, kGetModelName,
                     {'0', ' ', 'V', 'K', 'T', '-', '0', '2', 0, 0, 0, 0, 0, 0, 0, 0});
    }
};

TEST_F(SimFaults, SilenceForTheNextReplyOnly) {
    line->InjectFault(1, {FaultKind::Silence});
    EXPECT_FALSE(Ask());
    EXPECT_EQ(link.Error().code, kErrNoStartByte);
    EXPECT_TRUE(Ask(2)); // the other sensor is not affected
    EXPECT_TRUE(Ask()) << link.ErrorText();
}

TEST_F(SimFaults, AimedAtOnePacketIdLeavesTheOtherRepliesAlone) {
    Fault f{FaultKind::Silence};
    f.packetId = 38; // GetPeak
    line->InjectFault(1, f);
    EXPECT_TRUE(Ask());
    EXPECT_FALSE(Transact(1, kSum, 38, {}, 2).has_value());
    EXPECT_TRUE(Transact(1, kSum, 38, {}, 2).has_value());
}

TEST_F(SimFaults, BadCheckField) {
    line->InjectFault(1, {FaultKind::BadCheck});
    EXPECT_FALSE(Ask());
    EXPECT_EQ(link.Error().code, kErrBadCheck);
}

TEST_F(SimFaults, ShortReply) {
    Fault f{FaultKind::ShortReply};
    f.cutAfter = 6;
    line->InjectFault(1, f);
    EXPECT_FALSE(Ask());
    EXPECT_EQ(link.Error().code, kErrIncomplete);
}

TEST_F(SimFaults, WrongPacketIdWrongLengthAndShortPayload) {
    line->InjectFault(1, {FaultKind::WrongPacketId});
    EXPECT_FALSE(Ask());
    EXPECT_EQ(link.Error().code, kErrWrongPacketId);

    Fault longer{FaultKind::WrongLength};
    longer.bytes = {0xEE};
    line->InjectFault(1, longer);
    ASSERT_TRUE(Send(1, kSum, kGetModelName));
    auto expected = ModelNameReply();
    expected[2] += 1;
    expected.insert(expected.end() - 1, 0xEE);
    expected.back() = FrameChecksum(expected.data(), expected.size() - 1);
    EXPECT_EQ(ReadRaw(), expected);

    Fault shorter{FaultKind::ShortPayload};
    shorter.cutAfter = 2;
    line->InjectFault(1, shorter);
    ASSERT_TRUE(Send(1, kSum, kGetModelName));
    expected = ModelNameReply();
    expected[2] -= 2;
    expected.erase(expected.end() - 3, expected.end() - 1);
    expected.back() = FrameChecksum(expected.data(), expected.size() - 1);
    EXPECT_EQ(ReadRaw(), expected);
}

TEST_F(SimFaults, StrayBytesUntilClearedAndGarbageUnasked) {
    Fault stray{FaultKind::StrayBytes, -1};
    stray.bytes = {0x46, 0x00, 0xFF};
    line->InjectFault(1, stray);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(Send(1, kSum, kGetModelName));
        auto expected = ModelNameReply();
        expected.insert(expected.begin(), stray.bytes.begin(), stray.bytes.end());
        EXPECT_EQ(ReadRaw(), expected);
    }
    EXPECT_TRUE(Ask()) << "stray bytes ahead of a reply are skipped: " << link.ErrorText();
    line->ClearFaults();
    ASSERT_TRUE(Send(1, kSum, kGetModelName));
    EXPECT_EQ(ReadRaw(), ModelNameReply());

    Fault garbage{FaultKind::Garbage};
    garbage.bytes = {1, 2, 3};
    line->InjectFault(1, garbage);
    EXPECT_EQ(ReadRaw(), garbage.bytes);
}

TEST_F(SimFaults, ExtraDelay) {
    Fault delay{FaultKind::ExtraDelay};
    delay.delayMs = 300;
    line->InjectFault(1, delay);
    auto start = Clock::now();
    EXPECT_TRUE(Ask()) << link.ErrorText();
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(300));
}

TEST_F(SimFaults, BadCheckFieldsAndFramesInTheOtherMethodAreCounted) {
    auto bad = Frame(kSum, 1, kGetModelName);
    bad.back() ^= 0x01;
    WriteRaw(bad);
    // A CRC frame read with the checksum rules: LENGTH 0 leaves no room for a check byte.
    WriteRaw(Frame(CheckMethod::Crc16, 1, kGetModelName));
    // A frame for another address is none of this sensor's business.
    auto other = Frame(kSum, 7, kGetModelName);
    other.back() ^= 0x01;
    WriteRaw(other);
    ASSERT_TRUE(line->WaitIdle(1000));
    EXPECT_TRUE(ReadRaw(50).empty());
    EXPECT_EQ(line->Snapshot(1).errors.checkErrors, 2);
    EXPECT_EQ(line->Snapshot(2).errors.checkErrors, 0);
    auto errors = Transact(1, kSum, 20, {}, 12);
    ASSERT_TRUE(errors) << link.ErrorText();
    EXPECT_EQ(WordAt(*errors, 4, kSum), 2);
}

class SimStream : public LineFixture {};

TEST_F(SimStream, ACrcSensorFallsBackInStepAfterAChecksumFrame) {
    StartLine({Sensor(1, "VKT02", CheckMethod::Crc16)});
    // The checksum request looks like the start of a longer CRC frame; after a pause it
    // is dropped and counted.
    WriteRaw(Frame(kSum, 1, kGetModelName));
    ASSERT_TRUE(line->WaitForState(
        1, [](const SensorState& s) { return s.errors.checkErrors == 1; }, 1000));
    EXPECT_TRUE(Transact(1, CheckMethod::Crc16, kGetModelName, {}, 16)) << link.ErrorText();

    // Right behind each other, the CRC request is still found, and noise and the legacy
    // tool's "F" outside frames are skipped.
    std::vector<std::uint8_t> bytes = {0x46, 0x00, 0x55};
    auto first = Frame(kSum, 1, kGetModelName);
    auto second = Frame(CheckMethod::Crc16, 1, kGetModelName);
    bytes.insert(bytes.end(), first.begin(), first.end());
    bytes.insert(bytes.end(), second.begin(), second.end());
    WriteRaw(bytes);
    EXPECT_TRUE(Receive(CheckMethod::Crc16, kGetModelName)) << link.ErrorText();
}

TEST_F(SimStream, UnknownCommandsAndMalformedRequestsAreCommandErrors) {
    StartLine({Sensor(1)});
    ASSERT_TRUE(Send(1, kSum, 250));            // no such command
    ASSERT_TRUE(Send(1, kSum, 82, {1, 2}));     // SetThreshold takes one byte
    ASSERT_TRUE(Send(1, kSum, 127, {1}));       // GetModelName takes none
    ASSERT_TRUE(Send(1, kSum, 18, {'X', 'X'})); // SetSensorAddress: too short
    ASSERT_TRUE(line->WaitIdle(1000));
    SensorState s = line->Snapshot(1);
    EXPECT_EQ(s.errors.commandErrors, 4);
    EXPECT_EQ(s.settings.threshold, 40);
    EXPECT_TRUE(ReadRaw(50).empty());
}

} // namespace
} // namespace vk::sim::test
