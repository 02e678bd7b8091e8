#pragma once
// Wall-clock time stamps in the user's local time, as the trace and the recorder write
// them. Callable from any thread.

#include <chrono>
#include <string>

namespace vk {

// "HH:MM:SS.mmm".
std::string LocalTimeOfDay(std::chrono::system_clock::time_point time);
// ISO 8601 local time with milliseconds: "YYYY-MM-DDTHH:MM:SS.mmm".
std::string LocalIsoTimestamp(std::chrono::system_clock::time_point time);

} // namespace vk
