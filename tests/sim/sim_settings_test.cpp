// What the set commands change shows in the records the read commands return.

#include "sim_test_support.h"

#include <initializer_list>

namespace vk::sim::test {
namespace {

constexpr std::uint8_t kGetSetup = 19;
using Bytes = std::vector<std::uint8_t>;

std::vector<std::uint8_t> Words(std::initializer_list<std::uint16_t> values, CheckMethod m) {
    std::vector<std::uint8_t> bytes;
    for (std::uint16_t v : values) {
        auto w = Word(v, m);
        bytes.insert(bytes.end(), w.begin(), w.end());
    }
    return bytes;
}

class SimSettings : public LineFixture, public ::testing::WithParamInterface<CheckMethod> {};

TEST_P(SimSettings, Vkt02SetupRecordFollowsEverySetCommand) {
    CheckMethod m = GetParam();
    StartLine({Sensor(4, "VKT02", m)});
    auto factory = Transact(4, m, kGetSetup, {}, 31);
    ASSERT_TRUE(factory) << link.ErrorText();
    EXPECT_EQ((*factory)[8], 4);
    EXPECT_EQ((*factory)[9], 0);
    EXPECT_EQ((*factory)[12], 40);
    EXPECT_EQ(WordAt(*factory, 23, m), 10000);
    EXPECT_EQ(WordAt(*factory, 25, m), 1000);
    EXPECT_EQ(WordAt(*factory, 29, m), 1);

    SetAndAck(4, m, 82, {77});                             // SetThreshold
    SetAndAck(4, m, 8, Words({0x0123, 9990, 1010, 7}, m)); // SetOffset
    SetAndAck(4, m, 14, Words({11, 12, 13}, m));           // SetFilterFactors
    SetAndAck(4, m, 9, Words({3}, m));                     // SetMode
    SetAndAck(4, m, 5, Words({0x1234}, m));                // SetScanInterval
    SendHandled(4, m, 2);                                  // SetLaserOff: never acknowledged

    auto setup = Transact(4, m, kGetSetup, {}, 31);
    ASSERT_TRUE(setup) << link.ErrorText();
    EXPECT_EQ((*setup)[9], 3);
    EXPECT_EQ((*setup)[12], 77);
    EXPECT_EQ(WordAt(*setup, 13, m), 0x1234);
    EXPECT_EQ(WordAt(*setup, 15, m), 11);
    EXPECT_EQ(WordAt(*setup, 17, m), 12);
    EXPECT_EQ(WordAt(*setup, 19, m), 13);
    EXPECT_EQ(WordAt(*setup, 21, m), 0x0123);
    EXPECT_EQ(WordAt(*setup, 23, m), 9990);
    EXPECT_EQ(WordAt(*setup, 25, m), 1010);
    EXPECT_EQ(WordAt(*setup, 29, m), 0);

    // SetDefaults puts the settings back, the address stays.
    SendHandled(4, m, 66);
    EXPECT_EQ(Transact(4, m, kGetSetup, {}, 31), factory);
}

TEST_P(SimSettings, RecordsRoundTripAndTheirWordsFollowTheMethod) {
    CheckMethod m = GetParam();
    StartLine({Sensor(1, "VKT02", m), Sensor(5, "BF", m, "VK000005")});
    // The averaging count (words at 4 and 6) goes in low half first and comes back high
    // half first.
    std::vector<std::uint8_t> config = Words({1, 2, 3, 4}, m);
    config.insert(config.end(), {5, 6});
    SetAndAck(1, m, 33, config);
    std::vector<std::uint8_t> reported = Words({1, 2, 4, 3}, m);
    reported.insert(reported.end(), {5, 6});
    EXPECT_EQ(Transact(1, m, 32, {}, 10), reported);

    std::vector<std::uint8_t> wane = Words({100, 200, 300}, m);
    wane.insert(wane.end(), {9, 8, 7, 6});
    auto pulse = Word(50, m);
    wane.insert(wane.end(), pulse.begin(), pulse.end());
    SetAndAck(5, m, 46, wane);
    EXPECT_EQ(Transact(5, m, 47, {}, 12), wane);

    SetAndAck(5, m, 48, Word(2500, m)); // SetBoardTimeout
    EXPECT_EQ(Transact(5, m, 49, {}, 2), Word(2500, m));

    // SetAnalogOuputFactors writes the six words at once; bytes 12 to 19 are zero.
    std::vector<std::uint8_t> factors = Words({100, 2000, 9000, 20000, 50, 9999}, m);
    factors.resize(20, 0);
    SetAndAck(1, m, 26, factors);
    auto analog = Transact(1, m, 27, {}, 22);
    ASSERT_TRUE(analog) << link.ErrorText();
    EXPECT_EQ(std::vector<std::uint8_t>(analog->begin(), analog->begin() + 12),
              std::vector<std::uint8_t>(factors.begin(), factors.begin() + 12));
    EXPECT_LE(WordAt(*analog, 20, m), 4095);

    SetAndAck(1, m, 83, {180}); // SetMaxLP
    SetAndAck(1, m, 84, {30});  // SetMinLP
    EXPECT_EQ(Transact(1, m, 129, {}, 1), std::vector<std::uint8_t>{180});
    EXPECT_EQ(Transact(1, m, 130, {}, 1), std::vector<std::uint8_t>{30});
    auto power = Transact(1, m, 67, {}, 1); // GetLaserPower, within the limits
    ASSERT_TRUE(power) << link.ErrorText();
    EXPECT_GE((*power)[0], 30);
    EXPECT_LE((*power)[0], 180);

    auto errors = Transact(1, m, 20, {}, 12);
    ASSERT_TRUE(errors) << link.ErrorText();
    EXPECT_EQ(WordAt(*errors, 0, m), 1);      // powered up once
    EXPECT_EQ(WordAt(*errors, 8, m), 0x5555); // calibrated
}

TEST_P(SimSettings, Vkt04FamilySetupAndTheCodesThatMeanOtherThingsThere) {
    CheckMethod m = GetParam();
    StartLine({Sensor(2, "VKT04", m), Sensor(5, "BF", m, "VK000005")});
    SetAndAck(2, m, 83, {190});                     // SetMaxLP
    SetAndAck(2, m, 84, {25});                      // SetMinLP
    SetAndAck(2, m, 82, {55});                      // SetThreshold
    SetAndAck(2, m, 93, Word(1000, m));             // SetAnalogMinRange
    SetAndAck(2, m, 94, Word(30000, m));            // SetAnalogMaxRange
    SetAndAck(2, m, 90, Word(500, m));              // SetAnalogMinVolts
    SetAndAck(2, m, 91, Word(9500, m));             // SetAnalogMaxVolts
    SetAndAck(2, m, 146, Word(10000, m));           // SetAnalogOutOfRange
    SetAndAck(2, m, 36, {4});                       // SetVKT04Mode
    SetAndAck(2, m, 40, {9});                       // SetOutOfRangeMode: any nonzero is on
    auto setup = Transact(2, m, kGetSetup, {}, 28); // the VKT04 family answers 28 bytes
    ASSERT_TRUE(setup) << link.ErrorText();
    EXPECT_EQ((*setup)[8], 190);
    EXPECT_EQ((*setup)[9], 25);
    EXPECT_EQ((*setup)[10], 55);
    EXPECT_EQ((*setup)[11], 2);
    EXPECT_EQ(WordAt(*setup, 12, m), 1000);
    EXPECT_EQ(WordAt(*setup, 14, m), 30000);
    EXPECT_EQ(WordAt(*setup, 16, m), 500);
    EXPECT_EQ(WordAt(*setup, 18, m), 9500);
    EXPECT_EQ(WordAt(*setup, 20, m), 10000);
    EXPECT_EQ((*setup)[26], 1);
    EXPECT_EQ((*setup)[27], 4);

    // Code 67 with a 16-bit payload sets the hold scans of a VKT04.
    SetAndAck(2, m, 67, Word(12, m));
    EXPECT_EQ(Transact(2, m, 68, {}, 2), Word(12, m));

    // Code 41: 14 bytes from a VKT04, 22 from the board flipper, whose last four words
    // and the wane record's bytes 6 to 9 are data it keeps.
    EXPECT_TRUE(Transact(2, m, 41, {}, 14)) << link.ErrorText();
    auto flipper = Transact(5, m, 41, {}, 22);
    ASSERT_TRUE(flipper) << link.ErrorText();
    EXPECT_EQ(std::vector<std::uint8_t>(flipper->begin() + 14, flipper->end()),
              Words({0x0102, 0x0304, 0x0506, 0x0708}, m));
    auto wane = Transact(5, m, 47, {}, 12);
    ASSERT_TRUE(wane) << link.ErrorText();
    EXPECT_EQ(std::vector<std::uint8_t>(wane->begin() + 6, wane->begin() + 10),
              (std::vector<std::uint8_t>{0x5A, 0x01, 0xC3, 0x10}));
    EXPECT_TRUE(Transact(5, m, kGetSetup, {}, 28)) << link.ErrorText();
}

// A model answers the commands the tools send it and nothing else: a request it does not
// know changes nothing, gets no answer (no acknowledgement either) and counts as a
// command error. Each request below is one that another model takes.
TEST_P(SimSettings, EachModelKnowsOnlyItsOwnCommands) {
    CheckMethod m = GetParam();
    StartLine({Sensor(1, "VKT02", m), Sensor(2, "VKT04", m, "VK000002"),
               Sensor(3, "RMXS", m, "VK000003"), Sensor(4, "BF", m, "VK000004")});
    using Requests = std::vector<std::pair<std::uint8_t, Bytes>>;
    const Requests hold = {{40, {1}}, {67, Word(12, m)}, {68, {}}};
    const Requests wane = {{46, Bytes(12, 1)}, {47, {}}, {48, Word(5, m)}, {49, {}}};
    const Requests vkt02Records = {{20, {}}, {21, {}}, {27, {}}, {30, {}}};
    auto join = [](std::initializer_list<Requests> parts) {
        Requests all;
        for (const Requests& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    const std::pair<std::uint8_t, Requests> unknown[] = {
        // VKT02: no VKT04 family state, mode, hold, wane, board time-out or single analog
        // values.
        {1, join({hold, wane, {{41, {}}, {36, {1}}, {90, Word(5, m)}, {146, Word(5, m)}}})},
        // VKT04: none of the VKT02's pages, records or laser commands, no wane.
        {2, join({wane,
                  vkt02Records,
                  {{1, {0xFF, 0xFF}},
                   {2, {}},
                   {3, {}},
                   {11, {0, 0, 1, 0}},
                   {26, Bytes(20, 0)},
                   {67, {}},
                   {129, {}}}})},
        // Rmx Short: one range mode, no hold, no wane, no laser commands, no scan buffer.
        {3, join({hold, wane, {{36, {1}}, {1, {0xFF, 0xFF}}, {11, {0, 0, 1, 0}}}})},
        // Vezir Orududu: no hold of the last range, none of the VKT02's records.
        {4, join({hold, vkt02Records})},
    };
    for (const auto& [address, requests] : unknown) {
        const SensorSettings before = line->Snapshot(address).settings;
        for (const auto& [code, payload] : requests)
            SendHandled(address, m, code, payload);
        const SensorState after = line->Snapshot(address);
        EXPECT_EQ(static_cast<std::size_t>(after.errors.commandErrors), requests.size())
            << "address " << int(address);
        EXPECT_EQ(after.settings.rangeMode, before.rangeMode) << "address " << int(address);
        EXPECT_EQ(after.settings.holdScans, before.holdScans) << "address " << int(address);
        EXPECT_EQ(after.settings.laserOn, before.laserOn) << "address " << int(address);
    }
    EXPECT_TRUE(ReadRaw(50).empty());
    // What it does know it answers: the Rmx Short the VKT04 family's setup record.
    auto setup = Transact(3, m, kGetSetup, {}, 28);
    ASSERT_TRUE(setup) << link.ErrorText();
    EXPECT_EQ((*setup)[11], 3);
}

VK_SIM_BOTH_METHODS(SimSettings);

class SimLineSettings : public LineFixture {};

TEST_F(SimLineSettings, CheckModeSwitchesAfterTheRequestWithoutAReply) {
    StartLine({Sensor(1)});
    SendHandled(1, CheckMethod::Checksum, 77, {0}); // 0 selects the CRC
    EXPECT_TRUE(ReadRaw(50).empty());
    EXPECT_EQ(line->Snapshot(1).config.method, CheckMethod::Crc16);
    EXPECT_TRUE(Transact(1, CheckMethod::Crc16, 127, {}, 16)) << link.ErrorText();
    SendHandled(1, CheckMethod::Crc16, 77, {1});
    EXPECT_TRUE(Transact(1, CheckMethod::Checksum, 127, {}, 16)) << link.ErrorText();
}

TEST_F(SimLineSettings, BaudRateAcknowledgedAtTheOldSpeedThenOnlyTheNewOneIsHeard) {
    StartLine({Sensor(1, "VKT02", CheckMethod::Crc16)});
    SetAndAck(1, CheckMethod::Crc16, 92, {1}); // 19200
    EXPECT_EQ(line->Snapshot(1).config.baudRate, 19200);
    // Still at 57600 the program gets silence: the sensor hears only noise.
    EXPECT_FALSE(Transact(1, CheckMethod::Crc16, 127, {}, 16));
    EXPECT_EQ(line->Snapshot(1).errors.checkErrors, 0);
    ASSERT_TRUE(link.SetPortBaudRate(19200));
    EXPECT_TRUE(Transact(1, CheckMethod::Crc16, 127, {}, 16)) << link.ErrorText();
    // A speed the sensors do not have is refused.
    SendHandled(1, CheckMethod::Crc16, 92, {7});
    EXPECT_EQ(line->Snapshot(1).config.baudRate, 19200);
    EXPECT_EQ(line->Snapshot(1).errors.commandErrors, 1);
}

TEST_F(SimLineSettings, ReaddressingByAddressZeroMovesOnlyTheSensorWithThatSerial) {
    StartLine({Sensor(1, "VKT02", CheckMethod::Crc16, "VK000001"),
               Sensor(2, "VKT02", CheckMethod::Crc16, "VK000002")});
    std::vector<std::uint8_t> record = {'V', 'K', '0', '0', '0', '0', '0', '2', 9};
    SetAndAck(0, CheckMethod::Crc16, 18, record);
    EXPECT_TRUE(ReadRaw(50).empty()); // one acknowledgement, from the sensor that moved
    EXPECT_TRUE(line->HasSensor(9));
    EXPECT_TRUE(line->HasSensor(1));
    EXPECT_FALSE(line->HasSensor(2));
    EXPECT_EQ(line->Snapshot(9).config.serialNumber, "VK000002");
    EXPECT_TRUE(Transact(9, CheckMethod::Crc16, 127, {}, 16)) << link.ErrorText();
}

TEST_F(SimLineSettings, FactoryWritesOfModelAndSerialChangeTheIdentity) {
    StartLine({Sensor(1, "VKT02", CheckMethod::Crc16)});
    std::vector<std::uint8_t> model(16, 0);
    std::string text = "0 K4-D-4";
    std::copy(text.begin(), text.end(), model.begin());
    SetAndAck(1, CheckMethod::Crc16, 80, model);
    std::vector<std::uint8_t> serial(16, 0);
    text = "ABCD1234";
    std::copy(text.begin(), text.end(), serial.begin());
    SetAndAck(1, CheckMethod::Crc16, 81, serial);
    EXPECT_EQ(Transact(1, CheckMethod::Crc16, 127, {}, 16), model);
    EXPECT_EQ(Transact(1, CheckMethod::Crc16, 128, {}, 16), serial);
    // Now a VKT04, it answers the VKT04 setup record.
    EXPECT_TRUE(Transact(1, CheckMethod::Crc16, kGetSetup, {}, 28)) << link.ErrorText();
}

TEST_F(SimLineSettings, FlashUnlockUploadAcknowledgementAndReset) {
    StartLine({Sensor(1)});
    SendHandled(1, CheckMethod::Checksum, 78, {0xAA}); // WriteFlashProtect1
    SendHandled(1, CheckMethod::Checksum, 79, {0x55}); // WriteFlashProtect2
    EXPECT_TRUE(line->Snapshot(1).flash.Unlocked());
    // Uploads are acknowledged in the checksum variant too.
    ASSERT_TRUE(Send(1, CheckMethod::Checksum, 87));
    auto ack = Receive(CheckMethod::Checksum, 87);
    ASSERT_TRUE(ack) << link.ErrorText();
    EXPECT_TRUE(ack->empty());
    EXPECT_EQ(line->Snapshot(1).flash.receiving, UploadKind::Fpga);

    SendHandled(1, CheckMethod::Checksum, 6); // ResetSensor
    SensorState s = line->Snapshot(1);
    EXPECT_FALSE(s.flash.Unlocked());
    EXPECT_EQ(s.flash.receiving, UploadKind::None);
    EXPECT_EQ(s.errors.resets, 1);
    // The unlock takes both steps in order.
    SendHandled(1, CheckMethod::Checksum, 79, {0x55});
    EXPECT_FALSE(line->Snapshot(1).flash.Unlocked());
}

} // namespace
} // namespace vk::sim::test
