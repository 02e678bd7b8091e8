#pragma once
// The scan-buffer file ("Samples.txt"): every "Read Scan Buffer" appends one block of
// text with CR LF line ends, one column of 8 characters per target sensor:
//
//   Sensor Address List :
//          1       2
//
//   Total # of Scans reported by sensor(s) :
//          3       5
//
//   Scan Buffer Data for sensor(s) :
//        100     200
//                201        (a target with fewer values leaves its column blank)
//
// and one empty line at the end.

#include <cstdint>
#include <string>
#include <vector>

namespace vk::legacy {

// The block for `targets` in list order, with the scan count and the values read of each
// target at the same position (missing counts show as 0, missing values as blanks).
std::string ScanDataBlock(const std::vector<std::uint8_t>& targets,
                          const std::vector<std::uint16_t>& scanCounts,
                          const std::vector<std::vector<std::uint16_t>>& values);

} // namespace vk::legacy
