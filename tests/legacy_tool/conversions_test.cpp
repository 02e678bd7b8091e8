// Mode descriptions and value formatting, the checks of the settings page with their
// messages, the payloads they build, and the averaging rounding of both firmware variants.

#include "legacy_tool/field_parsing.h"
#include "legacy_tool/key_filters.h"
#include "legacy_tool/model_presets.h"
#include "legacy_tool/number_format.h"
#include "legacy_tool/readout_decoding.h"
#include "legacy_tool/sensor_modes.h"
#include "legacy_tool/settings_requests.h"

#include <gtest/gtest.h>

#include <array>
#include <clocale>

namespace vk::legacy {
namespace {

constexpr CheckMethod kSum = CheckMethod::Checksum;
constexpr CheckMethod kCrc = CheckMethod::Crc16;

TEST(LegacyModes, DescriptionsAreBuiltFromTheirPieces) {
    auto all = ModeDescriptions();
    ASSERT_EQ(all.size(), 16u);
    EXPECT_EQ(all[0], "00.000\"  => +32.000\"");
    EXPECT_EQ(all[2], "0000.0mm => +3200.0mm");
    EXPECT_EQ(all[7], "00.000m  => -32.000m");
    EXPECT_EQ(all[9], "0.0000\"  => -3.2000\"");
    EXPECT_EQ(all[13], "000.00ft => -266.00ft");
    EXPECT_EQ(ModeRow(5).unitLabel, std::string("(in)"));
}

TEST(LegacyModes, RangeValuesShowTheModesDecimalsAndFiveDigits) {
    EXPECT_EQ(FormatRangeValue(12345, 0), "12.345");
    EXPECT_EQ(FormatRangeValue(32000, 2), "3200.0");
    EXPECT_EQ(FormatRangeValue(-32768, 3), "-3276.8");
    EXPECT_EQ(FormatRangeValue(5, 8), "0.0005");
    EXPECT_EQ(FormatRangeValue(0, 1), "0.000");
    EXPECT_EQ(FormatRangeValue(65535, 12), "655.35");
    EXPECT_EQ(FormatRangeValue(1234, 99), "1234"); // no row: raw counts
    EXPECT_EQ(FormatFixed(123.456, 5, 3), "123.460");
    EXPECT_EQ(FormatFixed(9.9996, 4, 3), "10.000");
    EXPECT_EQ(FormatFixed(0.125, 5, 2), "0.13");
    EXPECT_EQ(FormatFixed(123456.0, 5, 1), "1.2346E+05");
}

// The toolkit sets the process locale from the user's; the fields' "." must not follow.
TEST(LegacyModes, NumbersKeepTheirDecimalPointInAnyLocale) {
    std::string before = std::setlocale(LC_NUMERIC, nullptr);
    bool comma = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name) && std::localeconv()->decimal_point[0] == ',') {
            comma = true;
            break;
        }
    }
    if (!comma) {
        std::setlocale(LC_NUMERIC, before.c_str());
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    EXPECT_EQ(FormatFixed(0.6, 10, 2), "0.60");
    EXPECT_EQ(FormatFixed(-12.3456, 5, 3), "-12.346");
    EXPECT_EQ(FormatFixed(123456.0, 5, 1), "1.2346E+05");
    EXPECT_EQ(FormatRangeValue(-100, 3), "-10.0");
    std::setlocale(LC_NUMERIC, before.c_str());
}

