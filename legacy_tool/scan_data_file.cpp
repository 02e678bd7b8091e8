#include "legacy_tool/scan_data_file.h"

#include <algorithm>

namespace vk::legacy {

namespace {

constexpr const char* kLineEnd = "\r\n";

// Right-aligned in 8 characters; a wider number is written in full.
void Column(std::string& out, unsigned value) {
    std::string digits = std::to_string(value);
    if (digits.size() < 8)
        out.append(8 - digits.size(), ' ');
    out += digits;
}

template <typename T> T At(const std::vector<T>& v, std::size_t i) {
    return i < v.size() ? v[i] : T{};
}

} // namespace

std::string ScanDataBlock(const std::vector<std::uint8_t>& targets,
                          const std::vector<std::uint16_t>& scanCounts,
                          const std::vector<std::vector<std::uint16_t>>& values) {
    std::string out = "Sensor Address List :";
    out += kLineEnd;
    for (std::uint8_t address : targets)
        Column(out, address);
    out += kLineEnd;
    out += kLineEnd;
    out += "Total # of Scans reported by sensor(s) :";
    out += kLineEnd;
    for (std::size_t i = 0; i < targets.size(); ++i)
        Column(out, At(scanCounts, i));
    out += kLineEnd;
    out += kLineEnd;
    out += "Scan Buffer Data for sensor(s) : ";
    out += kLineEnd;
    std::size_t rows = 0;
    for (std::size_t i = 0; i < targets.size() && i < values.size(); ++i)
        rows = std::max(rows, values[i].size());
    for (std::size_t row = 0; row < rows; ++row) {
        for (std::size_t i = 0; i < targets.size(); ++i) {
            if (i < values.size() && row < values[i].size())
                Column(out, values[i][row]);
            else
                out.append(8, ' ');
        }
        out += kLineEnd;
    }
    out += kLineEnd;
    return out;
}

} // namespace vk::legacy
