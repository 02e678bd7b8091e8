#include "util_app/scan_buffer_fields.h"

#include "panels/number_text.h"

#include <cstdint>
#include <limits>
#include <optional>

namespace vk {

namespace {

// The integer in `text` when it lies from `low` to `high`; else the refusal.
std::optional<int> TakeInteger(std::string_view text, std::int64_t low, std::int64_t high,
                               std::string& refusal) {
    const std::optional<std::int64_t> value = WholeNumberText(text);
    if (!value || *value < std::numeric_limits<int>::min() ||
        *value > std::numeric_limits<int>::max()) {
        refusal = kNotAnIntegerRefusal;
        return std::nullopt;
    }
    if (*value < low || *value > high) {
        refusal = IntegerRangeRefusal(static_cast<int>(low), static_cast<int>(high));
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

} // namespace

std::string IntegerRangeRefusal(int low, int high) {
    return "Please enter an integer between " + std::to_string(low) + " and " +
           std::to_string(high) + ".";
}

ReadFields CheckReadFields(std::string_view rangesToRead, std::string_view startIndex,
                           int rangesAvailable) {
    ReadFields fields;
    const std::int64_t available = rangesAvailable;
    std::optional<int> count = TakeInteger(rangesToRead, 0, available + 1, fields.refusal);
    if (!count) {
        fields.bad = ReadFields::Bad::RangesToRead;
        return fields;
    }
    fields.rangesToRead = *count;
    std::optional<int> start = TakeInteger(startIndex, 0, available - *count + 1, fields.refusal);
    if (!start) {
        fields.bad = ReadFields::Bad::StartIndex;
        return fields;
    }
    fields.startIndex = *start;
    return fields;
}

bool ReadFits(const ReadFields& fields, int rangesAvailable) {
    return fields.bad == ReadFields::Bad::None &&
           std::int64_t{rangesAvailable} >= std::int64_t{fields.rangesToRead} + fields.startIndex;
}

} // namespace vk
