#pragma once
// How "COMn" names a device here, shared by every program.
//   1. <port directory>/COMn, a symbolic link to the device, where the port directory is
//      $KORVEL_PORT_DIR, else ${XDG_CONFIG_HOME:-$HOME/.config}/Korvel/ports;
//   2. otherwise COM1-32 are /dev/ttyS0-31, COM33-64 /dev/ttyUSB0-31, COM65-96 /dev/ttyACM0-31.
// A name that is not "COM<number>" (a path such as /dev/ttyAMA0) is used as it is.

#include <optional>
#include <string>
#include <vector>

namespace vk {

// The folder where users and the simulator link COMn names to devices.
std::string PortDirectory();

// The COM number of "COMn" (n from 1), or nothing when the name has another form.
std::optional<int> ComNumber(const std::string& name);

// The device that `name` stands for (see above). On Windows "COMn" becomes "\\.\COMn".
std::string ResolvePortName(const std::string& name);

struct ComDevice {
    int number;         // n of COMn
    std::string device; // the device it stands for (the target of a link)
};

// Every COM number from 1 to `highest` whose device exists now, in number order.
std::vector<ComDevice> ListComDevices(int highest = 96);

// "COMn (device)" for a port list entry.
std::string ComDeviceLabel(const ComDevice& d);

} // namespace vk
