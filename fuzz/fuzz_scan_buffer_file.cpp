// What the scan buffer reader makes of the texts a user types and the sensor sends before
// a save: the checks of "Ranges to read:" and "Start index:", and the block appended to
// the file, for any serial number and range texts.
//
// Input: the first byte scales the ranges available; the rest, split at line feeds, is
// the ranges-to-read text, the start-index text, the serial number and the range texts.
#include "fuzz/require.h"
#include "util_app/scan_buffer_fields.h"
#include "util_app/scan_buffer_file.h"

#include <string>
#include <string_view>
#include <vector>

using vk::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const int available = data[0] * 40 - 200; // -200 to 10000
    std::vector<std::string> parts(3);
    std::size_t part = 0;
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == '\n') {
            if (++part >= parts.size())
                parts.emplace_back();
            continue;
        }
        parts[part] += static_cast<char>(data[i]);
    }

    const vk::ReadFields f = vk::CheckReadFields(parts[0], parts[1], available);
    if (f.bad == vk::ReadFields::Bad::None) {
        Require(f.refusal.empty());
        Require(f.rangesToRead >= 0 && f.rangesToRead <= available + 1);
        Require(f.startIndex >= 0 && f.startIndex <= available - f.rangesToRead + 1);
        if (vk::ReadFits(f, available))
            Require(f.rangesToRead + f.startIndex <= available);
    } else {
        Require(!f.refusal.empty());
    }

    const std::vector<std::string> rows(parts.begin() + 3, parts.end());
    const std::string block = vk::ScanBufferBlock(parts[2], data[0], rows);
    Require(block.rfind("\nSensor: ", 0) == 0);
    const std::string sizeLine = "\nScan buffer: Size: " + std::to_string(rows.size()) + "\n";
    Require(block.find(sizeLine) != std::string::npos);
    // At most 8 serial characters and 63 of every row, with the fixed parts around them.
    Require(block.size() <= 64 + sizeLine.size() + rows.size() * (63 + 32));
    return 0;
}
