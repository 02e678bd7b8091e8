#pragma once
// The little JSON we write: string literals and numbers. Texts from a sensor are
// untrusted bytes, not UTF-8: every byte from 0x80 up is taken as Latin-1 (as the
// utility shows them) and written as a \u escape, control bytes likewise, so the output
// is always valid JSON in plain ASCII whatever the sensor sent.

#include <string>
#include <string_view>

namespace vk {

// `text` as a JSON string literal, quotes included.
std::string JsonString(std::string_view text);

// Whether `text` is a number in JSON's own grammar ("-0.5", "12", "1e3"; not "007",
// "+1", ".5" or "1."), so it can go out unquoted.
bool IsJsonNumber(std::string_view text);

} // namespace vk
