#pragma once
// The text block the scan buffer reader appends to the user's file at every save, and
// the appending itself.

#include <string>
#include <string_view>
#include <vector>

namespace vk {

// The block for a sensor with serial number `serial` (its first 8 characters count; the
// text is cut at a zero byte) at `address`, listing `rangeTexts` as rows numbered from 0:
//   "\nSensor: <serial> \t Address: <address>\n"
//   "\nScan buffer: Size: <rows>\n"
//   "#<i>:\t\t<text>\n" for every row, each text cut to 63 characters.
std::string ScanBufferBlock(std::string_view serial, int address,
                            const std::vector<std::string>& rangeTexts);

// Appends `block` to the file at `path` (made when missing) in text mode, so that every
// save adds to what the file holds. False with a sentence for the user in `error` when the
// file cannot be opened for appending or the block cannot be written whole.
bool AppendToTextFile(const std::string& path, const std::string& block, std::string* error);

} // namespace vk
