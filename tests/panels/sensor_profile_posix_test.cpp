// Sensor profile files where the system has links, permissions and pipes.
#include "panels/sensor_profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace vk;
namespace fs = std::filesystem;

namespace {

std::string Serial(const std::string& path) {
    const ProfileRead read = ReadProfileFile(path);
    return read.profile ? read.profile->identity.serial : read.error;
}

} // namespace

TEST(SensorProfile, LinksAndPermissionsStayAFileThatCannotBeReplacedIsKeptAndAPipeIsNoProfile) {
    const fs::path dir = fs::temp_directory_path() / ("vk-profile-" + std::to_string(getpid()));
    fs::remove_all(dir);
    ASSERT_TRUE(fs::create_directory(dir));
    const std::string path = (dir / "old.json").string();
    SensorProfile profile;
    profile.identity.serial = "VK000002";
    std::string error;
    ASSERT_TRUE(WriteProfileFile(path, profile, &error)) << error;

    // A file of another program beside it is no concern of the save.
    std::ofstream(path + ".new") << "someone's";
    profile.identity.serial = "VK000003";
    ASSERT_TRUE(WriteProfileFile(path, profile, &error)) << error;
    std::ifstream other(path + ".new");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(other), {}), "someone's");

    // Saved through a link: the file behind it is replaced with its permissions, the link
    // stays.
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::string link = (dir / "link.json").string();
    fs::create_symlink(path, link);
    profile.identity.serial = "VK000004";
    ASSERT_TRUE(WriteProfileFile(link, profile, &error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Serial(path), "VK000004");
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A name so long that no new file can be made beside it, whoever runs the test.
    const std::string longName = (dir / (std::string(250, 'p') + ".json")).string();
    fs::rename(path, longName);
    profile.identity.serial = "VK000005";
    EXPECT_FALSE(WriteProfileFile(longName, profile, &error));
    EXPECT_EQ(error, "Could not write the sensor profile " + longName +
                         ": no new file could be made beside it");
    EXPECT_EQ(Serial(longName), "VK000004");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);

    const std::string fifo = (dir / "fifo.json").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadProfileFile(fifo).error, fifo + " is not a regular file");
    fs::remove_all(dir);
}
