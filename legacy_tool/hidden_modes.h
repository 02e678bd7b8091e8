#pragma once
// The service staff's hidden modes, unlocked by the code typed into the About dialog's
// hidden field: service mode enables the factory controls (serial number, model,
// upload); reset mode makes the next "Set To Defaults" purge the sensor as well.

#include <string>

namespace vk::legacy {

struct HiddenModes {
    bool service = false;
    bool reset = false;
};

// The modes for what was typed; the codes are compared exactly, case included.
HiddenModes ModesForCode(const std::string& entry);

} // namespace vk::legacy
