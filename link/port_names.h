#pragma once
// How "COMn" names a device here, shared by every program.
//   1. <port directory>/COMn, a symbolic link to the device, where the port directory is
//      $KORVEL_PORT_DIR, else ${XDG_CONFIG_HOME:-$HOME/.config}/Korvel/ports;
//   2. otherwise COM1-32 are /dev/ttyS0-31, COM33-64 /dev/ttyUSB0-31, COM65-96 /dev/ttyACM0-31.
// A name that is not "COM<number>" (a path such as /dev/ttyAMA0) is used as it is.
// On Windows "COMn" is always the system's own \\.\COMn; there is no port directory.

#include <optional>
#include <string>
#include <vector>

namespace vk {

// The folder where users and the simulator link COMn names to devices.
std::string PortDirectory();

// The COM number of "COMn" (n from 1; "com5" and "Com5" too, as on Windows), or nothing
// when the name has another form.
std::optional<int> ComNumber(const std::string& name);

// The device that `name` stands for (see above); "com5" stands for what COM5 does. On
// Windows "COMn" becomes "\\.\COMn".
std::string ResolvePortName(const std::string& name);

// The device a name stands for, as messages show it: a link in the port directory is
// followed to its target (also when that is gone), anything else is ResolvePortName's.
std::string PortDeviceName(const std::string& name);

// A port name as messages show it: a COM name followed by the device it stands for,
// "COM1 (/dev/ttyS0)"; any other name as it is.
std::string PortNameWithDevice(const std::string& name);

struct ComDevice {
    int number;              // n of COMn
    std::string device;      // the device it stands for (the target of a link)
    std::string description; // what the system says the device is; often empty
};

// Every COM number from 1 to `highest` whose device exists now, in number order. The
// default reaches every number the simulator and Windows give (255).
inline constexpr int kHighestComNumber = 255;
std::vector<ComDevice> ListComDevices(int highest = kHighestComNumber);

// Where ListComDevices looked, for a message that it found nothing: "no /dev/ttyS*, ...
// device and no link in <port directory>".
std::string NoComDeviceText();

// "COMn (device)" for a port list entry, followed by the description when there is one.
std::string ComDeviceLabel(const ComDevice& d);

// One text of what the system tells about a device: "FTDI FT232R USB UART (serial
// A50285BI)". The maker is left out when the product name starts with it; any part may be
// empty, all empty give "".
std::string DeviceDescriptionText(const std::string& manufacturer, const std::string& product,
                                  const std::string& serialNumber);

// The description of a USB serial adapter (maker, product, serial number) as the kernel's
// device tree under `sysRoot` tells it; "" for a device without one (a built-in UART, a
// pseudo-terminal) and where the system keeps no such tree.
std::string SystemDeviceDescription(const std::string& device, const std::string& sysRoot = "/sys");

} // namespace vk
