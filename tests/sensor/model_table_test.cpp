// Model detection from the model-name reply, the model rows and the version texts.
#include "sensor/model_table.h"
#include "sensor_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vk {
namespace {

SensorText Reply(const char* bytes, std::size_t length) {
    SensorText text;
    std::memcpy(text.bytes.data(), bytes, length);
    return text;
}

TEST(SensorModelTable, EveryRowSelectsItsType) {
    struct Row {
        const char* text;
        ModelType type;
    };
    const Row rows[] = {
        {"0 RMX2000", ModelType::RmxShort},
        {"0 RMX7-GG-77", ModelType::RmxShort},
        {"O RMX2000", ModelType::RmxShort},
        {"1 RMXLONG", ModelType::RmxLong},
        {"1 RMX2000LR", ModelType::RmxLong},
        {"0 RMX2000LR", ModelType::RmxLong},
        {"0 K4-D-4", ModelType::VKT04},
        {"0 K4-D-5HO", ModelType::VKT04},
        {"0 K4-D-4BF", ModelType::VKT04VezirOrududu},
        {"0 KR1-A-1", ModelType::VKT02},
        {"0 KR2-BB-2", ModelType::VKT02},
        {"1 KR3-CCC-3", ModelType::VKT02},
        {"0 KR5-EE-5", ModelType::VKT02},
        {"0 VKT-02", ModelType::VKT02},
    };
    ASSERT_EQ(std::size(rows), ModelStringTable.size());
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_STREQ(ModelStringTable[i].modelString, rows[i].text) << "row " << i + 1;
        EXPECT_EQ(ModelStringTable[i].separator, 0);
        EXPECT_EQ(FindModelType(SensorText::From(rows[i].text)), rows[i].type) << rows[i].text;
    }
}

TEST(SensorModelTable, NearMissesMatchNothing) {
    EXPECT_EQ(FindModelType(SensorText::From("0 RMX2000 ")), std::nullopt); // trailing blank
    EXPECT_EQ(FindModelType(SensorText::From("0 rmx2000")), std::nullopt);  // case
    EXPECT_EQ(FindModelType(SensorText::From("0 VKT-0")), std::nullopt);    // prefix only
    EXPECT_EQ(FindModelType(SensorText::From("")), std::nullopt);
    // Bytes after the terminating zero do not count.
    EXPECT_EQ(FindModelType(Reply("0 VKT-02\0garbage", 16)), ModelType::VKT02);
    // Sixteen bytes without a zero are compared whole and never read past.
    SensorText full = Reply("0 RMX2000LRXXXXX", 16);
    EXPECT_EQ(full.View().size(), 16u);
    EXPECT_EQ(FindModelType(full), std::nullopt);
}

TEST(SensorModelTable, EntriesNameTypesAndShareTheVkt02Dialog) {
    test::DialogSet set;
    ModelTable table = MakeModelTable(set.Links());
    const char* names[] = {"VKT02", "VKT04", "Rmx Long", "Rmx Short", "VKT04 Vezir Orududu"};
    SettingsDialogLink* dialogs[] = {&set.vkt02, &set.vkt04, &set.vkt02, &set.rmxShort, &set.vezir};
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(table[i].type), i);
        EXPECT_EQ(table[i].displayName, names[i]);
        EXPECT_EQ(table[i].settingsDialog, dialogs[i]);
    }
}

TEST(SensorVersionText, FirmwareAndFpga) {
    EXPECT_EQ(FirmwareVersionText(123, 'C'), "1.23C");
    EXPECT_EQ(FirmwareVersionText(123, '\0'), "1.23");
    EXPECT_EQ(FirmwareVersionText(5, 'B'), "0.05B");
    EXPECT_EQ(FirmwareVersionText(65535, 'Z'), "655.35Z");
    EXPECT_EQ(FpgaVersionText(25), " 2.5");
    EXPECT_EQ(FpgaVersionText(255), "25.5");
}

} // namespace
} // namespace vk
