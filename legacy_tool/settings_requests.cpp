#include "legacy_tool/settings_requests.h"

#include "legacy_tool/field_parsing.h"
#include "legacy_tool/sensor_modes.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace vk::legacy {

namespace {

constexpr std::int64_t kUnreadableInteger = 9999;
constexpr std::int64_t kUnreadableScanVariable = 999999;
constexpr double kUnreadableScaled = 20000.0;
constexpr double kUnreadableRange = 32001.0;
constexpr double kUnreadablePeriod = 4294967295.0;
constexpr double kLongestPeriod = 21474836.47;
constexpr std::int64_t kLongestTicks = 0x7FFFFFFF;
// Far beyond any field and still exact in a double: a product out there, infinite ones
// included, is held here and refused by the range checks like any other large value.
constexpr double kLargestWhole = 9007199254740992.0; // 2^53
constexpr std::size_t kSerialChars = 8;

template <typename T> Checked<T> Refuse(std::string message, Field field) {
    Checked<T> c;
    c.refusal = Refusal{std::move(message), field};
    return c;
}

// A product such as 0.9999 x 10000 lands a hair below the whole number the user meant;
// the decimal digits typed decide, not the binary rounding.
double Snapped(double v) {
    return std::round(v * 1e6) / 1e6;
}

// A whole number held in a double, as a 64-bit integer no farther from zero than
// kLargestWhole; nothing (NaN) counts as too large.
std::int64_t ClampedWhole(double whole) {
    if (std::isnan(whole))
        return static_cast<std::int64_t>(kLargestWhole);
    return static_cast<std::int64_t>(std::clamp(whole, -kLargestWhole, kLargestWhole));
}

std::int64_t CutTowardZero(double v) {
    return ClampedWhole(std::trunc(Snapped(v)));
}

// `text` x `factor` cut toward zero; `unreadable` when the text is no number.
std::int64_t Scaled(const std::string& text, double factor, double unreadable) {
    double v = ParseReal(text, std::nan(""));
    if (std::isnan(v))
        return static_cast<std::int64_t>(unreadable);
    return CutTowardZero(v * factor);
}

std::uint16_t Field16(std::int64_t v) {
    return static_cast<std::uint16_t>(v & 0xFFFF);
}

Checked<std::uint8_t> CheckByte(const std::string& text, std::int64_t high, const char* message,
                                Field field) {
    std::int64_t v = ParseInteger(text, kUnreadableInteger);
    if (v < 0 || v > high)
        return Refuse<std::uint8_t>(message, field);
    return {static_cast<std::uint8_t>(v), {}};
}

// A range value of `mode` between its two bounds (either order, as odd modes run
// negative).
bool RangeInBounds(double value, int mode) {
    const SensorModeRow& row = ModeRow(mode);
    double low = std::min(row.firstBound, row.secondBound);
    double high = std::max(row.firstBound, row.secondBound);
    return value >= low && value <= high;
}

std::string BoundsText(int mode) {
    const SensorModeRow& row = ModeRow(mode);
    return "(Valid Range: " + FormatRangeUnits(row.firstBound, mode) + "   to   " +
           FormatRangeUnits(row.secondBound, mode) + ")";
}

void AppendWords(Bytes& payload, std::initializer_list<std::int64_t> words, CheckMethod m) {
    for (std::int64_t w : words)
        AppendWord(payload, Field16(w), m);
}

} // namespace

Checked<std::uint8_t> CheckAddress(const std::string& text, Field field) {
    std::int64_t v = ParseInteger(text, kUnreadableInteger);
    if (v < 1 || v > 255)
        return Refuse<std::uint8_t>("Invalid Address Entered!\r\n(Valid values 1-255)", field);
    return {static_cast<std::uint8_t>(v), {}};
}

Checked<std::uint8_t> CheckMinPower(const std::string& text) {
    return CheckByte(text, 254, "Invalid Value Entered!\r\n(Valid values 0-254)", Field::MinPower);
}

