// "SetupVk2.ini": its first creation, reading and writing keys, and values it does not know.

#include "legacy_tool/host_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vk::legacy {
namespace {

class LegacySettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("legacy-ini-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        path_ = (dir_ / "SetupVk2.ini").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Content() const {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void Write(const std::string& text) const { std::ofstream(path_, std::ios::binary) << text; }

    std::filesystem::path dir_;
    std::string path_;
};

TEST_F(LegacySettingsFile, FirstStartCreatesTheFourLines) {
    IniFile file(path_);
    EXPECT_FALSE(file.Exists());
    ASSERT_TRUE(file.CreateIfMissing(DefaultSettingsLines()));
    EXPECT_EQ(Content(), "[CommPort]\r\nPort=1\r\n[BaudRate]\r\nBaud=57600\r\n");
    HostSettings s = LoadHostSettings(file);
    EXPECT_EQ(s.port, 1);
    EXPECT_EQ(s.baud, 57600);
    // An existing file is left alone.
    Write("[CommPort]\r\nPort=3\r\n");
    IniFile existing(path_);
    ASSERT_TRUE(existing.CreateIfMissing(DefaultSettingsLines()));
    EXPECT_EQ(Content(), "[CommPort]\r\nPort=3\r\n");
    EXPECT_EQ(LoadHostSettings(existing).port, 3);
    EXPECT_EQ(LoadHostSettings(existing).baud, 57600);
}

TEST_F(LegacySettingsFile, WritingKeepsOtherLinesAndAddsWhatIsMissing) {
    Write("; our port\r\n[commport]\r\nport = 2\r\nOther=x\r\n[Else]\r\nBaud=1\r\n");
    IniFile file(path_);
    ASSERT_TRUE(SaveHostSettings(file, {4, 115200}));
    EXPECT_EQ(Content(), "; our port\r\n[commport]\r\nPort=4\r\nOther=x\r\n[Else]\r\nBaud=1\r\n"
                         "[BaudRate]\r\nBaud=115200\r\n");
    HostSettings s = LoadHostSettings(file);
    EXPECT_EQ(s.port, 4);
    EXPECT_EQ(s.baud, 115200);
}

TEST_F(LegacySettingsFile, ReadOnceAndSavedWhole) {
    Write("[CommPort]\r\nPort=2\r\n[BaudRate]\r\nBaud=9600\r\n");
    IniFile file(path_);
    // What the file holds later is not read again: the copy counts.
    Write("[CommPort]\r\nPort=7\r\n");
    EXPECT_EQ(LoadHostSettings(file).port, 2);
    EXPECT_EQ(LoadHostSettings(file).baud, 9600);
    ASSERT_TRUE(SaveHostSettings(file, {3, 19200}));
    EXPECT_EQ(Content(), "[CommPort]\r\nPort=3\r\n[BaudRate]\r\nBaud=19200\r\n");
    // Saved settings read back from the copy.
    std::filesystem::remove(path_);
    EXPECT_EQ(LoadHostSettings(file).port, 3);
    EXPECT_EQ(LoadHostSettings(file).baud, 19200);
}

TEST_F(LegacySettingsFile, OversizedFileCountsAsTheDefaultsAndIsNeverWrittenOver) {
    const std::string head = "[CommPort]\r\nPort=3\r\n;";
    // At the limit the file is read.
    std::string atLimit = head + std::string(kMaxIniFileSize - head.size() - 2, 'x') + "\r\n";
    ASSERT_EQ(atLimit.size(), kMaxIniFileSize);
    Write(atLimit);
    EXPECT_EQ(LoadHostSettings(IniFile(path_)).port, 3);

    // One byte more and it is not.
    std::string over = atLimit + ";";
    Write(over);
    IniFile file(path_);
    EXPECT_EQ(LoadHostSettings(file).port, 1);
    EXPECT_EQ(LoadHostSettings(file).baud, 57600);
    ASSERT_TRUE(file.CreateIfMissing(DefaultSettingsLines()));
    EXPECT_FALSE(SaveHostSettings(file, {4, 9600}));
    EXPECT_TRUE(Content() == over); // not printed: 64 KiB
    // What was set holds while the program runs.
    EXPECT_EQ(LoadHostSettings(file).port, 4);
    EXPECT_EQ(LoadHostSettings(file).baud, 9600);
}

TEST_F(LegacySettingsFile, UnreadableValuesFallBackToTheDefaults) {
    Write("[CommPort]\nPort=COM2\n[BaudRate]\nBaud=99999999999\n");
    HostSettings s = LoadHostSettings(IniFile(path_));
    EXPECT_EQ(s.port, 1);
    EXPECT_EQ(s.baud, 57600);
    EXPECT_EQ(BaudPosition(115200), 4);
    EXPECT_EQ(BaudPosition(12345), -1);
    EXPECT_EQ(BaudAtPosition(0), 9600);
    EXPECT_EQ(BaudAtPosition(5), 0);
}

} // namespace
} // namespace vk::legacy
