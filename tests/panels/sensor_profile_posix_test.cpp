// Sensor profile files where the system has permissions and pipes.
#include "panels/sensor_profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace vk;
namespace fs = std::filesystem;

TEST(SensorProfile, AFolderThatRefusesTheNewFileKeepsTheOldAndAPipeIsNoProfile) {
    char name[] = "/tmp/vk-profile-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    const std::string dir = name;
    const std::string path = dir + "/old.json";
    SensorProfile profile;
    profile.identity.serial = "VK000002";
    std::string error;
    ASSERT_TRUE(WriteProfileFile(path, profile, &error)) << error;
    chmod(dir.c_str(), 0500);
    profile.identity.serial = "VK000003";
    const bool refused = !WriteProfileFile(path, profile, &error);
    chmod(dir.c_str(), 0700);
    if (geteuid() != 0) { // root writes anyway
        EXPECT_TRUE(refused);
        EXPECT_EQ(ReadProfileFile(path).profile->identity.serial, "VK000002");
    }
    const std::string fifo = dir + "/fifo.json";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadProfileFile(fifo).error, fifo + " is not a regular file");
    fs::remove_all(dir);
}
