// The VKT02 settings dialog's texts, its list for the "System:" bar and what each of its
// buttons makes of the fields.
#include "panels/number_text.h"
#include "panels/unit_conversion.h"
#include "panels/vkt02_settings.h"
#include "panels/vkt02_settings_checks.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

std::uint16_t Word(int value) {
    return static_cast<std::uint16_t>(value);
}

const TimingBase kRevisionB{100.0, 60, "%2.2f"};
const TimingBase kRevisionC{1000.0, 1500, "%2.3f"};

ReplyStore SampleReplies() {
    ReplyStore r;
    Vkt02SetupRecord& s = r.sensorSetup;
    s.address = 7;
    s.rangeMode = 0;
    s.threshold = 42;
    s.scanInterval = -3;
    s.dropoutFactor = 40000;
    s.smoothFactor = 5;
    s.orderFactor = 7;
    s.rangeOffset = Word(-1234);
    s.cosine = 9998;
    s.multiplier = 1000;
    s.laserState = 1;
    r.minLaserPower = 10;
    r.maxLaserPower = 200;
    AnalogFactorsRecord& a = r.analogFactors;
    a.voltsAtMinRange = 1001;
    a.minRange = 0;
    a.voltsAtMaxRange = 9999;
    a.maxRange = 32000;
    a.offsetVoltage = Word(-500);
    a.voltsOutOfRange = 0xFFFF;
    r.configVars.words = {0, 0, 0, 960}; // as reported: high half at 4, low half at 6
    return r;
}

TEST(Vkt02Settings, TextsFromTheFiveReads) {
    const Vkt02Settings settings =
        Vkt02SettingsFromReplies(SampleReplies(), ModelType::VKT02, kRevisionB);
    const Vkt02SettingsTexts& t = settings.texts;
    EXPECT_EQ(t.rangeOffset, "-1.234");
    EXPECT_EQ(t.multiplier, "1.000");
    EXPECT_EQ(t.cosine, "0.9998");
    EXPECT_EQ(t.maxLaserPower, "200");
    EXPECT_EQ(t.minRange, "0.000");
    EXPECT_EQ(t.maxRange, "32.000");
    EXPECT_EQ(t.voltsAtMinRange, "1.001");
    EXPECT_EQ(t.offsetVoltage, "-0.500");
    EXPECT_EQ(t.voltsOutOfRange, "-0.001");
    EXPECT_EQ(t.dropout, "-25536"); // every word is read as signed
    EXPECT_EQ(t.scanInterval, "-3");
    EXPECT_EQ(t.averagingPeriod, "9.60");
    EXPECT_EQ(settings.modeNumber, 0);
    EXPECT_EQ(settings.order, 7);
    EXPECT_TRUE(settings.laserOn);

    // Ranges follow the sensor's mode: millimetres with one decimal in mode 2.
    ReplyStore mm = SampleReplies();
    mm.sensorSetup.rangeMode = 2;
    mm.sensorSetup.laserState = 2; // only 1 means on
    const Vkt02Settings inMm = Vkt02SettingsFromReplies(mm, ModelType::RmxLong, kRevisionC);
    EXPECT_EQ(inMm.texts.maxRange, "3200.0");
    EXPECT_EQ(inMm.texts.rangeOffset, "-123.400");
    EXPECT_EQ(inMm.texts.averagingPeriod, "0.960");
    EXPECT_FALSE(inMm.laserOn);

    const Vkt02Settings noVersion =
        Vkt02SettingsFromReplies(SampleReplies(), ModelType::VKT02, TimingBase{});
    EXPECT_EQ(noVersion.texts.averagingPeriod, "Unknown version");
}

TEST(Vkt02Settings, ListForTheSystemBar) {
    const Vkt02Settings settings =
        Vkt02SettingsFromReplies(SampleReplies(), ModelType::VKT02, kRevisionB);
    std::vector<std::string> names = {"stale"};
    std::vector<std::string> values;
    FillVkt02SettingsList(settings, ModelType::VKT02, names, values);
    const std::vector<std::string> expected = {
        "Laser",      "Mode",         "Scan Interval",       "Dropout",
        "Smooth",     "Order",        "Range Offset",        "Multiplier",
        "Cosine",     "Threshold",    "Min. Laser Power",    "Max. Laser Power",
        "Min. Range", "Max. Range",   "Min. Volts",          "Max. Volts",
        "Offset",     "Out of Range", "Averaging Period(ms)"};
    EXPECT_EQ(names, expected);
    ASSERT_EQ(values.size(), names.size());
    EXPECT_EQ(values[0], "On");
    EXPECT_EQ(values[1], "0:  From 00.000 to  32.000 inch");
    EXPECT_EQ(values[18], "9.60");

    Vkt02Settings unselected = settings;
    unselected.modeNumber = -1;
    FillVkt02SettingsList(unselected, ModelType::VKT02, names, values);
    EXPECT_EQ(values[1], "Invalid Mode");
}

