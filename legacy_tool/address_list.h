#pragma once
// The address list file of the multi-sensor scan: one decimal sensor address per line,
// anything after the number on its line ignored. The file is the user's, so it is read
// with bounds: at most kMaxAddresses entries, a line at a time.

#include <cstddef>
#include <cstdint>
#include <istream>
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

// Reads the addresses from `in` until its end or until kMaxAddresses were read.
AddressList ReadAddressList(std::istream& in);

} // namespace vk::legacy
