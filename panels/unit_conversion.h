#pragma once
// Engineering units typed into a settings dialog, turned into the 16-bit words a sensor
// keeps, and back.
//
// A product such as 1.001 x 1000 comes out of binary arithmetic as 1000.9999999999999;
// cut off as it is, every value the dialog shows would go back to the sensor one count
// lower whenever a button of its group is pressed, and keep drifting press after press.
// So a product within a few parts in 10^9 of a whole number counts as that whole number
// before it is truncated or floored; a fraction the user really typed (1.0015 V) is
// still cut off.

#include <cstdint>
#include <string>

namespace vk {

struct RangeMode;

// A product such as value x factor, snapped as above, then truncated toward zero.
double TruncateNearWhole(double product);

// A product, snapped as above, then rounded down.
double FloorNearWhole(double product);

// A whole number taken modulo 2^16 (a negative one as its two's complement word); a
// value that is not finite gives 0.
std::uint16_t WrapToWord(double whole);

// Volts as typed to the millivolt word: truncated toward zero, modulo 2^16.
std::uint16_t MillivoltWord(double volts);

// A range typed in the units of `mode` as the raw word a sensor keeps: value x factor,
// snapped and truncated toward zero, modulo 2^16.
std::uint16_t RangeWord(double value, const RangeMode& mode);

// A raw range (read signed or unsigned by the caller) in `mode`'s plain format of
// raw / factor: 12345 in a mode of factor 1000 gives "12.345".
std::string RangeText(double raw, const RangeMode& mode);

// "%d" of a word read as signed 16-bit: 0xFFFF gives "-1".
std::string SignedWordText(std::uint16_t word);

// A millivolt word (read as signed) as volts, "%3.3f": 1001 gives "1.001".
std::string VoltsText(std::uint16_t millivolts);

// A millivolt word read as unsigned, as volts "%3.3f": 0xFFFF gives "65.535".
std::string UnsignedVoltsText(std::uint16_t millivolts);

} // namespace vk
