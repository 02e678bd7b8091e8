#pragma once
// The range modes of the sensor families: what a raw 16-bit range means in each mode
// (unit, scale, sign) and how it is shown. The descriptions and formats are the texts the
// users know from the sensors' manuals and are kept character for character, odd
// spacing included.

#include "sensor/model_table.h"
#include "sensor/reply_store.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vk {

struct RangeMode {
    std::string description;   // shown in mode selectors and the settings list
    double factor = 1.0;       // raw counts per unit: raw = value x factor
    std::string displayFormat; // printf format of one double, with the unit
    std::string plainFormat;   // the same without the unit, for entry fields
    double minimum = 0.0;      // lowest valid value in units
    double maximum = 0.0;      // highest valid value in units
    bool isSigned = false;     // false: a negative raw value is not a valid reading
};

// The three mode tables and the row for everything they do not cover. Built once and
// never changed. Slots without a mode hold empty texts, factor 1 (so a conversion never
// divides by zero), limits 0 to 0 and are not signed.
class RangeModeTable {
public:
    static constexpr int kSlots = 20;

    RangeModeTable();

    // The row for `mode` of the sensor family of `type`. Modes below 0 or from kSlots on,
    // a mode other than 0 for Rmx Short and a model type outside 0-4 give Fallback().
    const RangeMode& Get(ModelType type, int mode) const;
    // "Invalid Mode": factor 1, both formats "Unknown mode number", limits 0 to 0.
    const RangeMode& Fallback() const { return fallback_; }

private:
    std::array<RangeMode, kSlots> table1_; // VKT02, Rmx Long: modes 0-15
    std::array<RangeMode, kSlots> table2_; // VKT04, Vezir Orududu: modes 0-1
    std::array<RangeMode, 1> table3_;      // Rmx Short: mode 0
    RangeMode fallback_;
};

// The table the whole program uses.
const RangeModeTable& RangeModes();

// RangeModes().Get(type, mode).
const RangeMode& GetRangeMode(ModelType type, int mode);

// The mode the sensor is in, from its last setup reply: the VKT02 setup record for
// VKT02 and Rmx Long, the VKT04 setup record for VKT04 and Vezir Orududu, always 0 for
// Rmx Short. Another model type gives -1, which GetRangeMode maps to the fallback row.
int RangeModeInForce(ModelType type, const ReplyStore& replies);

// Display text of one raw range value in `mode` of the family of `type`: "Out of Range"
// for 0x8000 and for a negative value in a mode that is not signed, else the mode's
// display format applied to raw (as signed 16-bit) / factor. The fallback row shows
// every other value as "Unknown mode number", an empty slot as "".
std::string FormatRange(ModelType type, int mode, std::uint16_t raw);

// One raw range value as a number in its mode's unit, for plots and recorded files.
struct RangeReading {
    std::optional<double> value; // none: "Out of Range", or a mode that has no numbers
    std::string text;            // the value through the mode's plain format; "" for none
    std::string unit;            // the mode's unit ("inch", "mm", "m", "ft"); "" for none
};

// `raw` in `mode` of the family of `type`: no value wherever FormatRange shows
// "Out of Range" or a text without a number.
RangeReading ReadRange(ModelType type, int mode, std::uint16_t raw);

// As FormatRange, but in the mode's plain format: the number without its unit.
std::string FormatPlainRange(ModelType type, int mode, std::uint16_t raw);

// The unit the display format adds to the plain one ("inch", "mm"); empty when it adds
// none (the fallback row, an empty slot).
std::string RangeUnit(const RangeMode& mode);

// FormatRange in the mode RangeModeInForce reads from `replies`.
std::string FormatRange(ModelType type, const ReplyStore& replies, std::uint16_t raw);

// `value` through one of our own fixed printf formats that take a single double ("%2.3f",
// "%#2.3f inch", a mode's formats, the timing base's format; a text without a placeholder
// comes out as it is). Never pass a format that came from outside the program. The text
// is bounded to 255 characters and always uses "." as the decimal point, whatever the
// C locale says, so it reads back through our parsers unchanged.
std::string FormatValue(const std::string& format, double value);

} // namespace vk
