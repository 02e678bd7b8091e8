// The reader of JSON that comes from outside: what it keeps, and what it refuses.
#include "panels/json_reader.h"

#include "elapsed_ms.h"

#include <gtest/gtest.h>

#include <string>

using namespace vk;

TEST(JsonReader, KeepsNumbersAsWrittenAndResolvesEscapes) {
    const JsonParse p = ParseJson(
        " {\"a\": 1.500, \"b\": [-0.5e-3, true, null], \"c\": \"x\\u00e9\\ud83d\\ude00\\n\"} ");
    ASSERT_TRUE(p.value) << p.error;
    EXPECT_EQ(p.value->Find("a")->text, "1.500");
    const JsonValue& b = *p.value->Find("b");
    ASSERT_EQ(b.items.size(), 3u);
    EXPECT_EQ(b.items[0].text, "-0.5e-3");
    EXPECT_TRUE(b.items[1].boolean);
    EXPECT_EQ(b.items[2].kind, JsonValue::Kind::Null);
    EXPECT_EQ(p.value->Find("c")->text, "x\xc3\xa9\xf0\x9f\x98\x80\n");
    EXPECT_EQ(p.value->Find("d"), nullptr);

    EXPECT_EQ(Latin1FromUtf8("VK\xc3\xa9"), std::optional<std::string>("VK\xe9"));
    EXPECT_FALSE(Latin1FromUtf8("\xe2\x82\xac")); // the euro sign is beyond Latin-1
}

TEST(JsonReader, RefusesHostileTextsWithWhatAndWhere) {
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    const std::pair<std::string, std::string> cases[] = {
        {deep, "nested deeper than 16 levels at byte 16"},
        {"[" + std::string(40, '9') + "]", "a number longer than 32 characters at byte 1"},
        {std::string("[\"a\0b\"]", 7), "a NUL byte at byte 3"},
        {"[\"\\u0000\"]", "a NUL character in a string at byte 8"},
        {"[\"\xc0\xaf\"]", "text that is not UTF-8 at byte 2"},     // overlong '/'
        {"[\"\xed\xa0\x80\"]", "text that is not UTF-8 at byte 2"}, // an encoded surrogate
        {"[\"\\ud800x\"]", "a high surrogate without its low half at byte 8"},
        {"{\"k\": 1, \"k\": 2}", "the key \"k\" appears twice at byte 9"},
        {"{\"k\": 1} x", "more after the end of the document at byte 9"},
        {"[\"open", "a string is not closed at byte 6"},
        {"[01]", "a malformed number at byte 1"},
        {"[1,]", "not a JSON value at byte 3"},
        {"", "the document ends too early at byte 0"},
        {"{\"k\": [1, {\"j\"", "the document ends too early at byte 14"},
        {"{\"k\": 1, ", "the document ends too early at byte 9"},
    };
    for (const auto& [text, error] : cases) {
        const JsonParse p = ParseJson(text);
        EXPECT_FALSE(p.value) << error;
        EXPECT_EQ(p.error, error);
    }
    JsonLimits small;
    small.maxBytes = 8;
    EXPECT_EQ(ParseJson("[1, 2, 3, 4]", small).error, "larger than 8 bytes");

    // However wide an object the limits allow, its keys cost no more than their number:
    // 100000 members in a moment, where comparing each key with those before it takes
    // seconds.
    JsonLimits wide;
    wide.maxBytes = 8 << 20;
    wide.maxValues = 1 << 20;
    std::string object = "{";
    for (int i = 0; i < 100000; ++i)
        object += "\"k" + std::to_string(1000000 + i) + "\":0,";
    object += "\"k1000000\":0}";
    std::string error;
    const double ms = vk::test::ElapsedMs([&] { error = ParseJson(object, wide).error; });
    EXPECT_EQ(error,
              "the key \"k1000000\" appears twice at byte " + std::to_string(object.size() - 13));
    EXPECT_LT(ms, 2000.0);
}
