// The address list file of the multi-sensor scan as whatever file the fuzzer makes up.
#include "fuzz/require.h"
#include "legacy_tool/address_list.h"

#include <sstream>
#include <string>

using vk::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vk::legacy;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    AddressList list = ReadAddressList(in);
    Require(list.addresses.size() <= kMaxAddresses);
    Require(!list.restIgnored || list.addresses.size() == kMaxAddresses);
    for (std::uint8_t address : list.addresses)
        Require(address >= 1);
    return 0;
}
