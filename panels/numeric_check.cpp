#include "panels/numeric_check.h"

#include "panels/number_text.h"

namespace vk {

namespace {

unsigned BoundsBits(double value, NumericBounds bounds) {
    return value < bounds.lower || value > bounds.upper ? kNumberOutOfRange : kNumberValid;
}

} // namespace

unsigned CheckWholeText(std::string_view text, NumericBounds bounds) {
    if (!IsExactlyOneNumber(text))
        return kNotANumber;
    return BoundsBits(TextAsNumber(text), bounds);
}

unsigned CheckLeadingNumber(std::string_view text, NumericBounds bounds) {
    const auto number = ScanLeadingNumber(text);
    if (!number)
        return kNotANumber;
    return BoundsBits(number->value, bounds);
}

std::string NumericCheckMessage(unsigned result) {
    std::string message;
    if (result & kNumberOutOfRange)
        message += "Given value is out of range.\n";
    if (result & kNotANumber)
        message += "Characters must be a number.\n";
    return message;
}

} // namespace vk
