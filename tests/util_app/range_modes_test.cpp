// The range-mode tables, the lookup rules and the display of raw ranges.
#include "util_app/range_modes.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

constexpr ModelType kNoSuchModel = static_cast<ModelType>(5);

TEST(RangeModes, TablesKeepTheirTextsExactly) {
    const RangeMode& inch = GetRangeMode(ModelType::VKT02, 0);
    EXPECT_EQ(inch.description, "0:  From 00.000 to  32.000 inch");
    EXPECT_EQ(inch.plainFormat, "%#2.3f");
    EXPECT_EQ(GetRangeMode(ModelType::VKT02, 1).description, "1:  From 00.000 to -32.000");
    EXPECT_EQ(GetRangeMode(ModelType::RmxLong, 2).description, "2:  From 0000.0 to 3200.0mm");
    EXPECT_EQ(GetRangeMode(ModelType::VKT02, 13).description, "13:  From 000.00 to -266.00 ft ");
    const RangeMode& rmxShort = GetRangeMode(ModelType::RmxShort, 0);
    EXPECT_EQ(rmxShort.description, "1:  From 04.000 to  24.000 inch");
    EXPECT_EQ(rmxShort.maximum, 30.0);
    EXPECT_EQ(GetRangeMode(ModelType::VKT04VezirOrududu, 1).description,
              "1:  From 00.00 to  200.00 mm");

    // Every odd mode of table 1 mirrors the even one before it.
    for (int mode = 0; mode < 16; mode += 2) {
        const RangeMode& up = GetRangeMode(ModelType::VKT02, mode);
        const RangeMode& down = GetRangeMode(ModelType::VKT02, mode + 1);
        EXPECT_EQ(up.factor, down.factor) << mode;
        EXPECT_EQ(up.maximum, -down.minimum) << mode;
        EXPECT_EQ(up.displayFormat, down.displayFormat) << mode;
        EXPECT_TRUE(!up.isSigned && down.isSigned) << mode;
    }
}

TEST(RangeModes, LookupFallsBackOutsideTheTables) {
    const RangeMode& fallback = RangeModes().Fallback();
    EXPECT_EQ(fallback.description, "Invalid Mode");
    EXPECT_EQ(fallback.displayFormat, "Unknown mode number");

    // Empty slots are rows of their own, not the fallback.
    for (int mode = 16; mode < 20; ++mode) {
        const RangeMode& empty = GetRangeMode(ModelType::VKT02, mode);
        EXPECT_NE(&empty, &fallback);
        EXPECT_EQ(empty.description, "");
        EXPECT_EQ(empty.displayFormat, "");
        EXPECT_EQ(empty.factor, 1.0);
    }
    EXPECT_EQ(GetRangeMode(ModelType::VKT04, 2).description, "");
    EXPECT_NE(&GetRangeMode(ModelType::VKT04, 19), &fallback);

    EXPECT_EQ(&GetRangeMode(ModelType::VKT02, 20), &fallback);
    EXPECT_EQ(&GetRangeMode(ModelType::VKT02, -1), &fallback);
    EXPECT_EQ(&GetRangeMode(ModelType::RmxShort, 1), &fallback);
    EXPECT_EQ(&GetRangeMode(kNoSuchModel, 0), &fallback);
    EXPECT_EQ(&GetRangeMode(static_cast<ModelType>(-1), 0), &fallback);
}