TEST(LegacyReadout, VersionSetupAndAveragingFields) {
    Bytes version = {0x02, 0x01, 0x07, 0x27, 123, 0, 0, 0, 'C', 25};
    VersionTexts v = DecodeVersion(version, kSum);
    EXPECT_EQ(v.firmware, "1.23C");
    EXPECT_EQ(v.fpga, "2.5");
    EXPECT_TRUE(v.revisionC);
    version[8] = 'B';
    EXPECT_FALSE(DecodeVersion(version, kSum).revisionC);

    Bytes setup = {0x02, 0x01, 0x00, 19, 'V', 'K', '0', '1', 0, 0, 0, 0, 7, 3, 0, 0, 40};
    for (std::uint16_t w : {10, 3, 4, 5, 0xFFF6, 9990, 1010, 0, 1})
        AppendWord(setup, w, kCrc);
    SetupFields s = DecodeSetup(setup, kCrc);
    EXPECT_EQ(s.serial, "VK01");
    EXPECT_EQ(s.address, 7);
    EXPECT_EQ(s.mode, 3);
    EXPECT_EQ(s.threshold, 40);
    EXPECT_EQ(s.order, 5);
    EXPECT_EQ(s.rangeOffset, "-1.0");
    EXPECT_EQ(s.cosine, "0.9990");
    EXPECT_EQ(s.multiplier, "1.010");
    EXPECT_TRUE(s.laserOn);

    Bytes config = {0x02, 0x01, 0x0B, 32};
    for (std::uint16_t w : {0, 0x1234, 0, 60})
        AppendWord(config, w, kSum);
    ConfigFields c = DecodeConfig(config, kSum, AveragingScale{100, 60, 2});
    EXPECT_EQ(c.period, "0.60");
    EXPECT_EQ(c.configWord, 0x1234);
    EXPECT_EQ(DecodeConfig(config, kSum, AveragingScale{1000, 1500, 3}).period, "0.060");
}

TEST(LegacyChecks, RefusalsCarryTheirMessagesAndFields) {
    std::string maxPower = "256";
    struct Case {
        Checked<std::uint8_t> result;
        const char* message;
        Field field;
    };
    const Case cases[] = {
        {CheckAddress("0", Field::Address), "Invalid Address Entered!\r\n(Valid values 1-255)",
         Field::Address},
        {CheckAddress("256", Field::ConnectAddress),
         "Invalid Address Entered!\r\n(Valid values 1-255)", Field::ConnectAddress},
        {CheckAddress("", Field::Address), "Invalid Address Entered!\r\n(Valid values 1-255)",
         Field::Address},
        {CheckMinPower("255"), "Invalid Value Entered!\r\n(Valid values 0-254)", Field::MinPower},
        {CheckMaxPower(maxPower), "Invalid Value Entered!\r\n(Valid values 0-255)",
         Field::MaxPower},
        {CheckThreshold("x"), "Invalid Value Entered!\r\n(Valid values 0-255)", Field::Threshold},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(c.result.Ok()) << c.message;
        EXPECT_EQ(c.result.refusal->message, c.message);
        EXPECT_EQ(c.result.refusal->field, c.field);
    }
    EXPECT_EQ(CheckThreshold("255").value, 255);
    // An empty "Max. Power" is set to "0", and that is sent.
    std::string empty;
    EXPECT_EQ(CheckMaxPower(empty).value, 0);
    EXPECT_EQ(empty, "0");
    maxPower = "255";
    EXPECT_EQ(CheckMaxPower(maxPower).value, 255);
    EXPECT_EQ(maxPower, "255");
    EXPECT_EQ(CheckAddress("255", Field::Address).value, 255);
}

TEST(LegacyChecks, OffsetsScaleAndRefuse) {
    auto ok = CheckOffsets("1", "10", "-3200", 3, kSum);
    ASSERT_TRUE(ok.Ok());
    EXPECT_EQ(ok.value, (Bytes{0x00, 0x83, 0x10, 0x27, 0x10, 0x27, 0, 0})); // -32000 = 0x8300
    EXPECT_EQ(CheckOffsets("0.9999", "1.5", "0", 2, kCrc).value,
              (Bytes{0, 0, 0x27, 0x0F, 0x05, 0xDC, 0, 0}));
    EXPECT_EQ(CheckOffsets("2", "1", "0", 2, kSum).refusal->message,
              "Invalid Cosine Entered!\r\n(Valid values 0.0000-1.0000)");
    EXPECT_EQ(CheckOffsets("", "1", "0", 2, kSum).refusal->field, Field::Cosine);
    EXPECT_EQ(CheckOffsets("1", "10.5", "0", 2, kSum).refusal->message,
              "Invalid Multiplier Entered!\r\n(Valid values 0.000-10.000)");
    auto far = CheckOffsets("1", "1", "3200.1", 3, kSum);
    EXPECT_EQ(far.refusal->message,
              "Invalid Offset Entered!\r\n(Valid Range: -3200.0   to   3200.0)");
    EXPECT_EQ(far.refusal->field, Field::RangeOffset);
}

