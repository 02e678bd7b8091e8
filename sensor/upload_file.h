#pragma once
// The three kinds of upload a sensor takes (FPGA image, DSP program, calibration table),
// the file sizes each usually has, and reading the file the user picked.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vk {

// In the order of the upload dialog's type list.
enum class UploadKind : int { Fpga = 0, Dsp = 1, Calibration = 2 };
inline constexpr int kUploadKindCount = 3;

struct UploadKindInfo {
    const char* listText;   // "FPGA", "DSP", "Calibration"
    const char* fileFilter; // for the open-file dialog, pattern included
    std::size_t usualMin;   // sizes outside [usualMin, usualMax] are asked about;
    std::size_t usualMax;   // 0 and 0: every size is usual
};

// The kind at `index` of the type list; nothing for an index outside it.
const UploadKindInfo* FindUploadKind(int index);
const UploadKindInfo& UploadKindDetails(UploadKind kind);

// Whether `size` is what files of `kind` measure (FPGA 20000 to 28000 bytes, DSP 64000
// to 66000, calibration any size).
bool UploadSizeUsual(UploadKind kind, std::size_t size);

// What the user is asked before a file of an unusual size goes out.
inline constexpr const char* kUnusualUploadSizeQuestion =
    "The file size is unusual for the type of upload you are trying to do. Continue anyway? ";

// Larger files are refused as unreadable: no sensor holds that much, and the whole file
// is kept in memory while it goes out.
inline constexpr std::size_t kMaxUploadFileBytes = std::size_t{16} << 20;

// Reads the whole file at `path` into `contents`. False, with `contents` emptied, when it
// is missing, not a regular file (a device or a pipe could block for ever), unreadable,
// empty, larger than kMaxUploadFileBytes, or shorter than it said while being read; then
// `reason`, when given, says which: "a folder", "not a regular file", "empty", "larger
// than 16 MiB (17000000 bytes)", or the system's text ("No such file or directory").
bool ReadUploadFile(const std::string& path, std::vector<std::uint8_t>* contents,
                    std::string* reason = nullptr);

} // namespace vk
