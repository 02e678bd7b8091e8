#include "legacy_tool/hidden_modes.h"

namespace vk::legacy {

namespace {
constexpr const char* kServiceCode = "qxz";
constexpr const char* kResetCode = "qxzpurge";
} // namespace

HiddenModes ModesForCode(const std::string& entry) {
    return {entry == kServiceCode, entry == kResetCode};
}

} // namespace vk::legacy