TEST(LegacyChecks, ScanVariablesInOrderWithEmptyFieldsSetToZero) {
    std::array<std::string, 4> t = {"5", "10", "3", "100"};
    auto sum = CheckScanVariables(t, kSum);
    ASSERT_TRUE(sum.Ok());
    EXPECT_EQ(sum.value.filterFactors, (Bytes{0x05, 0x00, 0x0A, 0x00, 0x03, 0x00}));
    EXPECT_EQ(sum.value.scanInterval, (Bytes{100, 0}));
    EXPECT_EQ(CheckScanVariables(t, kCrc).value.filterFactors,
              (Bytes{0x00, 0x05, 0x00, 0x0A, 0x00, 0x03}));

    struct Case {
        std::array<std::string, 4> texts;
        const char* message;
    };
    const Case cases[] = {
        {{"0", "0", "1", "1"}, "Invalid DropOut Factor Entered!\r\n(Valid values: 1 - 50 )"},
        {{"51", "0", "1", "1"}, "Invalid DropOut Factor Entered!\r\n(Valid values: 1 - 50 )"},
        {{"1", "101", "1", "1"}, "Invalid Smooth Factor Entered!\r\n(Valid values: 0 - 100)"},
        {{"1", "0", "4", "1"}, "Invalid Order Factor Entered!\r\n(Valid values: 1 - 19(Odd Only))"},
        {{"1", "0", "21", "1"},
         "Invalid Order Factor Entered!\r\n(Valid values: 1 - 19(Odd Only))"},
        {{"1", "0", "19", "0"}, "Invalid Scan Interval Entered!\r\n(Valid values: 1 - 32000)"},
        {{"1", "0", "19", "32001"}, "Invalid Scan Interval Entered!\r\n(Valid values: 1 - 32000)"},
    };
    for (Case c : cases) {
        auto r = CheckScanVariables(c.texts, kSum);
        ASSERT_FALSE(r.Ok()) << c.message;
        EXPECT_EQ(r.refusal->message, c.message);
    }
    std::array<std::string, 4> empty = {"3", "", "", "7"};
    auto r = CheckScanVariables(empty, kSum);
    EXPECT_EQ(r.refusal->field, Field::Order);
    EXPECT_EQ(empty, (std::array<std::string, 4>{"3", "0", "0", "7"}));
}

TEST(LegacyChecks, AnalogRangesFollowTheModesDirection) {
    std::array<std::string, 6> t = {"0.0", "-10.0", "1", "9.999", "0.5", "0.25"};
    auto ok = CheckAnalog(t, 3, kSum);
    ASSERT_TRUE(ok.Ok());
    // volts at min, min range, volts at max, max range, offset volts, volts outside
    Bytes expected;
    for (std::uint16_t w : {1000, 0, 9999, 0xFF9C, 250, 500})
        AppendWord(expected, w, kSum);
    expected.resize(20, 0);
    EXPECT_EQ(ok.value, expected);

    t[0] = "10.0";
    auto r = CheckAnalog(t, 3, kSum);
    EXPECT_EQ(r.refusal->message,
              "Invalid Min Range Entered!\r\n(Valid Range: 0.0   to   -3200.0)");
    t[0] = "0";
    t[1] = "33";
    EXPECT_EQ(CheckAnalog(t, 1, kSum).refusal->message,
              "Invalid Max Range Entered!\r\n(Valid Range: 0.000   to   -32.000)");
    t = {"0", "1", "70.00", "1", "1", "1"};
    EXPECT_EQ(CheckAnalog(t, 0, kSum).refusal->message,
              "Invalid MinVolt value Entered!\r\n(Valid values 0.000-9.999)");
    t = {"0", "1", "1", "1", "1", "10"};
    auto offset = CheckAnalog(t, 0, kSum);
    EXPECT_EQ(offset.refusal->field, Field::OffsetVoltage);
    EXPECT_EQ(offset.refusal->message,
              "Invalid analog Offset value Entered!\r\n(Valid values 0.000-9.999)");
}

