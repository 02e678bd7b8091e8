// The plain conversions and checks behind the Connect, address and baud-rate dialogs,
// the manufacturing switch and the command prompts.
#include "util_app/command_prompts.h"
#include "util_app/connect_fields.h"
#include "util_app/manufacturing_switch.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

TEST(ConnectFields, PortNumberIsTheNumberAfterTheFirstCom) {
    EXPECT_EQ(PortNumberFromName("COM3"), 3);
    EXPECT_EQ(PortNumberFromName("COM12"), 12);
    EXPECT_EQ(PortNumberFromName("COM12 (/dev/ttyUSB0)"), 12);
    EXPECT_EQ(PortNumberFromName("COM33 (/dev/ttyUSB0)"), 33);
    EXPECT_EQ(PortNumberFromName("USB1"), -1);
    EXPECT_EQ(PortNumberFromName("/dev/ttyUSB0"), -1);
    EXPECT_EQ(PortNumberFromName("com3"), -1); // the comparison is case-sensitive
    EXPECT_EQ(PortNumberFromName("COM"), 0);   // no digits: no port answers to 0
    EXPECT_EQ(PortNumberFromName("COMx"), 0);
    EXPECT_EQ(PortNumberFromName("COM99999999999"), -1); // too big for any port
}

TEST(ConnectFields, BaudIndexesMapBothWays) {
    EXPECT_EQ(ConnectBaudIndex(9600), 0);
    EXPECT_EQ(ConnectBaudIndex(38400), 2);
    EXPECT_EQ(ConnectBaudIndex(57600), 3);
    EXPECT_EQ(ConnectBaudIndex(115200), 3); // the Connect dialog presets 57600
    EXPECT_EQ(SensorBaudIndex(57600), 3);
    EXPECT_EQ(SensorBaudIndex(19200), 1);
    EXPECT_EQ(SensorBaudIndex(115200), 0); // the sensor dialog presets 9600
    EXPECT_EQ(BaudFromIndex(1), 19200);
    EXPECT_EQ(BaudFromIndex(-1), 9600);
    EXPECT_EQ(BaudFromIndex(4), 9600);
}

TEST(ConnectFields, LineSettingsFromListIndexes) {
    // Even, Mark, No Parity, Odd.
    EXPECT_EQ(ParityCodeFromIndex(true, 0), 2);
    EXPECT_EQ(ParityCodeFromIndex(true, 1), 3);
    EXPECT_EQ(ParityCodeFromIndex(true, 2), 0);
    EXPECT_EQ(ParityCodeFromIndex(true, 3), 1);
    for (int index = 0; index < 4; ++index)
        EXPECT_EQ(ParityCodeFromIndex(false, index), 0);
    EXPECT_EQ(StopBitsFromIndex(1), 1);
    EXPECT_EQ(StopBitsFromIndex(2), 2);
    EXPECT_EQ(DataBitsFromIndex(0), 8);
    EXPECT_EQ(DataBitsFromIndex(4), 4);
    EXPECT_EQ(DataBitsFromIndex(5), 8);
}

TEST(ConnectFields, AddressAndTimeoutChecks) {
    EXPECT_EQ(ParseAddress("0"), 0);
    EXPECT_EQ(ParseAddress(" 255 "), 255);
    EXPECT_EQ(ParseAddress("300"), std::nullopt);
    EXPECT_EQ(ParseAddress("-1"), std::nullopt);
    EXPECT_EQ(ParseAddress(""), std::nullopt);
    EXPECT_EQ(ParseAddress("12a"), std::nullopt);
    EXPECT_EQ(ParseTimeout("100"), 100u);
    EXPECT_EQ(ParseTimeout("0"), 0u);
    EXPECT_EQ(ParseTimeout("4294967295"), 4294967295u);
    EXPECT_EQ(ParseTimeout("4294967296"), std::nullopt);
    EXPECT_EQ(ParseTimeout("abc"), std::nullopt);
    EXPECT_EQ(ParseTimeout("-5"), std::nullopt);
    EXPECT_EQ(LeadingNumber("42"), 42);
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("99999999999"), INT32_MAX);
}

TEST(ConnectFields, PortListHasTheFixedNamesThenTheDevices) {
    EXPECT_EQ(PortListEntries({{12, "/dev/ttyUSB0"}}),
              (std::vector<std::string>{"COM1", "COM2", "COM3", "COM4", "COM12 (/dev/ttyUSB0)"}));
}

TEST(ManufacturingSwitch, OnlyTheExactSwitchAlone) {
    EXPECT_TRUE(IsManufacturingSwitch({"-QXV"}));
    EXPECT_FALSE(IsManufacturingSwitch({}));
    EXPECT_FALSE(IsManufacturingSwitch({" -QXV"}));
    EXPECT_FALSE(IsManufacturingSwitch({"-QXV "}));
    EXPECT_FALSE(IsManufacturingSwitch({"-qxv"}));
    EXPECT_FALSE(IsManufacturingSwitch({"-QXV", "x"}));
    EXPECT_FALSE(IsManufacturingSwitch({"x", "-QXV"}));
    EXPECT_FALSE(IsManufacturingSwitch({std::string("-QXV\0", 5)}));
}

TEST(CommandPrompts, StatusTipBeforeTheNewlineToolTipAfterIt) {
    EXPECT_EQ(PromptFor(CommandId::Connect).statusTip, "Connect to sensor");
    EXPECT_EQ(PromptFor(CommandId::Connect).toolTip, "New");
    EXPECT_EQ(PromptFor(CommandId::BaudRate).statusTip, "Set sensor boudrate ");
    EXPECT_EQ(PromptFor(CommandId::BaudRate).toolTip, " Set sensor boudrate");
    EXPECT_EQ(PromptFor(CommandId::Checksum).toolTip,
              "Use  checksum to check serial communication packets integrity");
    EXPECT_EQ(PromptFor(CommandId::ReloadSettings).toolTip, "");
    EXPECT_EQ(SplitPrompt("only").statusTip, "only");
}

} // namespace
} // namespace vk
