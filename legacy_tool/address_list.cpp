#include "legacy_tool/address_list.h"

#include <string>

namespace vk::legacy {

namespace {

// Digits kept of one number: more than any address has, and enough that a run of digits
// too long for an address is seen as such.
constexpr std::size_t kDigitsKept = 8;

bool IsBlank(int c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

enum class Line { End, Blank, Address, Invalid };

// Reads one line, keeping only its leading number; the rest of the line is skipped.
Line ReadLine(std::istream& in, std::uint8_t& address) {
    int c = in.get();
    if (c == EOF)
        return Line::End;
    while (IsBlank(c))
        c = in.get();
    if (c == '\n' || c == EOF)
        return Line::Blank;
    bool negative = c == '-';
    if (c == '+' || c == '-')
        c = in.get();
    std::string digits;
    for (; IsDigit(c); c = in.get()) {
        if (digits.size() < kDigitsKept)
            digits.push_back(static_cast<char>(c));
    }
    while (c != '\n' && c != EOF)
        c = in.get();
    if (digits.empty() || negative)
        return Line::Invalid;
    unsigned long value = std::stoul(digits);
    if (value < 1 || value > 255)
        return Line::Invalid;
    address = static_cast<std::uint8_t>(value);
    return Line::Address;
}

} // namespace

AddressList ReadAddressList(std::istream& in) {
    AddressList list;
    std::uint8_t address = 0;
    for (;;) {
        Line line = ReadLine(in, address);
        if (line == Line::End)
            return list;
        if (line == Line::Blank)
            continue;
        // Past the last entry the list has room for, nothing more is looked at.
        if (list.addresses.size() == kMaxAddresses) {
            list.restIgnored = true;
            return list;
        }
        if (line == Line::Invalid) {
            list.addresses.clear();
            return list;
        }
        list.addresses.push_back(address);
    }
}

} // namespace vk::legacy
