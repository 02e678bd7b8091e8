#pragma once
// What the Connect, address and baud-rate dialogs turn their fields into, and how they
// check them; plain functions so they are checked without a window.

#include "link/port_names.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vk {

inline constexpr const char* kAddressRefusal = "Please enter an integer between 0 and 255.";
inline constexpr const char* kTimeoutRefusal = "Please enter a positive integer.";

// The number after the first "COM" of a port name, read like a decimal number ("COM3" 3,
// "COM12 (/dev/ttyUSB0)" 12; no digits there 0); -1 when the name holds no "COM" or the
// number does not fit an int.
int PortNumberFromName(const std::string& name);
// The COM number a port's settings are kept under: PortNumberFromName, but -1 for a
// server's port, whose name may hold "COM" ("tcp://COM5:4001") and still is no COM5.
int ComPortNumber(const std::string& name);
// The name a port entry opens as: "COMn" when it holds a COM number of 1 or more (the
// list entry "COM12 (/dev/ttyUSB0)" gives "COM12"), else the entry as it stands.
std::string PortNameOfEntry(const std::string& entry);

// The four baud rates of the lists, by index: 9600, 19200, 38400, 57600.
inline constexpr std::int32_t kBaudRates[] = {9600, 19200, 38400, 57600};
// Index of `rate` in the Connect dialog's list; rates outside it preset 57600 (3).
int ConnectBaudIndex(std::int32_t rate);
// Index of `rate` in the "Sensor boudrate" list; rates outside it preset 9600 (0).
int SensorBaudIndex(std::int32_t rate);
// The rate of a list index; anything outside 0-3 gives 9600.
std::int32_t BaudFromIndex(int index);

// The parity list in its order: "Even", "Mark", "No Parity", "Odd".
inline constexpr const char* kParityNames[] = {"Even", "Mark", "No Parity", "Odd"};
// Parity code (0 none, 1 odd, 2 even, 3 mark) of the list index; 0 when parity is off or
// the index is outside the list.
std::int32_t ParityCodeFromIndex(bool parityOn, int index);

// "1", "1.5", "2" are codes 0, 1, 2; anything else counts as one stop bit.
std::int32_t StopBitsFromIndex(int index);
// "8", "7", "6", "5", "4" by index; anything else 8.
std::int32_t DataBitsFromIndex(int index);

// The address typed into a field: an integer from 0 to 255 (blanks around it allowed);
// nothing for any other text.
std::optional<std::uint8_t> ParseAddress(const std::string& text);
// A time-out in ms: a whole number from 0 to 4294967295 (blanks around it allowed);
// nothing for any other text.
std::optional<std::uint32_t> ParseTimeout(const std::string& text);

// The Connect dialog's port list, one entry per COM name: "COM1" to "COM4", then
// "COMn (device)" for every other device `devices` names (in its order). A fixed name
// whose device exists reads "COMn (device)" in its own place.
std::vector<std::string> PortListEntries(const std::vector<ComDevice>& devices);

} // namespace vk