TEST(RangeModes, FormatsRawRanges) {
    EXPECT_EQ(FormatRange(ModelType::VKT02, 0, 12345), "12.345 inch");
    EXPECT_EQ(FormatRange(ModelType::VKT02, 0, static_cast<std::uint16_t>(-5)), "Out of Range");
    EXPECT_EQ(FormatRange(ModelType::VKT02, 1, static_cast<std::uint16_t>(-5)), "-0.005 inch");
    EXPECT_EQ(FormatRange(ModelType::VKT02, 2, 5), "0.5 mm");
    EXPECT_EQ(FormatRange(ModelType::RmxLong, 8, 32767), "3.2767 inch");
    EXPECT_EQ(FormatRange(ModelType::VKT02, 0, 0), "0.000 inch");
    // Signed although its interval starts at 0.
    EXPECT_EQ(FormatRange(ModelType::VKT04, 1, static_cast<std::uint16_t>(-150)), "-1.50 mm");
    EXPECT_EQ(FormatRange(ModelType::VKT04, 0, static_cast<std::uint16_t>(-150)), "Out of Range");
    EXPECT_EQ(FormatRange(ModelType::RmxShort, 0, 4000), "4.000 inch");
    // Empty slots show nothing.
    EXPECT_EQ(FormatRange(ModelType::VKT02, 17, 100), "");
}

TEST(RangeModes, ReadsRawRangesAsNumbersInTheirUnit) {
    const RangeReading inch = ReadRange(ModelType::VKT02, 1, static_cast<std::uint16_t>(-5));
    EXPECT_EQ(inch.value, -0.005);
    EXPECT_EQ(inch.text, "-0.005");
    EXPECT_EQ(inch.unit, "inch");
    EXPECT_EQ(ReadRange(ModelType::VKT02, 12, 100).unit, "ft");
    const RangeReading out = ReadRange(ModelType::VKT02, 0, 0x8000);
    EXPECT_FALSE(out.value.has_value());
    EXPECT_EQ(out.text, "");
    EXPECT_EQ(out.unit, "inch");
    EXPECT_FALSE(ReadRange(ModelType::VKT02, 20, 100).value.has_value());
}

TEST(RangeModes, NoReadingOfMinus32768InAnyMode) {
    for (ModelType type : {ModelType::VKT02, ModelType::VKT04, ModelType::RmxShort, kNoSuchModel}) {
        for (int mode = 0; mode <= 20; ++mode)
            EXPECT_EQ(FormatRange(type, mode, 0x8000), "Out of Range") << mode;
    }
}

TEST(RangeModes, UnknownModelTypeShowsUnknownModeNumber) {
    EXPECT_EQ(FormatRange(kNoSuchModel, 0, 12345), "Unknown mode number");
    EXPECT_EQ(FormatRange(ModelType::VKT02, 20, 1), "Unknown mode number");
    // The fallback row is not signed.
    EXPECT_EQ(FormatRange(kNoSuchModel, 0, 0xFFFF), "Out of Range");
}

TEST(RangeModes, ModeInForceComesFromTheFamilysSetupRecord) {
    ReplyStore replies;
    replies.sensorSetup.rangeMode = 1;
    replies.vkt04Setup.rangeMode = 0;
    EXPECT_EQ(RangeModeInForce(ModelType::VKT02, replies), 1);
    EXPECT_EQ(RangeModeInForce(ModelType::RmxLong, replies), 1);
    EXPECT_EQ(RangeModeInForce(ModelType::VKT04, replies), 0);
    EXPECT_EQ(RangeModeInForce(ModelType::VKT04VezirOrududu, replies), 0);
    replies.sensorSetup.rangeMode = 7;
    EXPECT_EQ(RangeModeInForce(ModelType::RmxShort, replies), 0);

    const auto minusFive = static_cast<std::uint16_t>(-5);
    EXPECT_EQ(FormatRange(ModelType::VKT02, replies, minusFive), "-0.005 m");
    EXPECT_EQ(FormatRange(ModelType::VKT04, replies, minusFive), "Out of Range");
    EXPECT_EQ(FormatRange(kNoSuchModel, replies, 1), "Unknown mode number");
    // A mode byte past the table.
    replies.sensorSetup.rangeMode = 200;
    EXPECT_EQ(FormatRange(ModelType::VKT02, replies, 1), "Unknown mode number");
}

TEST(RangeModes, FormatValueIsBounded) {
    EXPECT_EQ(FormatValue("%f", 1e300).size(), 255u);
    EXPECT_EQ(FormatValue("Unknown version", 9.6), "Unknown version");
}

} // namespace
} // namespace vk
