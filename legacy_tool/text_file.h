#pragma once
// Small text files the tool reads whole: its settings file and the address lists a user
// picks. Either may be anything at all, so only a regular file (or a link to one) within
// the bounds below is read; the bounds hold while reading, so no more than they allow is
// ever in memory and a device that never ends cannot hold the program.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vk::legacy {

inline constexpr std::size_t kMaxTextFileSize = 1024 * 1024;
inline constexpr std::size_t kMaxTextLineLength = 4096; // without its line end

// The lines of the file at `path` without their line ends (CR LF or LF); a last line
// without one counts too. Nothing when the path holds anything but a regular file (a
// pipe, a device, a folder, a link to nothing), when the file cannot be opened or read,
// or when it is larger than kMaxTextFileSize or has a longer line than kMaxTextLineLength.
std::optional<std::vector<std::string>> ReadTextLines(const std::string& path);

} // namespace vk::legacy
