#pragma once
// The model names a service technician can write into a sensor, and how a model name
// read from a sensor picks its row in the model list.

#include "legacy_tool/korvel_codec.h"

#include <string>
#include <vector>

namespace vk::legacy {

inline constexpr int kModelOther = 3; // the row that sends nothing
inline constexpr std::size_t kModelFieldSize = 16;

// "KR1-A-1", "KR2-BB-2", "KR3-CCC-3", "Other".
std::vector<std::string> ModelListTexts();
// The 16-byte model field of rows 0 to 2 (digit, space, model number, zero bytes);
// empty for "Other" and rows out of range.
Bytes ModelField(int row);
// The row whose detection key `modelText` contains ("CCC", then "BB", then "A");
// kModelOther when none.
int DetectModelRow(const std::string& modelText);

} // namespace vk::legacy
