#include "panels/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace vk {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipSpace(std::string_view text, std::size_t at) {
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    return at;
}

std::size_t SkipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    return at;
}

// Length of the decimal number starting at `at` (sign, mantissa, exponent), 0 if none.
// An exponent without digits is not part of the number, as with strtod.
std::size_t NumberLength(std::string_view text, std::size_t at) {
    std::size_t p = at;
    if (p < text.size() && (text[p] == '+' || text[p] == '-'))
        ++p;
    const std::size_t intStart = p;
    p = SkipDigits(text, p);
    std::size_t digits = p - intStart;
    if (p < text.size() && text[p] == '.') {
        const std::size_t fracStart = p + 1;
        const std::size_t fracEnd = SkipDigits(text, fracStart);
        digits += fracEnd - fracStart;
        p = fracEnd;
    }
    if (digits == 0)
        return 0;
    if (p < text.size() && (text[p] == 'e' || text[p] == 'E')) {
        std::size_t q = p + 1;
        if (q < text.size() && (text[q] == '+' || text[q] == '-'))
            ++q;
        const std::size_t expEnd = SkipDigits(text, q);
        if (expEnd > q)
            p = expEnd;
    }
    return p - at;
}

// The value of a number too large or too small for a double: +-HUGE_VAL or +-0, told
// apart by the decimal order of magnitude of its first significant digit.
double OutOfRangeValue(std::string_view number) {
    const bool negative = number.front() == '-';
    const std::size_t exponentAt = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, exponentAt);
    std::int64_t order = 0; // digits before the point, less the zeros before the first digit
    bool pointSeen = false;
    bool significant = false;
    for (char c : mantissa) {
        if (c == '.') {
            pointSeen = true;
        } else if (IsDigit(c)) {
            significant = significant || c != '0';
            if (!pointSeen && significant)
                ++order;
            else if (pointSeen && !significant)
                --order;
        }
    }
    std::int64_t exponent = 0;
    if (exponentAt != std::string_view::npos) {
        std::string_view digits = number.substr(exponentAt + 1);
        const bool negativeExponent = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            digits.remove_prefix(1);
        for (char c : digits)
            exponent = std::min<std::int64_t>(exponent * 10 + (c - '0'), 1'000'000'000);
        if (negativeExponent)
            exponent = -exponent;
    }
    const double magnitude = order + exponent > 0 ? HUGE_VAL : 0.0;
    return negative ? -magnitude : magnitude;
}

} // namespace

std::optional<ScannedNumber> ScanLeadingNumber(std::string_view text) {
    const std::size_t start = SkipSpace(text, 0);
    const std::size_t length = NumberLength(text, start);
    if (length == 0)
        return std::nullopt;
    std::string_view number = text.substr(start, length);
    // from_chars takes no leading '+'.
    std::string_view unsigned_part = number.front() == '+' ? number.substr(1) : number;
    double value = 0.0;
    const auto [ptr, ec] =
        std::from_chars(unsigned_part.data(), unsigned_part.data() + unsigned_part.size(), value);
    if (ec == std::errc::result_out_of_range)
        value = OutOfRangeValue(number);
    else if (ec != std::errc{} || ptr != unsigned_part.data() + unsigned_part.size())
        return std::nullopt; // cannot happen for what NumberLength accepted
    return ScannedNumber{value, start + length};
}

bool IsExactlyOneNumber(std::string_view text) {
    const auto number = ScanLeadingNumber(text);
    return number && SkipSpace(text, number->end) == text.size();
}

double TextAsNumber(std::string_view text) {
    const auto number = ScanLeadingNumber(text);
    return number ? number->value : 0.0;
}

namespace {

// Sign and digits of the leading integer of `text`, empty digits when there is none.
struct IntegerText {
    bool negative = false;
    std::string_view digits;
};

IntegerText LeadingInteger(std::string_view text) {
    std::size_t p = SkipSpace(text, 0);
    IntegerText result;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        result.negative = text[p] == '-';
        ++p;
    }
    result.digits = text.substr(p, SkipDigits(text, p) - p);
    return result;
}

} // namespace

std::int64_t TextAsInteger(std::string_view text) {
    const IntegerText integer = LeadingInteger(text);
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t magnitude = 0;
    for (char c : integer.digits) {
        const int digit = c - '0';
        if (magnitude > (kMax - digit) / 10) {
            magnitude = kMax;
            break;
        }
        magnitude = magnitude * 10 + digit;
    }
    return integer.negative ? -magnitude : magnitude;
}

std::optional<std::int64_t> WholeNumberText(std::string_view text) {
    const IntegerText integer = LeadingInteger(text);
    const char* digitsEnd = integer.digits.data() + integer.digits.size();
    const std::size_t rest = static_cast<std::size_t>(digitsEnd - text.data());
    if (integer.digits.empty() || SkipSpace(text, rest) != text.size())
        return std::nullopt;
    std::uint64_t magnitude = 0;
    auto [end, ec] = std::from_chars(integer.digits.data(), digitsEnd, magnitude);
    constexpr std::uint64_t kMax = std::numeric_limits<std::int64_t>::max();
    if (ec != std::errc{} || end != digitsEnd || magnitude > kMax + (integer.negative ? 1 : 0))
        return std::nullopt;
    return integer.negative ? static_cast<std::int64_t>(0 - magnitude)
                            : static_cast<std::int64_t>(magnitude);
}

std::uint16_t TextAsLowWord(std::string_view text) {
    const IntegerText integer = LeadingInteger(text);
    std::uint32_t low = 0;
    for (char c : integer.digits)
        low = (low * 10 + static_cast<std::uint32_t>(c - '0')) & 0xFFFF;
    if (integer.negative)
        low = (0x10000 - low) & 0xFFFF;
    return static_cast<std::uint16_t>(low);
}

} // namespace vk
