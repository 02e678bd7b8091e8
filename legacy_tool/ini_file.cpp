#include "legacy_tool/ini_file.h"

#include "legacy_tool/field_parsing.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>

namespace vk::legacy {

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<std::string> SectionName(const std::string& line) {
    std::string t = Trimmed(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return std::nullopt;
    return Trimmed(t.substr(1, t.size() - 2));
}

bool KeyMatches(const std::string& line, const std::string& key, std::string* value) {
    std::size_t eq = line.find('=');
    if (eq == std::string::npos || !SameName(Trimmed(line.substr(0, eq)), key))
        return false;
    if (value)
        *value = Trimmed(line.substr(eq + 1));
    return true;
}

// The lines of the file without their line ends (CR LF or LF); nothing when the file
// cannot be read or holds more than kMaxIniFileSize bytes.
std::optional<std::vector<std::string>> ReadLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string content(kMaxIniFileSize + 1, '\0');
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    if (in.bad())
        return std::nullopt;
    content.resize(static_cast<std::size_t>(in.gcount()));
    if (content.size() > kMaxIniFileSize)
        return std::nullopt;
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

bool WriteLines(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const std::string& l : lines)
        out << l << "\r\n";
    out.flush();
    return static_cast<bool>(out);
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {
    if (!Exists())
        return;
    if (auto lines = ReadLines(path_))
        lines_ = std::move(*lines);
    else
        unread_ = true;
}

bool IniFile::Exists() const {
    std::error_code ec;
    return std::filesystem::is_regular_file(path_, ec);
}

bool IniFile::CreateIfMissing(const std::vector<std::string>& lines) {
    if (Exists())
        return true;
    lines_ = lines;
    unread_ = false;
    return WriteLines(path_, lines_);
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const {
    bool inSection = false;
    for (const std::string& line : lines_) {
        if (auto name = SectionName(line)) {
            inSection = SameName(*name, section);
            continue;
        }
        std::string value;
        if (!inSection || !KeyMatches(line, key, &value))
            continue;
        return static_cast<int>(ParseInteger(value, fallback));
    }
    return fallback;
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    std::string entry = key + "=" + std::to_string(value);
    std::optional<std::size_t> sectionAt, lastInSection;
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (auto name = SectionName(lines_[i])) {
            inSection = SameName(*name, section);
            if (inSection && !sectionAt)
                sectionAt = lastInSection = i;
            continue;
        }
        if (!inSection)
            continue;
        if (KeyMatches(lines_[i], key, nullptr)) {
            lines_[i] = entry;
            return;
        }
        if (!Trimmed(lines_[i]).empty())
            lastInSection = i;
    }
    if (!sectionAt) {
        lines_.push_back("[" + section + "]");
        lines_.push_back(entry);
    } else {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*lastInSection + 1), entry);
    }
}

bool IniFile::Save() const {
    if (unread_)
        return false;
    return WriteLines(path_, lines_);
}

} // namespace vk::legacy
