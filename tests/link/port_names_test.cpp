// COM names and how port lists show a device, alike on every system.
#include "link/port_names.h"

#include <gtest/gtest.h>

using namespace vk;

TEST(PortNames, ComNumbersAndNonComNames) {
    EXPECT_EQ(ComNumber("COM1"), 1);
    EXPECT_EQ(ComNumber("COM12"), 12);
    EXPECT_FALSE(ComNumber("COM0"));
    EXPECT_FALSE(ComNumber("COM"));
    EXPECT_EQ(ComNumber("com3"), 3); // Windows port names ignore case
    EXPECT_EQ(ComNumber("Com12"), 12);
    EXPECT_FALSE(ComNumber("COM3x"));
    EXPECT_FALSE(ComNumber("USB1"));
    EXPECT_EQ(ResolvePortName("/dev/ttyAMA0"), "/dev/ttyAMA0");
}

TEST(PortNames, WhatAnAdapterIsAndHowAListShowsIt) {
    EXPECT_EQ(DeviceDescriptionText("FTDI", "FT232R USB UART", "A50285BI"),
              "FTDI FT232R USB UART (serial A50285BI)");
    EXPECT_EQ(DeviceDescriptionText("Prolific", "Prolific USB-Serial", ""), "Prolific USB-Serial");
    EXPECT_EQ(DeviceDescriptionText("", "", "42"), "(serial 42)");
    EXPECT_EQ(DeviceDescriptionText("", "", ""), "");

    EXPECT_EQ(ComDeviceLabel({33, "/dev/ttyUSB0", "FTDI FT232R USB UART (serial A50285BI)"}),
              "COM33 (/dev/ttyUSB0) FTDI FT232R USB UART (serial A50285BI)");
}