TEST(Vkt02Settings, ModeAndOrderBoxes) {
    const std::vector<std::string> modes = Vkt02ModeBoxItems(ModelType::VKT02);
    ASSERT_EQ(modes.size(), 16u);
    EXPECT_EQ(modes[15], "15:  From 000.00 to -320.00 m ");

    EXPECT_EQ(OrderBoxRow(19), 9);
    EXPECT_EQ(OrderBoxRow(4), -1);

    // An order the box lacks goes back to the sensor as it came.
    Vkt02Settings settings;
    settings.order = 4;
    settings.texts.dropout = "-25536";
    settings.texts.smooth = "70000";
    const FilterFactors factors = FilterFactorsFrom(settings);
    EXPECT_EQ(factors.order, 4);
    EXPECT_EQ(factors.dropout, 40000);
    EXPECT_EQ(factors.smooth, 70000 - 65536);
}

TEST(Vkt02SettingsChecks, LaserPowersAndThreshold) {
    EXPECT_EQ(CheckMinLaserPower("0").value, 0);
    EXPECT_EQ(CheckMinLaserPower("254").value, 254);
    EXPECT_EQ(CheckMinLaserPower("255").refusal, "Min laser power must be between 1 and 254");
    EXPECT_EQ(CheckMinLaserPower("-1").refusal, "Min laser power must be between 1 and 254");
    EXPECT_EQ(CheckMaxLaserPower("255").refusal, "Max laser power must be between 1 and 254");
    EXPECT_EQ(CheckMaxLaserPower("").value, 0); // no number counts as 0
    EXPECT_EQ(CheckThreshold("255").value, 255);
    EXPECT_EQ(CheckThreshold("256").refusal, "Thresholdmust be between 0 and 255");
}

TEST(Vkt02SettingsChecks, RangeOffsetCosineAndMultiplier) {
    Vkt02SettingsTexts t;
    t.rangeOffset = "-1.234";
    t.multiplier = "-1.5";
    t.cosine = "1.0";
    const RangeMode& inch = GetRangeMode(ModelType::VKT02, 0);
    const auto request = CheckRangeOffset(t, inch);
    ASSERT_TRUE(request.Accepted());
    EXPECT_EQ(request.value->rangeOffset, Word(-1234));
    EXPECT_EQ(request.value->cosine, 10000);
    EXPECT_EQ(request.value->multiplier, Word(-1500));
    EXPECT_EQ(request.value->fourth, 0);

    // The mode chosen in the box governs, sent or not: mode 2 counts tenths of a mm.
    t.rangeOffset = "12.34";
    EXPECT_EQ(CheckRangeOffset(t, GetRangeMode(ModelType::VKT02, 2)).value->rangeOffset, 123);

    for (const char* refused : {"1.00001", "-0.0001", "2"}) {
        t.cosine = refused;
        EXPECT_EQ(CheckRangeOffset(t, inch).refusal, "Cosine must be between 0 and 1.0000");
    }
    t.cosine = "0.99999"; // floored
    EXPECT_EQ(CheckRangeOffset(t, inch).value->cosine, 9999);
}

TEST(Vkt02SettingsChecks, AnalogFactors) {
    Vkt02SettingsTexts t;
    t.minRange = "1.5";
    t.maxRange = "32";
    t.voltsAtMinRange = "1.001";
    t.voltsAtMaxRange = "1.0019";
    t.offsetVoltage = "-1.0019";
    t.voltsOutOfRange = "junk";
    const auto record = CheckAnalogFactors(t, GetRangeMode(ModelType::VKT02, 0));
    ASSERT_TRUE(record.Accepted());
    EXPECT_EQ(record.value->minRange, 1500);
    EXPECT_EQ(record.value->maxRange, 32000);
    EXPECT_EQ(record.value->voltsAtMinRange, 1001); // what was typed, not 1000
    EXPECT_EQ(record.value->voltsAtMaxRange, 1001); // a real fraction is cut off
    EXPECT_EQ(record.value->offsetVoltage, Word(-1001));
    EXPECT_EQ(record.value->voltsOutOfRange, 0);

    t.maxRange = "32.001";
    EXPECT_EQ(CheckAnalogFactors(t, GetRangeMode(ModelType::VKT02, 0)).refusal,
              "Range values must be between 0.000 inch and 32.000 inch");
    EXPECT_EQ(CheckAnalogFactors(t, GetRangeMode(ModelType::VKT02, 3)).refusal,
              "Range values must be between -3200.0 mm and 0.0 mm");

    // The order of the two ranges is not checked.
    t.minRange = "-1";
    t.maxRange = "-32";
    const auto reversed = CheckAnalogFactors(t, GetRangeMode(ModelType::VKT02, 1));
    ASSERT_TRUE(reversed.Accepted());
    EXPECT_EQ(reversed.value->maxRange, Word(-32000));
}

