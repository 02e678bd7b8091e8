// Reading numbers from field texts, and the check behind the numeric entry field.
#include "panels/number_text.h"
#include "panels/numeric_check.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vk {
namespace {

TEST(NumberText, ExactlyOneNumber) {
    for (const char* text : {"5", "-5", "+5", "0.5", ".5", "5.", "-.5", "1e5", "1E-3", " 12", "12 ",
                             "\t-3.25\n", "007"})
        EXPECT_TRUE(IsExactlyOneNumber(text)) << '"' << text << '"';
    for (const char* text : {"", " ", "-", "+", ".", "-.", "1.2.3", "12a", "1e", "1e+", "1 2",
                             "--5", "+-5", "inf", "nan", "0x10", "1,5", "a1"})
        EXPECT_FALSE(IsExactlyOneNumber(text)) << '"' << text << '"';
}

TEST(NumberText, LeadingNumberAndItsEnd) {
    const auto number = ScanLeadingNumber("  -12.5e1xyz");
    ASSERT_TRUE(number);
    EXPECT_EQ(number->value, -125.0);
    EXPECT_EQ(number->end, 9u);
    // An exponent without digits is not part of the number.
    EXPECT_EQ(ScanLeadingNumber("3e-")->end, 1u);
    EXPECT_FALSE(ScanLeadingNumber("e5"));

    EXPECT_EQ(TextAsNumber("12a"), 12.0);
    EXPECT_EQ(TextAsNumber("Unknown version"), 0.0);
    EXPECT_EQ(TextAsNumber(""), 0.0);
}

TEST(NumberText, HugeAndTinyNumbersStayDefined) {
    EXPECT_EQ(TextAsNumber("1e400"), HUGE_VAL);
    EXPECT_EQ(TextAsNumber("-1e400"), -HUGE_VAL);
    EXPECT_EQ(TextAsNumber(std::string(400, '9')), HUGE_VAL);
    EXPECT_EQ(TextAsNumber("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(TextAsNumber("1e99999999999999999999"), HUGE_VAL);
}

TEST(NumberText, Integers) {
    EXPECT_EQ(TextAsInteger(" -1"), -1);
    EXPECT_EQ(TextAsInteger("12.7"), 12);
    EXPECT_EQ(TextAsInteger("x"), 0);
    EXPECT_EQ(TextAsInteger(std::string(30, '9')), INT64_MAX);
    EXPECT_EQ(TextAsInteger("-" + std::string(30, '9')), -INT64_MAX);

    EXPECT_EQ(WholeNumberText(" +7 "), 7);
    EXPECT_EQ(WholeNumberText("-9223372036854775808"), INT64_MIN);
    for (const char* text : {"", " ", "-", "1 2", "12a", "1.0", "9223372036854775808"})
        EXPECT_EQ(WholeNumberText(text), std::nullopt) << text;

    EXPECT_EQ(TextAsLowWord("65536"), 0);
    EXPECT_EQ(TextAsLowWord("-1"), 0xFFFF);
    EXPECT_EQ(TextAsLowWord("-25536"), 40000);
    // Exact however long the number is.
    EXPECT_EQ(TextAsLowWord("123456789012345678901"), 27701);
}

TEST(NumericCheck, WholeTextAndLeadingNumber) {
    const NumericBounds unbounded;
    EXPECT_EQ(CheckWholeText("5", unbounded), kNumberValid);
    EXPECT_EQ(CheckWholeText("", unbounded), kNotANumber);
    EXPECT_EQ(CheckWholeText("12a", unbounded), kNotANumber);
    EXPECT_EQ(CheckLeadingNumber("12a", unbounded), kNumberValid);
    EXPECT_EQ(CheckLeadingNumber("a12", unbounded), kNotANumber);

    // No finite float is out of the default bounds; past them the float scan overflows.
    EXPECT_EQ(CheckWholeText("-3.4e38", unbounded), kNumberValid);
    EXPECT_EQ(CheckWholeText("3.5e38", unbounded), kNumberOutOfRange);

    const NumericBounds percent{0.0f, 100.0f};
    EXPECT_EQ(CheckWholeText("100", percent), kNumberValid);
    EXPECT_EQ(CheckWholeText("100.5", percent), kNumberOutOfRange);
    EXPECT_EQ(CheckWholeText("-0.1", percent), kNumberOutOfRange);
    EXPECT_EQ(CheckLeadingNumber("101x", percent), kNumberOutOfRange);
}

TEST(NumericCheck, Messages) {
    EXPECT_EQ(NumericCheckMessage(kNumberValid), "");
    EXPECT_EQ(NumericCheckMessage(kNumberOutOfRange), "Given value is out of range.\n");
    EXPECT_EQ(NumericCheckMessage(kNotANumber), "Characters must be a number.\n");
    EXPECT_EQ(NumericCheckMessage(kNumberOutOfRange | kNotANumber),
              "Given value is out of range.\nCharacters must be a number.\n");
}

} // namespace
} // namespace vk
