#pragma once
// What the "Upload" button sends: the kinds of upload, the image read from the user's
// file into a buffer of 65536 bytes, its XModem blocks, and how the sensor's answer to
// the upload command (given after it has erased its flash) is judged.

#include "legacy_tool/korvel_codec.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace vk::legacy {

inline constexpr std::size_t kImageBufferSize = 65536;

struct UploadKindRow {
    const char* listText;     // "DSP"
    std::uint8_t command;     // UploadCode
    int filterIndex;          // entry of the open dialog's filter, from 0
    const char* confirmation; // "Dsp Firmware upload?"
};
// The row of upload list position `position` (0 to 2; others give the first row).
const UploadKindRow& UploadKindAt(int position);

// The open dialog's filter entries: name and pattern.
struct FileFilter {
    const char* name;
    const char* pattern;
};
const std::vector<FileFilter>& UploadFileFilters();

struct UploadImage {
    enum class Problem { None, Unreadable, Empty, TooLarge };
    Problem problem = Problem::None;
    std::vector<std::uint8_t> buffer; // kImageBufferSize bytes: the file, then 0xFF
    std::size_t size = 0;             // bytes of the file
};
// Reads the file from `in`, never more than one byte beyond the buffer: a larger file is
// refused (TooLarge) whole.
UploadImage LoadUploadImage(std::istream& in);

// XModem blocks for `size` bytes: size / 128 rounded up.
std::size_t BlockCount(std::size_t size);
// j / blocks x 100 rounded to the nearest integer, ties to even.
int PercentDone(std::size_t block, std::size_t blocks);
// The frame of block `number` (from 1; its low 8 bits go on the line) with 128 data bytes.
Bytes XModemBlockFrame(std::size_t number, const std::uint8_t* data);

// The sensor's answer to the upload command, as far as it came: the reply buffer, the
// check field behind it, and whether the reply was valid.
struct EraseAnswer {
    bool valid = false;
    Bytes reply;
    Bytes check;
};
enum class EraseVerdict {
    Erased,  // the transfer may start
    Refused, // "Flash Erase Error!"
    Failed,  // reported with the last error
};
EraseVerdict JudgeEraseAnswer(const EraseAnswer& answer, std::uint8_t command);

} // namespace vk::legacy
