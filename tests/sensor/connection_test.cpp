// The connection core where no sensor answers: profile values, a cancelled dialog, ports
// that cannot be opened and the hint for a sensor that does not answer.
#include "link/serial.h"
#include "sensor/connect_hint.h"
#include "sensor/sensor_connection.h"
#include "sensor_test_support.h"

#include <gtest/gtest.h>

namespace vk::test {
namespace {

struct Core {
    RecordingLog log;
    RecordingProfile profile;
    ScriptedHost host;
    SensorConnection connection{host, log, profile};
};

TEST(SensorConnectionCore, SaveConnectionSettingsWritesTheProfileValues) {
    Core core;
    core.connection.SaveConnectionSettings(38400, 3, 17, 150, 250);
    using Key = std::pair<std::string, std::string>;
    std::map<Key, std::int64_t> expected = {
        {{"Settings", "port name"}, 3},
        {{"Settings\\Communication timeouts", "read timeout"}, 150},
        {{"Settings\\Communication timeouts", "write timeout"}, 250},
        {{"Settings\\3", "address"}, 17},
        {{"Settings\\3", "boudrate"}, 38400},
    };
    EXPECT_EQ(core.profile.values, expected);

    // A device path has no COM number: no "Settings\\-1" section appears.
    Core path;
    path.connection.SaveConnectionSettings(9600, -1, 5, 100, 100);
    EXPECT_EQ(path.profile.values.size(), 2u);
    EXPECT_EQ(path.profile.values.count({"Settings", "port name"}), 0u);
}

TEST(SensorConnectionCore, CancelledDialogChangesNothing) {
    Core core;
    core.host.confirmConnect = false;
    EXPECT_FALSE(core.connection.Connect());
    EXPECT_TRUE(core.log.lines.empty());
    EXPECT_TRUE(core.profile.values.empty());
    EXPECT_EQ(core.host.notConnectedShown, 0);
    // The dialog was preset as the utility always presets it.
    EXPECT_EQ(core.host.connectPreset.portName, "COM1");
    EXPECT_EQ(core.host.connectPreset.baudRate, 57600);
    EXPECT_EQ(core.host.connectPreset.address, 1);
    EXPECT_EQ(core.host.connectPreset.readTimeoutMs, 100u);
    EXPECT_EQ(core.host.connectPreset.writeTimeoutMs, 100u);
}

TEST(SensorConnectionCore, PortsThatCannotOpenFailAndDisconnect) {
    Core core;
    for (auto [name, number] :
         {std::pair<const char*, int>{"USB1", -1}, {"/nonexistent/tty", -1}}) {
        core.log.lines.clear();
        core.host.connectAnswer.portName = name;
        core.host.connectAnswer.portNumber = number;
        EXPECT_FALSE(core.connection.Connect()) << name;
        // Which port failed and why, as the port layer says it, comes before the summary.
        CommError opening;
        EXPECT_EQ(sc_OpenName(name, &opening), kInvalidPortHandle);
        const std::vector<LogLine> expected = {
            {opening.text, LogIcon::Error},
            {"Cannot connect to the sensor...", LogIcon::Error},
            {"Disconnected...", LogIcon::Warning},
        };
        EXPECT_EQ(core.log.lines, expected) << name;
        EXPECT_FALSE(core.connection.Connected());
        EXPECT_FALSE(core.connection.Link().IsOpen());
        EXPECT_NE(std::string(core.connection.Link().ErrorText()), "") << name;
    }
    EXPECT_EQ(core.host.notConnectedShown, 2);
    EXPECT_TRUE(core.profile.values.empty()); // nothing is saved before the port opened
}

TEST(ConnectHint, NamesWhatWasTriedAndWhatToDo) {
    EXPECT_EQ(NoAnswerHint("COM33", "/dev/ttyUSB0", 57600, 1, std::nullopt, "use Find Sensors"),
              "hint: tried COM33 (/dev/ttyUSB0) at 57600 baud, address 1, with checksum and "
              "with CRC; no answer: check the cable and the sensor's power, or use Find Sensors");
    // A device path is named once; the global address and a single method say so.
    EXPECT_EQ(NoAnswerHint("/dev/ttyS0", "/dev/ttyS0", 9600, 0, CheckMethod::Crc16, ""),
              "hint: tried /dev/ttyS0 at 9600 baud, address 0 (every sensor), with CRC only; no "
              "answer: check the cable and the sensor's power");
}

} // namespace
} // namespace vk::test
