#pragma once
// Why a port may not be opened, put so that a user can act on it.

#include <string>

namespace vk {

// One hint line for a port that the system refused to open because of its permissions:
// the group that may use the device, and the command that makes the user a member (or,
// when the user joined it after logging in, that a new login is needed). "" when the
// permissions are not what stands in the way, or when they say nothing useful.
// `name` is a port name as ResolvePortName takes it.
std::string PortAccessHint(const std::string& name);

} // namespace vk
