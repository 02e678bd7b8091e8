#pragma once
// Reading the numbers typed into the tool's fields. A text that is not exactly one
// number gives the caller's default, which the checks then refuse.

#include <cstdint>
#include <string>

namespace vk::legacy {

// `text` without the spaces and tabs at either end.
std::string Trimmed(const std::string& text);
// A decimal integer with an optional sign, spaces around it allowed; `fallback` for
// anything else, including numbers beyond 32 bits.
std::int64_t ParseInteger(const std::string& text, std::int64_t fallback);
// A decimal number with an optional sign, "." as decimal point and an optional exponent;
// `fallback` for anything else.
double ParseReal(const std::string& text, double fallback);

} // namespace vk::legacy
