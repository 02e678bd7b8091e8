#pragma once
// What the profile remembers of the last connections (the values the connect writes
// under "Settings"), read back to find a sensor where it most likely is.

#include "sensor/line_search.h"

#include <optional>
#include <string>
#include <vector>

namespace vk {

class Profile;

// "COMn" of the port the last connection used; nothing when none is recorded.
std::optional<std::string> LastPortName(const Profile& profile);

// The speed and address last used on `port` ("COMn"), in both check methods (the profile
// does not keep the method); empty for a port without a COM number, without recorded
// values, or with values no sensor could have.
std::vector<LinePlace> LastPlaces(const Profile& profile, const std::string& port);

} // namespace vk
