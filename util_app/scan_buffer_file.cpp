#include "util_app/scan_buffer_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vk {

namespace {

constexpr std::size_t kSerialCharacters = 8;
constexpr std::size_t kRangeTextCharacters = 63;

std::string_view UpToZero(std::string_view text, std::size_t limit) {
    text = text.substr(0, limit);
    return text.substr(0, text.find('\0'));
}

} // namespace

std::string ScanBufferBlock(std::string_view serial, int address,
                            const std::vector<std::string>& rangeTexts) {
    std::string block = "\nSensor: ";
    block += UpToZero(serial, kSerialCharacters);
    block += " \t Address: ";
    block += std::to_string(address);
    block += "\n\nScan buffer: Size: ";
    block += std::to_string(rangeTexts.size());
    block += '\n';
    for (std::size_t i = 0; i < rangeTexts.size(); ++i) {
        block += '#';
        block += std::to_string(i);
        block += ":\t\t";
        block += UpToZero(rangeTexts[i], kRangeTextCharacters);
        block += "\n";
    }
    return block;
}

bool AppendToTextFile(const std::string& path, const std::string& block, std::string* error) {
    std::FILE* file = std::fopen(path.c_str(), "a+");
    if (!file) {
        *error = "Cannot open \"" + path + "\" for appending: " + std::strerror(errno);
        return false;
    }
    const bool written =
        std::fwrite(block.data(), 1, block.size(), file) == block.size() && std::fflush(file) == 0;
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        *error = "Cannot write the scan buffer to \"" + path +
                 "\": " + std::strerror(written ? errno : writeErrno);
        return false;
    }
    return true;
}

} // namespace vk