// The count as SetConfigVars takes it: low half in the word at 4, high half at 6.
std::uint32_t CountToSet(const ConfigRecord& record) {
    return std::uint32_t{record.words[3]} << 16 | record.words[2];
}

TEST(Vkt02SettingsChecks, AveragingPeriod) {
    ConfigRecord last;
    last.words = {7, 8, 0xAAAA, 0xBBBB};
    last.bytes = {1, 2};
    const auto tenMs = CheckAveragingPeriod("10", last, kRevisionB);
    ASSERT_TRUE(tenMs.Accepted());
    // 16 whole quanta of 60 ticks, low half first; the rest goes back as it came.
    EXPECT_EQ(tenMs.value->words, (std::array<std::uint16_t, 4>{7, 8, 960, 0}));
    EXPECT_EQ(tenMs.value->bytes, last.bytes);
    EXPECT_EQ(AveragingPeriodText(960, kRevisionB), "9.60");

    EXPECT_EQ(CountToSet(*CheckAveragingPeriod("0.5", last, kRevisionB).value), 0u);
    // 999000 ticks: 0x000F in the word at 6, 0x3E58 in the word at 4.
    EXPECT_EQ(CheckAveragingPeriod("1000", last, kRevisionC).value->words,
              (std::array<std::uint16_t, 4>{7, 8, 0x3E58, 0x000F}));

    const char* refusal = "Averaging period must be between 0 and 21474836.47";
    EXPECT_EQ(CheckAveragingPeriod("-0.001", last, kRevisionB).refusal, refusal);
    // The bound is on the count: whole quanta up to 21474836 ticks.
    EXPECT_EQ(CountToSet(*CheckAveragingPeriod("21474.9", last, kRevisionC).value), 21474000u);
    EXPECT_EQ(CheckAveragingPeriod("21475.5", last, kRevisionC).refusal, refusal);
    EXPECT_EQ(CheckAveragingPeriod("1e300", last, kRevisionC).refusal, refusal);
}

// Pressing a button without touching its fields must send back what the sensor holds.
TEST(Vkt02SettingsChecks, UntouchedFieldsGoBackUnchanged) {
    const RangeMode& inch = GetRangeMode(ModelType::VKT02, 0);
    ReplyStore r = SampleReplies();
    for (int cosine = 0; cosine <= 10000; ++cosine) {
        r.sensorSetup.cosine = Word(cosine);
        r.sensorSetup.multiplier = Word(cosine * 3 - 15000);
        r.sensorSetup.rangeOffset = Word(cosine * 3 - 15000);
        const auto texts = Vkt02SettingsFromReplies(r, ModelType::VKT02, kRevisionB).texts;
        const auto request = CheckRangeOffset(texts, inch);
        ASSERT_TRUE(request.Accepted());
        ASSERT_EQ(request.value->cosine, cosine) << texts.cosine;
        ASSERT_EQ(request.value->multiplier, r.sensorSetup.multiplier) << texts.multiplier;
        ASSERT_EQ(request.value->rangeOffset, r.sensorSetup.rangeOffset) << texts.rangeOffset;
    }
    for (int mv = -32768; mv <= 32767; ++mv) {
        ASSERT_EQ(MillivoltWord(TextAsNumber(VoltsText(Word(mv)))), Word(mv));
    }
    for (const TimingBase& timing : {kRevisionB, kRevisionC}) {
        for (std::uint32_t quanta = 0; quanta < 5000; ++quanta) {
            const std::uint32_t count = quanta * timing.scanQuantum;
            const auto sent =
                CheckAveragingPeriod(AveragingPeriodText(count, timing), ConfigRecord{}, timing);
            ASSERT_EQ(CountToSet(*sent.value), count) << AveragingPeriodText(count, timing);
        }
    }
}

} // namespace
} // namespace vk
