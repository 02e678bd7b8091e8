#include "legacy_tool/address_list.h"

#include "legacy_tool/text_file.h"

#include <algorithm>

namespace vk::legacy {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

enum class Line { Blank, Address, Invalid };

// Looks at the line's leading number only; the rest of the line is no concern of ours.
Line ParseLine(const std::string& line, std::uint8_t& address) {
    std::size_t i = 0;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    if (i == line.size())
        return Line::Blank;
    const bool negative = line[i] == '-';
    if (line[i] == '+' || line[i] == '-')
        ++i;
    bool digits = false;
    unsigned value = 0;
    for (; i < line.size() && IsDigit(line[i]); ++i) {
        digits = true;
        // Held just above the largest address, however many digits follow.
        value = std::min(value * 10 + static_cast<unsigned>(line[i] - '0'), 256u);
    }
    if (!digits || negative || value < 1 || value > 255)
        return Line::Invalid;
    address = static_cast<std::uint8_t>(value);
    return Line::Address;
}

} // namespace

AddressList ReadAddressList(const std::vector<std::string>& lines) {
    AddressList list;
    std::uint8_t address = 0;
    for (const std::string& text : lines) {
        Line line = ParseLine(text, address);
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
    return list;
}

std::optional<AddressList> LoadAddressList(const std::string& path) {
    std::optional<std::vector<std::string>> lines = ReadTextLines(path);
    if (!lines)
        return std::nullopt;
    return ReadAddressList(*lines);
}

} // namespace vk::legacy
