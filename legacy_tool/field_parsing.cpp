#include "legacy_tool/field_parsing.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vk::legacy {

std::string Trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::int64_t ParseInteger(const std::string& text, std::int64_t fallback) {
    std::string t = Trimmed(text);
    if (!t.empty() && t[0] == '+')
        t.erase(0, 1);
    if (t.empty() || t[0] == '+')
        return fallback;
    std::int64_t v = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size() ||
        v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max())
        return fallback;
    return v;
}

double ParseReal(const std::string& text, double fallback) {
    std::string t = Trimmed(text);
    if (!t.empty() && t[0] == '+')
        t.erase(0, 1);
    if (t.empty() || t[0] == '+')
        return fallback;
    double v = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
    if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v))
        return fallback;
    return v;
}

} // namespace vk::legacy