TEST(LegacyChecks, AveragingRoundsToWholeStepsInBothVariants) {
    const AveragingScale other{100, 60, 2};
    const AveragingScale c{1000, 1500, 3};
    EXPECT_EQ(AveragingTicks(0.61, other), 60);
    EXPECT_EQ(AveragingTicks(0, other), 60);
    EXPECT_EQ(AveragingTicks(1.19, other), 60);
    EXPECT_EQ(AveragingTicks(1.20, other), 120);
    EXPECT_EQ(AveragingTicks(1.0, c), 1500);
    EXPECT_EQ(AveragingTicks(2.9995, c), 3000); // 2999.5 ticks: ties go to even
    EXPECT_EQ(AveragingTicks(0.0025, other), 60);

    std::string empty;
    auto r = CheckAveraging(empty, "1.500", c, 0xABCD, kSum);
    EXPECT_EQ(empty, "1.500");
    EXPECT_EQ(r.value, (Bytes{0, 0, 0xCD, 0xAB, 0xDC, 0x05, 0, 0, 0, 0}));
    std::string big = "700";
    EXPECT_EQ(CheckAveraging(big, "0.60", other, 0, kCrc).value,
              (Bytes{0, 0, 0, 0, 0x11, 0x48, 0x00, 0x01, 0, 0})); // 69960 ticks, low half first
    std::string tooLong = "21474836.48";
    auto refused = CheckAveraging(tooLong, "0.60", other, 0, kSum);
    EXPECT_EQ(refused.refusal->message,
              "Invalid Average Interval Entered!\r\n(Valid values 0 - 21474836.47($7FFFFFFF)");
    std::string limit = "21474836.47";
    EXPECT_TRUE(CheckAveraging(limit, "0.60", other, 0, kSum).Ok());
    // With the finer ticks the same period would not fit 31 bits.
    EXPECT_EQ(CheckAveraging(limit, "1.500", c, 0, kSum).refusal->field, Field::AveragingPeriod);
}

TEST(LegacyChecks, ProductsBeyondEveryFieldAreRefusedOrHeld) {
    EXPECT_EQ(CheckOffsets("1e300", "1", "0", 0, kSum).refusal->field, Field::Cosine);
    EXPECT_EQ(CheckOffsets("1e305", "1", "0", 0, kSum).refusal->field, Field::Cosine);
    EXPECT_EQ(CheckOffsets("1", "-1e300", "0", 0, kSum).refusal->field, Field::Multiplier);
    std::array<std::string, 6> analog = {"0", "1", "1", "1", "1e308", "1"};
    EXPECT_EQ(CheckAnalog(analog, 0, kSum).refusal->field, Field::VoltsOutside);
    // Far below zero the period still takes one whole step.
    const AveragingScale other{100, 60, 2};
    EXPECT_EQ(AveragingTicks(-1e20, other), 60);
    EXPECT_EQ(AveragingTicks(-1e300, AveragingScale{1000, 1500, 3}), 1500);
    std::string period = "-1e20";
    EXPECT_EQ(CheckAveraging(period, "0.60", other, 7, kSum).value,
              (Bytes{0, 0, 7, 0, 60, 0, 0, 0, 0, 0}));
}

