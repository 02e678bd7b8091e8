#pragma once
// Reading numbers out of the texts of entry fields. The settings dialogs have always
// read "%f"-style decimal numbers with "." as the point; these parsers do the same in any
// locale (a Qt program runs in the user's, where strtod would want a comma). Hexadecimal
// numbers, "inf" and "nan" are not numbers here: nobody types them into a settings field,
// and a non-finite value must never reach a conversion to a sensor word.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vk {

struct ScannedNumber {
    double value = 0.0;  // +-HUGE_VAL when the number is too large for a double
    std::size_t end = 0; // index just past the number
};

// The decimal number at the start of `text` after leading white space: an optional
// sign, digits with at most one point (at least one digit), an optional exponent.
// Nothing when the text does not start with one.
std::optional<ScannedNumber> ScanLeadingNumber(std::string_view text);

// True when `text` is one number and nothing else but white space around it.
bool IsExactlyOneNumber(std::string_view text);

// The leading number of `text`, or 0 when it has none: how a settings dialog reads a
// field as "a decimal number".
double TextAsNumber(std::string_view text);

// The leading decimal integer (optional sign, digits) of `text` after white space, or 0
// when it has none; saturated at the limits of int64 so that an endless row of digits
// still compares as too large. "12.7" reads as 12.
std::int64_t TextAsInteger(std::string_view text);

// `text` as one whole decimal number (optional sign, digits) with nothing but white space
// around it, as a dialog's integer field takes it; nothing for any other text, an empty
// one included, and for a number beyond the range of int64.
std::optional<std::int64_t> WholeNumberText(std::string_view text);

// The leading decimal integer of `text` taken modulo 2^16, exact however long it is: how
// a dialog reads "an unsigned decimal integer, low 16 bits". "-1" gives 0xFFFF; no
// number gives 0.
std::uint16_t TextAsLowWord(std::string_view text);

} // namespace vk
