#pragma once
// The address list file of the multi-sensor scan: one decimal sensor address per line,
// anything after the number on its line ignored. The file is the user's, so it is read
// with bounds: a small regular text file, at most kMaxAddresses entries.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vk::legacy {

inline constexpr std::size_t kMaxAddresses = 32;

struct AddressList {
    // Empty when a line did not start with an address 1 to 255 (blank lines are passed
    // over): the list counts as not loaded then.
    std::vector<std::uint8_t> addresses;
    // The file went on with more lines after the first kMaxAddresses addresses.
    bool restIgnored = false;
};

// The addresses of `lines`, until their end or until kMaxAddresses were read. Leading
// zeros are no part of the value ("007" is 7).
AddressList ReadAddressList(const std::vector<std::string>& lines);
// The list in the file at `path`; nothing when it cannot be read (see ReadTextLines).
std::optional<AddressList> LoadAddressList(const std::string& path);

} // namespace vk::legacy
