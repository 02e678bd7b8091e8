// The plain conversions and checks behind the Connect, address and baud-rate dialogs,
// the manufacturing switch and the command prompts.
#include "util_app/command_prompts.h"
#include "util_app/command_rules.h"
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
    // A server's port keeps no COM port's settings, whatever its host is called.
    EXPECT_EQ(ComPortNumber("COM12 (/dev/ttyUSB0)"), 12);
    EXPECT_EQ(ComPortNumber("tcp://COM5:4001"), -1);
    EXPECT_EQ(ComPortNumber("rfc2217://COM5:4001"), -1);
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
}

TEST(ConnectFields, PortListHasOneEntryPerNameFixedNamesFirst) {
    EXPECT_EQ(PortListEntries({{2, "/dev/ttyS1", "16550A"}, {12, "/dev/ttyUSB0", {}}}),
              (std::vector<std::string>{"COM1", "COM2 (/dev/ttyS1) 16550A", "COM3", "COM4",
                                        "COM12 (/dev/ttyUSB0)"}));
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

namespace vk {
namespace {

// The menu's enable and check rules, written out once more from the menu table so that a
// wrong rule cannot pass by agreeing with itself.
TEST(CommandRules, EveryItemFollowsTheMenuTable) {
    struct Row {
        CommandId id;
        // enabled when: disconnected, connected, connected in manufacturing mode
        bool off, on, factory;
    };
    const Row rows[] = {
        {CommandId::Connect, true, false, false},
        {CommandId::Disconnect, false, true, true},
        {CommandId::Exit, true, true, true},
        {CommandId::Address, false, true, true},
        {CommandId::Checksum, false, true, true},
        {CommandId::Crc, false, true, true},
        {CommandId::BaudRate, false, true, true},
        {CommandId::SensorSettings, false, true, true},
        {CommandId::SerialAndModel, false, false, true},
        {CommandId::Upload, false, false, true},
        {CommandId::ResetSensor, false, false, true},
        {CommandId::SetDefaults, false, true, true},
        {CommandId::ViewToolbar, true, true, true},
        {CommandId::ViewStatusBar, true, true, true},
        {CommandId::ViewSensorBar, true, true, true},
        {CommandId::ViewLogBar, true, true, true},
        {CommandId::ClearLog, true, true, true},
        {CommandId::About, true, true, true},
        {CommandId::ReloadSettings, false, true, true},
    };
    for (const Row& row : rows) {
        CommandContext off;
        CommandContext factoryOff;
        factoryOff.manufacturing = true;
        CommandContext on;
        on.connected = true;
        CommandContext factory = on;
        factory.manufacturing = true;
        const int id = static_cast<int>(row.id);
        EXPECT_EQ(CommandStateFor(row.id, off).enabled, row.off) << id;
        // Manufacturing mode alone enables nothing while disconnected.
        EXPECT_EQ(CommandStateFor(row.id, factoryOff).enabled, row.off) << id;
        EXPECT_EQ(CommandStateFor(row.id, on).enabled, row.on) << id;
        EXPECT_EQ(CommandStateFor(row.id, factory).enabled, row.factory) << id;
    }

    CommandContext c;
    c.connected = true;
    EXPECT_TRUE(CommandStateFor(CommandId::Checksum, c).checked);
    EXPECT_FALSE(CommandStateFor(CommandId::Crc, c).checked);
    c.method = CheckMethod::Crc16;
    EXPECT_FALSE(CommandStateFor(CommandId::Checksum, c).checked);
    EXPECT_TRUE(CommandStateFor(CommandId::Crc, c).checked);
    c.toolbarVisible = c.sensorBarVisible = false;
    EXPECT_FALSE(CommandStateFor(CommandId::ViewToolbar, c).checked);
    EXPECT_TRUE(CommandStateFor(CommandId::ViewStatusBar, c).checked);
    EXPECT_FALSE(CommandStateFor(CommandId::ViewSensorBar, c).checked);
    EXPECT_TRUE(CommandStateFor(CommandId::ViewLogBar, c).checked);
    for (CommandId never : {CommandId::Connect, CommandId::Disconnect, CommandId::SetDefaults,
                            CommandId::ClearLog, CommandId::About})
        EXPECT_FALSE(CommandStateFor(never, c).checked) << static_cast<int>(never);
}

} // namespace
} // namespace vk