Checked<std::uint8_t> CheckMaxPower(std::string& text) {
    if (text.empty())
        text = "0";
    // The message has always named 0-255, and a power limit of 255 fits the byte.
    return CheckByte(text, 255, "Invalid Value Entered!\r\n(Valid values 0-255)", Field::MaxPower);
}

Checked<std::uint8_t> CheckThreshold(const std::string& text) {
    return CheckByte(text, 255, "Invalid Value Entered!\r\n(Valid values 0-255)", Field::Threshold);
}

Checked<ScanWindow> CheckScanWindow(const std::string& startText, const std::string& countText) {
    // An empty or unreadable field would otherwise go out as whatever the parse left.
    std::int64_t start = ParseInteger(startText, -1);
    if (start < 0 || start > 0xFFFF)
        return Refuse<ScanWindow>("Invalid Start Index Entered!\r\n(Valid values 0-65535)",
                                  Field::StartIndex);
    std::int64_t count = ParseInteger(countText, -1);
    if (count < 0 || count > 0xFFFF)
        return Refuse<ScanWindow>("Invalid # Of Scans Entered!\r\n(Valid values 0-65535)",
                                  Field::ScanCount);
    return {{static_cast<std::uint16_t>(start), static_cast<std::uint16_t>(count)}, {}};
}

Checked<Bytes> CheckOffsets(const std::string& cosineText, const std::string& multiplierText,
                            const std::string& offsetText, int mode, CheckMethod method) {
    std::int64_t cosine = Scaled(cosineText, 10000.0, kUnreadableScaled);
    if (cosine > 10000 || cosine < 0)
        return Refuse<Bytes>("Invalid Cosine Entered!\r\n(Valid values 0.0000-1.0000)",
                             Field::Cosine);
    std::int64_t multiplier = Scaled(multiplierText, 1000.0, kUnreadableScaled);
    if (multiplier > 10000 || multiplier < 0)
        return Refuse<Bytes>("Invalid Multiplier Entered!\r\n(Valid values 0.000-10.000)",
                             Field::Multiplier);
    double offset = ParseReal(offsetText, kUnreadableRange);
    double limit = std::fabs(ModeRow(mode).secondBound);
    if (offset < -limit || offset > limit) {
        std::string l = FormatRangeUnits(limit, mode);
        return Refuse<Bytes>("Invalid Offset Entered!\r\n(Valid Range: -" + l + "   to   " + l +
                                 ")",
                             Field::RangeOffset);
    }
    Checked<Bytes> c;
    AppendWords(c.value, {CutTowardZero(offset * ModeRow(mode).scale), cosine, multiplier, 0},
                method);
    return c;
}

Checked<ScanVariables> CheckScanVariables(std::array<std::string, 4>& texts, CheckMethod method) {
    struct Rule {
        Field field;
        bool (*valid)(std::int64_t);
        const char* message;
    };
    static const Rule rules[4] = {
        {Field::Dropouts, [](std::int64_t v) { return v >= 1 && v <= 50; },
         "Invalid DropOut Factor Entered!\r\n(Valid values: 1 - 50 )"},
        {Field::Smooth, [](std::int64_t v) { return v >= 0 && v <= 100; },
         "Invalid Smooth Factor Entered!\r\n(Valid values: 0 - 100)"},
        {Field::Order, [](std::int64_t v) { return v >= 1 && v < 20 && v % 2 == 1; },
         "Invalid Order Factor Entered!\r\n(Valid values: 1 - 19(Odd Only))"},
        {Field::ScanInterval, [](std::int64_t v) { return v >= 1 && v <= 32000; },
         "Invalid Scan Interval Entered!\r\n(Valid values: 1 - 32000)"},
    };
    std::int64_t values[4];
    for (std::size_t i = 0; i < 4; ++i) {
        if (texts[i].empty())
            texts[i] = "0";
        values[i] = ParseInteger(texts[i], kUnreadableScanVariable);
        if (!rules[i].valid(values[i]))
            return Refuse<ScanVariables>(rules[i].message, rules[i].field);
    }
    Checked<ScanVariables> c;
    AppendWords(c.value.filterFactors, {values[0], values[1], values[2]}, method);
    AppendWords(c.value.scanInterval, {values[3]}, method);
    return c;
}