TEST(LegacyChecks, SerialAndAddressPayloadsHaveFixedSizes) {
    EXPECT_EQ(SerialPayload("AB12"),
              (Bytes{'A', 'B', '1', '2', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(AddressPayload("VK1", 9), (Bytes{'V', 'K', '1', 0, 0, 0, 0, 0, 9}));
    EXPECT_EQ(AddressPayload("VK0000019", 9).size(), 9u);
    EXPECT_EQ(SerialPayload("VK00000199"),
              (Bytes{'V', 'K', '0', '0', '0', '0', '0', '1', 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(LegacyPresets, ModelFieldsAndDetection) {
    Bytes kr3 = ModelField(2);
    ASSERT_EQ(kr3.size(), 16u);
    EXPECT_EQ(std::string(kr3.begin(), kr3.begin() + 11), "1 KR3-CCC-3");
    EXPECT_EQ(kr3[11], 0);
    EXPECT_EQ(ModelField(0)[0], '0');
    EXPECT_TRUE(ModelField(kModelOther).empty());
    EXPECT_EQ(DetectModelRow("KR3-CCC-3"), 2);
    EXPECT_EQ(DetectModelRow("XBBA"), 1);
    EXPECT_EQ(DetectModelRow("KR1-A-1"), 0);
    EXPECT_EQ(DetectModelRow("VKT-02"), kModelOther);
}

TEST(LegacyKeys, FiltersLetThroughOnlyTheirCharacters) {
    EXPECT_TRUE(KeyAccepted(KeyFilter::Digits, '7', "12"));
    EXPECT_TRUE(KeyAccepted(KeyFilter::Digits, kKeyBackspace, ""));
    EXPECT_TRUE(KeyAccepted(KeyFilter::Digits, kKeyEnter, ""));
    EXPECT_FALSE(KeyAccepted(KeyFilter::Digits, '-', ""));
    EXPECT_TRUE(KeyAccepted(KeyFilter::SerialText, 'Z', ""));
    EXPECT_FALSE(KeyAccepted(KeyFilter::SerialText, 'z', ""));
    EXPECT_TRUE(KeyAccepted(KeyFilter::Signed, '-', "12.5"));
    EXPECT_FALSE(KeyAccepted(KeyFilter::Signed, '-', "-1"));
    EXPECT_FALSE(KeyAccepted(KeyFilter::Signed, '.', "1.5"));
    EXPECT_TRUE(KeyAccepted(KeyFilter::Unsigned, '.', "15"));
    EXPECT_FALSE(KeyAccepted(KeyFilter::Unsigned, '.', "1.5"));
    EXPECT_FALSE(KeyAccepted(KeyFilter::Unsigned, '-', ""));
    EXPECT_FALSE(KeyAccepted(KeyFilter::NoKeys, '1', ""));
    EXPECT_TRUE(KeyAccepted(KeyFilter::AccessCode, 'q', ""));
    EXPECT_TRUE(KeyAccepted(KeyFilter::AccessCode, '_', ""));
    EXPECT_FALSE(KeyAccepted(KeyFilter::AccessCode, '-', ""));
    EXPECT_FALSE(KeyAccepted(KeyFilter::AccessCode, ' ', ""));
}

TEST(LegacyParsing, NumbersMustBeWhole) {
    EXPECT_EQ(ParseInteger(" 42 ", -1), 42);
    EXPECT_EQ(ParseInteger("4 2", -1), -1);
    EXPECT_EQ(ParseInteger("99999999999", -1), -1);
    EXPECT_EQ(ParseInteger("", -1), -1);
    EXPECT_DOUBLE_EQ(ParseReal(".5", -1), 0.5);
    EXPECT_DOUBLE_EQ(ParseReal("-3.", -1), -3.0);
    EXPECT_DOUBLE_EQ(ParseReal("1.2.3", -1), -1);
    EXPECT_DOUBLE_EQ(ParseReal("-", -1), -1);
}

} // namespace
} // namespace vk::legacy
