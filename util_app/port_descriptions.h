#pragma once
// The port lists of both graphical tools: every COM number whose device exists, each with
// what the system says the device is, so a technician tells his USB adapter from the rest.

#include "link/port_names.h"

#include <vector>

namespace vk {

// ListComDevices(highest), each entry's description filled from Qt's serial port
// information (maker, product and serial number of a USB adapter; often nothing for a
// built-in port, never anything for a pseudo-terminal).
std::vector<ComDevice> DescribedComDevices(int highest = kHighestComNumber);

} // namespace vk