Checked<Bytes> CheckAnalog(const std::array<std::string, 6>& texts, int mode, CheckMethod method) {
    std::int64_t ranges[2];
    const char* rangeNames[2] = {"Invalid Min Range Entered!\r\n",
                                 "Invalid Max Range Entered!\r\n"};
    const Field rangeFields[2] = {Field::MinRange, Field::MaxRange};
    for (std::size_t i = 0; i < 2; ++i) {
        double v = ParseReal(texts[i], kUnreadableRange);
        if (!RangeInBounds(v, mode))
            return Refuse<Bytes>(rangeNames[i] + BoundsText(mode), rangeFields[i]);
        ranges[i] = CutTowardZero(v * ModeRow(mode).scale);
    }
    struct Volt {
        Field field;
        const char* message;
    };
    static const Volt volts[4] = {
        {Field::VoltsAtMin, "Invalid MinVolt value Entered!\r\n(Valid values 0.000-9.999)"},
        {Field::VoltsAtMax, "Invalid MaxVolt value Entered!\r\n(Valid values 0.000-9.999)"},
        {Field::VoltsOutside,
         "Invalid OutOfRange Voltage value Entered!\r\n(Valid values 0.000-9.999)"},
        {Field::OffsetVoltage,
         "Invalid analog Offset value Entered!\r\n(Valid values 0.000-9.999)"},
    };
    std::int64_t mv[4];
    for (std::size_t i = 0; i < 4; ++i) {
        mv[i] = Scaled(texts[2 + i], 1000.0, kUnreadableScaled);
        if (mv[i] >= 10000 || mv[i] < 0)
            return Refuse<Bytes>(volts[i].message, volts[i].field);
    }
    Checked<Bytes> c;
    // volts at min, min range, volts at max, max range, offset volts, volts outside
    AppendWords(c.value, {mv[0], ranges[0], mv[1], ranges[1], mv[3], mv[2]}, method);
    c.value.resize(c.value.size() + 8, 0);
    return c;
}

std::int64_t AveragingTicks(double period, const AveragingScale& scale) {
    std::int64_t ticks = ClampedWhole(std::nearbyint(Snapped(period * scale.divisor)));
    std::int64_t steps = ticks / scale.step;
    return std::max<std::int64_t>(steps, 1) * scale.step;
}

Checked<Bytes> CheckAveraging(std::string& text, const char* defaultText,
                              const AveragingScale& scale, std::uint16_t configWord,
                              CheckMethod method) {
    if (text.empty())
        text = defaultText;
    double period = ParseReal(text, kUnreadablePeriod);
    const char* message =
        "Invalid Average Interval Entered!\r\n(Valid values 0 - 21474836.47($7FFFFFFF)";
    if (period > kLongestPeriod)
        return Refuse<Bytes>(message, Field::AveragingPeriod);
    std::int64_t ticks = AveragingTicks(period, scale);
    // With the finer ticks of revision "C" a period below the limit can still need more
    // than 31 bits; cut to the field it would arrive as a different period.
    if (ticks > kLongestTicks)
        return Refuse<Bytes>(message, Field::AveragingPeriod);
    std::int64_t low = ticks & 0xFFFF;
    std::int64_t high = ticks >> 16;
    Checked<Bytes> c;
    AppendWords(c.value, {0, configWord, low, high, 0}, method);
    return c;
}

Bytes SerialPayload(const std::string& serial) {
    Bytes p(2 * kSerialChars, 0);
    for (std::size_t i = 0; i < serial.size() && i < kSerialChars; ++i)
        p[i] = static_cast<std::uint8_t>(serial[i]);
    return p;
}

Bytes AddressPayload(const std::string& serial, std::uint8_t newAddress) {
    Bytes p(kSerialChars + 1, 0);
    for (std::size_t i = 0; i < serial.size() && i < kSerialChars; ++i)
        p[i] = static_cast<std::uint8_t>(serial[i]);
    p[kSerialChars] = newAddress;
    return p;
}

} // namespace vk::legacy
