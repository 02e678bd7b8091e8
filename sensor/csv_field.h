#pragma once
// One field of a CSV line, as spreadsheets read it back.

#include <string>

namespace vk {

// `text` as it is when it holds no comma, quote or line end; else in double quotes, with
// each quote doubled.
std::string CsvField(const std::string& text);

} // namespace vk
