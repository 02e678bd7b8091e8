// How COM names map to devices.
#include "link/port_names.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace vk;

TEST(PortNames, ComNumbersAndNonComNames) {
    EXPECT_EQ(ComNumber("COM1"), 1);
    EXPECT_EQ(ComNumber("COM12"), 12);
    EXPECT_FALSE(ComNumber("COM0"));
    EXPECT_FALSE(ComNumber("COM"));
    EXPECT_FALSE(ComNumber("com3"));
    EXPECT_FALSE(ComNumber("COM3x"));
    EXPECT_FALSE(ComNumber("USB1"));
    EXPECT_EQ(ResolvePortName("/dev/ttyAMA0"), "/dev/ttyAMA0");
}

TEST(PortNames, ThePortDirectoryComesFirstThenTheConvention) {
    namespace fs = std::filesystem;
    char dirTemplate[] = "/tmp/vk-port-names-XXXXXX";
    ASSERT_NE(mkdtemp(dirTemplate), nullptr);
    fs::path dir = dirTemplate;
    setenv("KORVEL_PORT_DIR", dir.c_str(), 1);
    EXPECT_EQ(PortDirectory(), dir.string());

    EXPECT_EQ(ResolvePortName("COM1"), "/dev/ttyS0");
    EXPECT_EQ(ResolvePortName("COM32"), "/dev/ttyS31");
    EXPECT_EQ(ResolvePortName("COM33"), "/dev/ttyUSB0");
    EXPECT_EQ(ResolvePortName("COM65"), "/dev/ttyACM0");
    EXPECT_EQ(ResolvePortName("COM96"), "/dev/ttyACM31");

    fs::create_symlink("/dev/null", dir / "COM5");
    EXPECT_EQ(ResolvePortName("COM5"), (dir / "COM5").string());
    fs::create_symlink(dir / "gone", dir / "COM6"); // a stale link is no device
    bool listed5 = false, listed6 = false;
    for (const auto& d : ListComDevices()) {
        listed5 |= d.number == 5;
        listed6 |= d.number == 6;
        if (d.number == 5) {
            EXPECT_EQ(ComDeviceLabel(d), "COM5 (/dev/null)");
        }
    }
    EXPECT_TRUE(listed5);
    EXPECT_FALSE(listed6);

    unsetenv("KORVEL_PORT_DIR");
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string savedXdg = xdg ? xdg : "";
    setenv("XDG_CONFIG_HOME", "/somewhere", 1);
    EXPECT_EQ(PortDirectory(), "/somewhere/Korvel/ports");
    if (xdg)
        setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(dir);
}
