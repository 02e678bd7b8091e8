#include "util_app/range_modes.h"

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace vk {

namespace {

constexpr std::uint16_t kOutOfRangeRaw = 0x8000;

RangeMode Row(const char* description, double factor, const char* displayFormat,
              const char* plainFormat, double minimum, double maximum, bool isSigned) {
    return RangeMode{description, factor, displayFormat, plainFormat, minimum, maximum, isSigned};
}

// 0x8000 is the sensor's own "no target"; a mode that cannot go negative has no
// reading below zero either.
bool IsOutOfRange(const RangeMode& row, std::uint16_t raw) {
    return raw == kOutOfRangeRaw || (static_cast<std::int16_t>(raw) < 0 && !row.isSigned);
}

// The unit is what the display format adds after the plain one: "%#2.3f inch" -> "inch".
std::string UnitOf(const RangeMode& row) {
    const std::string& display = row.displayFormat;
    const std::string& plain = row.plainFormat;
    if (display.size() <= plain.size() || display.compare(0, plain.size(), plain) != 0)
        return {};
    const auto first = display.find_first_not_of(' ', plain.size());
    const auto last = display.find_last_not_of(' ');
    return first == std::string::npos ? std::string{} : display.substr(first, last - first + 1);
}

} // namespace

RangeModeTable::RangeModeTable() {
    // Each odd mode is the negative-direction twin of the even mode before it.
    table1_[0] =
        Row("0:  From 00.000 to  32.000 inch", 1000, "%#2.3f inch", "%#2.3f", 0, 32.0, false);
    table1_[1] = Row("1:  From 00.000 to -32.000", 1000, "%#2.3f inch", "%#2.3f", -32.0, 0, true);
    table1_[2] = Row("2:  From 0000.0 to 3200.0mm", 10, "%#2.1f mm", "%#2.1f", 0, 3200.0, false);
    table1_[3] = Row("3:  From 0000.0 to -3200.0mm", 10, "%#2.1f mm", "%#2.1f", -3200.0, 0, true);
    table1_[4] =
        Row("4:  From 000.00 to 320.00 inch", 100, "%#2.2f inch", "%#2.2f", 0, 320.0, false);
    table1_[5] =
        Row("5:  From 000.00 to -320.00 inch", 100, "%#2.2f inch", "%#2.2f", -320.0, 0, true);
    table1_[6] = Row("6:  From 00.000 to 32.000 m", 1000, "%#2.3f m", "%#2.3f", 0, 32.0, false);
    table1_[7] = Row("7:  From 00.000 to -32.000 m", 1000, "%#2.3f m", "%#2.3f", -32.0, 0, true);
    table1_[8] =
        Row("8:  From 0.0000 to 3.2000 inch", 10000, "%#2.4f inch", "%#2.4f", 0, 3.2, false);
    table1_[9] =
        Row("9:  From 0.0000 to -3.2000 inch", 10000, "%#2.4f inch", "%#2.4f", -3.2, 0, true);
    table1_[10] = Row("10:  From 000.00 to 320.00 mm", 100, "%#2.2f mm", "%#2.2f", 0, 320.0, false);
    table1_[11] =
        Row("11:  From 000.00 to -320.00 mm", 100, "%#2.2f mm", "%#2.2f", -320.0, 0, true);
    table1_[12] =
        Row("12:  From 000.00 to 266.00 ft ", 100, "%#2.2f ft", "%#2.2f", 0, 266.0, false);
    table1_[13] =
        Row("13:  From 000.00 to -266.00 ft ", 100, "%#2.2f ft", "%#2.2f", -266.0, 0, true);
    table1_[14] = Row("14:  From 000.00 to 320.00 m ", 100, "%#2.2f m", "%#2.2f", 0, 320.0, false);
    table1_[15] = Row("15:  From 000.00 to -320.00 m ", 100, "%#2.2f m", "%#2.2f", -320.0, 0, true);

    // Mode 1 takes negative readings although its interval starts at 0; the sensors have
    // always reported it that way.
    table2_[0] =
        Row("0:  From 00.000 to  8.000 inch", 1000, "%#2.3f inch", "%#2.3f", 0, 8.0, false);
    table2_[1] = Row("1:  From 00.00 to  200.00 mm", 100, "%#2.2f mm", "%#2.2f", 0, 200.0, true);

    table3_[0] =
        Row("1:  From 04.000 to  24.000 inch", 1000, "%#2.3f inch", "%#2.3f", 0, 30.0, false);

    fallback_ = Row("Invalid Mode", 1.0, "Unknown mode number", "Unknown mode number", 0, 0, false);
}

const RangeMode& RangeModeTable::Get(ModelType type, int mode) const {
    if (mode < 0 || mode >= kSlots)
        return fallback_;
    switch (type) {
    case ModelType::VKT02:
    case ModelType::RmxLong:
        return table1_[static_cast<std::size_t>(mode)];
    case ModelType::VKT04:
    case ModelType::VKT04VezirOrududu:
        return table2_[static_cast<std::size_t>(mode)];
    case ModelType::RmxShort:
        return mode == 0 ? table3_[0] : fallback_;
    }
    return fallback_; // a type number no model has
}

const RangeModeTable& RangeModes() {
    static const RangeModeTable table;
    return table;
}

const RangeMode& GetRangeMode(ModelType type, int mode) {
    return RangeModes().Get(type, mode);
}

int RangeModeInForce(ModelType type, const ReplyStore& replies) {
    switch (type) {
    case ModelType::VKT02:
    case ModelType::RmxLong:
        return replies.sensorSetup.rangeMode;
    case ModelType::VKT04:
    case ModelType::VKT04VezirOrududu:
        return replies.vkt04Setup.rangeMode;
    case ModelType::RmxShort:
        return 0;
    }
    return -1;
}

std::string FormatRange(ModelType type, int mode, std::uint16_t raw) {
    const RangeMode& row = GetRangeMode(type, mode);
    if (IsOutOfRange(row, raw))
        return "Out of Range";
    return FormatValue(row.displayFormat, static_cast<std::int16_t>(raw) / row.factor);
}

RangeReading ReadRange(ModelType type, int mode, std::uint16_t raw) {
    const RangeMode& row = GetRangeMode(type, mode);
    RangeReading reading;
    reading.unit = UnitOf(row);
    if (IsOutOfRange(row, raw) || row.plainFormat.find('%') == std::string::npos)
        return reading;
    reading.value = static_cast<std::int16_t>(raw) / row.factor;
    reading.text = FormatValue(row.plainFormat, *reading.value);
    return reading;
}

std::string FormatPlainRange(ModelType type, int mode, std::uint16_t raw) {
    const RangeMode& row = GetRangeMode(type, mode);
    if (IsOutOfRange(row, raw))
        return "Out of Range";
    return FormatValue(row.plainFormat, static_cast<std::int16_t>(raw) / row.factor);
}

std::string RangeUnit(const RangeMode& mode) {
    const std::string& display = mode.displayFormat;
    const std::string& plain = mode.plainFormat;
    if (plain.empty() || display.size() <= plain.size() + 1 ||
        display.compare(0, plain.size(), plain) != 0 || display[plain.size()] != ' ')
        return {};
    return display.substr(plain.size() + 1);
}

std::string FormatRange(ModelType type, const ReplyStore& replies, std::uint16_t raw) {
    return FormatRange(type, RangeModeInForce(type, replies), raw);
}

std::string FormatValue(const std::string& format, double value) {
    char text[256];
    // Only our own fixed formats come here, each with one double conversion at most.
    const int length = std::snprintf(text, sizeof text, format.c_str(), value);
    if (length < 0)
        return {};
    // A Qt program runs in the user's locale, where the point may be a comma; the texts
    // must read back through the locale-free parsers of the settings dialogs.
    const char* point = std::localeconv()->decimal_point;
    if (point == nullptr || *point == '\0' || std::strcmp(point, ".") == 0)
        return text;
    const std::string_view localPoint(point);
    const std::string_view formatted(text);
    std::string result;
    for (std::size_t at = 0; at < formatted.size();) {
        if (formatted.substr(at, localPoint.size()) == localPoint) {
            result += '.';
            at += localPoint.size();
        } else {
            result += formatted[at++];
        }
    }
    return result;
}

} // namespace vk
