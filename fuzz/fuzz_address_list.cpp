// The address list file of the multi-sensor scan as whatever file the fuzzer makes up.
#include "fuzz/require.h"
#include "legacy_tool/address_list.h"

#include <string>
#include <vector>

using vk::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vk::legacy;
    // The lines as the file reader hands them over (its bounds have a target of their
    // own, the settings file's).
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            lines.emplace_back();
        else
            lines.back().push_back(static_cast<char>(data[i]));
    }
    AddressList list = ReadAddressList(lines);
    Require(list.addresses.size() <= kMaxAddresses);
    Require(!list.restIgnored || list.addresses.size() == kMaxAddresses);
    for (std::uint8_t address : list.addresses)
        Require(address >= 1);
    return 0;
}
