// "SetupVk2.ini": its first creation, reading and writing keys, and values it does not know.

#include "legacy_tool/host_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

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
    // At the limits the file is read: 1 MiB in all, lines of 4096 characters.
    const std::string head = "[CommPort]\r\nPort=3\r\n";
    const std::string line = ";" + std::string(kMaxIniLineLength - 1, 'x') + "\r\n";
    std::string atLimit = head;
    while (atLimit.size() + line.size() <= kMaxIniFileSize)
        atLimit += line;
    atLimit += std::string(kMaxIniFileSize - atLimit.size() - 2, ';') + "\r\n";
    ASSERT_EQ(atLimit.size(), kMaxIniFileSize);
    Write(atLimit);
    EXPECT_EQ(LoadHostSettings(IniFile(path_)).port, 3);

    // One byte more, or one longer line, and it is not.
    for (const std::string& over : {atLimit + ";", head + ";" + line}) {
        Write(over);
        IniFile file(path_);
        EXPECT_TRUE(file.Unread());
        EXPECT_EQ(LoadHostSettings(file).port, 1);
        EXPECT_EQ(LoadHostSettings(file).baud, 57600);
        ASSERT_TRUE(file.CreateIfMissing(DefaultSettingsLines()));
        EXPECT_FALSE(SaveHostSettings(file, {4, 9600}));
        EXPECT_TRUE(Content() == over); // not printed: 1 MiB
        // What was set holds while the program runs.
        EXPECT_EQ(LoadHostSettings(file).port, 4);
        EXPECT_EQ(LoadHostSettings(file).baud, 9600);
    }
}

TEST_F(LegacySettingsFile, WhatIsNoRegularFileIsNeitherReadNorWrittenNorCreated) {
    // A pipe would block the start, a device would be read for ever; a folder, a link to
    // nothing and (for anyone but root) a file nobody may read are no settings either.
    auto fifo = [&] { ASSERT_EQ(mkfifo(path_.c_str(), 0644), 0); };
    auto zero = [&] { std::filesystem::create_symlink("/dev/zero", path_); };
    auto folder = [&] { std::filesystem::create_directory(path_); };
    auto nothing = [&] { std::filesystem::create_symlink(dir_ / "gone", path_); };
    auto unreadable = [&] {
        Write("[CommPort]\r\nPort=2\r\n");
        std::filesystem::permissions(path_, std::filesystem::perms::none);
    };
    std::vector<std::function<void()>> strange = {fifo, zero, folder, nothing};
    if (geteuid() != 0)
        strange.push_back(unreadable);
    for (const auto& make : strange) {
        std::filesystem::remove_all(path_);
        make();
        auto type = std::filesystem::symlink_status(path_).type();
        IniFile file(path_);
        EXPECT_TRUE(file.Unread());
        EXPECT_EQ(LoadHostSettings(file).port, 1);
        EXPECT_TRUE(file.CreateIfMissing(DefaultSettingsLines()));
        EXPECT_FALSE(SaveHostSettings(file, {3, 9600}));
        EXPECT_EQ(LoadHostSettings(file).port, 3);
        EXPECT_EQ(std::filesystem::symlink_status(path_).type(), type);
        EXPECT_FALSE(std::filesystem::exists(path_ + ".new"));
    }
}

TEST_F(LegacySettingsFile, ReadOnlyFileIsLeftAsItIsAndLinksAreWrittenThrough) {
    const std::string text = "[CommPort]\r\nPort=2\r\n[BaudRate]\r\nBaud=9600\r\n";
    Write(text);
    namespace fs = std::filesystem;
    fs::permissions(path_, fs::perms::owner_read | fs::perms::group_read);
    IniFile readOnly(path_);
    EXPECT_FALSE(readOnly.Unread());
    EXPECT_FALSE(SaveHostSettings(readOnly, {3, 19200}));
    EXPECT_EQ(Content(), text);
    EXPECT_EQ(LoadHostSettings(readOnly).port, 3);

    // The file behind a link is replaced whole; the link and the permissions stay. A new
    // file an earlier save left behind is no obstacle.
    fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write);
    const std::string link = (dir_ / "link.ini").string();
    fs::create_symlink(path_, link);
    Write(text);
    std::ofstream(path_ + ".new") << "half";
    IniFile linked(link);
    ASSERT_TRUE(SaveHostSettings(linked, {4, 38400}));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Content(), "[CommPort]\r\nPort=4\r\n[BaudRate]\r\nBaud=38400\r\n");
    EXPECT_EQ(fs::status(path_).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(fs::exists(path_ + ".new"));
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
