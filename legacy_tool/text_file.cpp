#include "legacy_tool/text_file.h"

#include <filesystem>
#include <fstream>

namespace vk::legacy {

std::optional<std::vector<std::string>> ReadTextLines(const std::string& path) {
    // Only a regular file is opened: a pipe would block, a device never end.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::status(path, ec)))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::string> lines;
    std::string line;
    std::size_t total = 0;
    char chunk[4096];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        auto n = static_cast<std::size_t>(in.gcount());
        total += n;
        if (total > kMaxTextFileSize)
            return std::nullopt;
        for (std::size_t i = 0; i < n; ++i) {
            if (chunk[i] == '\n') {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                lines.push_back(std::move(line));
                line.clear();
            } else if (line.size() < kMaxTextLineLength + 1) { // and its CR
                line.push_back(chunk[i]);
            } else {
                return std::nullopt;
            }
        }
    }
    // The end of the file stops the loop with the fail bit set; only bad is a read error.
    if (in.bad())
        return std::nullopt;
    if (!line.empty()) {
        if (line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace vk::legacy
