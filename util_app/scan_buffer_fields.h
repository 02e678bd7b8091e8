#pragma once
// The two fields of the scan buffer reader that say what to read, checked as the
// framework's data exchange checks integer fields, with its messages.

#include <string>
#include <string_view>

namespace vk {

inline constexpr const char* kNotAnIntegerRefusal = "Please enter an integer.";

// "Please enter an integer between <low> and <high>."
std::string IntegerRangeRefusal(int low, int high);

struct ReadFields {
    enum class Bad { None, RangesToRead, StartIndex };
    int rangesToRead = 0;
    int startIndex = 0;
    Bad bad = Bad::None; // the first field refused, which gets the focus
    std::string refusal; // its message; empty when both are good
};

// "Ranges to read:" must be an integer from 0 to `rangesAvailable` + 1, then "Start
// index:" one from 0 to `rangesAvailable` - ranges to read + 1. The first refusal ends
// the check.
ReadFields CheckReadFields(std::string_view rangesToRead, std::string_view startIndex,
                           int rangesAvailable);

// Whether a read of the checked fields fits in what is available; when it does not, Start
// does nothing (the bounds above let one range too many through).
bool ReadFits(const ReadFields& fields, int rangesAvailable);

} // namespace vk
