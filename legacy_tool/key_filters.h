#pragma once
// Which keys the tool's entry fields take. Keys are characters; backspace is 8 and
// Enter 13.

#include <string>

namespace vk::legacy {

enum class KeyFilter {
    Digits,     // integer fields: digits
    SerialText, // serial number: digits and upper-case letters
    Signed,     // ranges and range offset: digits, one ".", one "-" anywhere
    Unsigned,   // voltages, cosine, multiplier, period: digits and one "."
    AccessCode, // the About dialog's hidden field: digits, letters and "_"
    NoKeys,     // drop-down lists change only by choosing an entry
};

inline constexpr char32_t kKeyBackspace = 8;
inline constexpr char32_t kKeyEnter = 13;

// Whether `filter` lets `key` through into a field that holds `text`.
bool KeyAccepted(KeyFilter filter, char32_t key, const std::string& text);

} // namespace vk::legacy
