// A sensor profile as whatever file the fuzzer makes up: read as the restore reads it,
// and what it accepts written again and read back the same.
#include "fuzz/require.h"
#include "panels/sensor_profile.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vk;
    const ProfileRead read =
        ParseProfile(std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz::Require(read.profile.has_value() != !read.error.empty());
    if (!read.profile)
        return 0;
    const ProfileRead again = ParseProfile(ProfileJson(*read.profile));
    fuzz::Require(again.profile.has_value());
    fuzz::Require(again.profile->settings.size() == read.profile->settings.size());
    for (std::size_t i = 0; i < read.profile->settings.size(); ++i)
        fuzz::Require(again.profile->settings[i].value == read.profile->settings[i].value);
    fuzz::Require(again.profile->identity.serial == read.profile->identity.serial);
    return 0;
}
