#pragma once
// The check behind the numeric entry field: is a text a number, and does it lie within
// the field's bounds. Kept apart from the widget so that it can be tested and reused.

#include <cfloat>
#include <string>
#include <string_view>

namespace vk {

// Bits of a check result; 0 means valid.
inline constexpr unsigned kNumberValid = 0;
inline constexpr unsigned kNumberOutOfRange = 1;
inline constexpr unsigned kNotANumber = 2;

// The field keeps its bounds as floats; by default no finite float is out of range.
struct NumericBounds {
    float lower = -FLT_MAX;
    float upper = FLT_MAX;
};

// The whole text must be one number (white space around it aside): anything else, an
// empty text included, gives kNotANumber. A number below `bounds.lower` or above
// `bounds.upper` adds kNumberOutOfRange.
unsigned CheckWholeText(std::string_view text, NumericBounds bounds);

// As CheckWholeText, but only the number at the start of the text counts: "12a" passes.
unsigned CheckLeadingNumber(std::string_view text, NumericBounds bounds);

// The message for a result that is not 0: "Given value is out of range.\n" for
// kNumberOutOfRange followed by "Characters must be a number.\n" for kNotANumber.
std::string NumericCheckMessage(unsigned result);

} // namespace vk
