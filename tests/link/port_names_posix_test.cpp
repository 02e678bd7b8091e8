// How COM names map to devices where serial ports are files: links, then the convention.
#include "link/port_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace vk;

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
    EXPECT_EQ(ResolvePortName("com5"), (dir / "COM5").string());
    fs::create_symlink("gone", dir / "COM6"); // a stale link is no device
    fs::create_symlink("/dev/null", dir / "COM200");
    // Messages name what a link points at, there or not; other names as they resolve.
    EXPECT_EQ(PortDeviceName("COM5"), "/dev/null");
    EXPECT_EQ(PortDeviceName("COM6"), (dir / "gone").string());
    EXPECT_EQ(PortDeviceName("COM7"), "/dev/ttyS6");
    EXPECT_EQ(PortDeviceName("/dev/ttyAMA0"), "/dev/ttyAMA0");
    std::vector<int> listed;
    for (const auto& d : ListComDevices()) {
        listed.push_back(d.number);
        if (d.number == 5) {
            EXPECT_EQ(ComDeviceLabel(d), "COM5 (/dev/null)");
        }
    }
    EXPECT_NE(std::find(listed.begin(), listed.end(), 5), listed.end());
    EXPECT_EQ(std::find(listed.begin(), listed.end(), 6), listed.end());
    EXPECT_NE(std::find(listed.begin(), listed.end(), 200), listed.end());

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

TEST(PortNames, WhatTheDeviceTreeSaysAnAdapterIs) {
    // The kernel's tree as it stands for a USB adapter: the tty's device link leads into
    // the adapter's interface, two levels below the USB device with its strings.
    namespace fs = std::filesystem;
    char rootTemplate[] = "/tmp/vk-sysfs-XXXXXX";
    ASSERT_NE(mkdtemp(rootTemplate), nullptr);
    const fs::path root = rootTemplate;
    const fs::path usb = root / "devices/pci0000:00/usb1/1-2";
    fs::create_directories(usb / "1-2:1.0/ttyUSB0");
    fs::create_directories(root / "class/tty/ttyUSB0");
    fs::create_directories(root / "class/tty/ttyS0/device"); // a built-in UART
    fs::create_symlink(usb / "1-2:1.0/ttyUSB0", root / "class/tty/ttyUSB0/device");
    std::ofstream(usb / "idVendor") << "0403\n";
    std::ofstream(usb / "manufacturer") << "FTDI\n";
    // The strings are the adapter's own: control characters and overlong text are cut.
    std::ofstream(usb / "product") << "FT232R\tUSB UART\n";
    std::ofstream(usb / "serial") << std::string(300, 'S') << "\n";
    const std::string text = SystemDeviceDescription("/dev/ttyUSB0", root.string());
    EXPECT_EQ(text, "FTDI FT232R USB UART (serial " + std::string(128, 'S') + ")");
    EXPECT_EQ(SystemDeviceDescription("/dev/ttyS0", root.string()), "");
    EXPECT_EQ(SystemDeviceDescription("/dev/ttyUSB1", root.string()), "");
    EXPECT_EQ(SystemDeviceDescription("/tmp/ttyUSB0", root.string()), "");
    fs::remove_all(root);
}
