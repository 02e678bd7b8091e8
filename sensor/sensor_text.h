#pragma once
// A 16-byte text as the sensor sends it (model name, serial number). The sensor pads
// with zero bytes but nothing forces it to: a full field has no terminating zero.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vk {

inline constexpr std::size_t kSensorTextSize = 16;

struct SensorText {
    std::array<char, kSensorTextSize> bytes{};

    // The text up to its first zero byte, at most 16 characters.
    std::string_view View() const;
    std::string Str() const { return std::string(View()); }
    // At most the first `count` characters of View().
    std::string Prefix(std::size_t count) const { return std::string(View().substr(0, count)); }
    // The field for `text`: at most 16 bytes copied, the rest zero.
    static SensorText From(std::string_view text);

    friend bool operator==(const SensorText&, const SensorText&) = default;
};

} // namespace vk
