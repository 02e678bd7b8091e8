#include "legacy_tool/ini_file.h"

#include "legacy_tool/field_parsing.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>

namespace vk::legacy {

namespace {

// Lines longer than this are not settings of ours; they are kept, never interpreted.
constexpr std::size_t kLongestLine = 4096;

std::string Trim(const std::string& s) {
    std::size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos)
        return {};
    std::size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<std::string> SectionName(const std::string& line) {
    std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return std::nullopt;
    return Trim(t.substr(1, t.size() - 2));
}

bool KeyMatches(const std::string& line, const std::string& key, std::string* value) {
    std::size_t eq = line.find('=');
    if (eq == std::string::npos || !SameName(Trim(line.substr(0, eq)), key))
        return false;
    if (value)
        *value = Trim(line.substr(eq + 1));
    return true;
}

bool WriteLines(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const std::string& l : lines)
        out << l << "\r\n";
    out.flush();
    return static_cast<bool>(out);
}

} // namespace

bool IniFile::Exists() const {
    std::error_code ec;
    return std::filesystem::is_regular_file(path_, ec);
}

bool IniFile::CreateIfMissing(const std::vector<std::string>& lines) const {
    if (Exists())
        return true;
    return WriteLines(path_, lines);
}

std::vector<std::string> IniFile::ReadLines() const {
    std::vector<std::string> lines;
    std::ifstream in(path_, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const {
    bool inSection = false;
    for (const std::string& line : ReadLines()) {
        if (line.size() > kLongestLine)
            continue;
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

bool IniFile::WriteInteger(const std::string& section, const std::string& key, int value) const {
    std::vector<std::string> lines = ReadLines();
    std::string entry = key + "=" + std::to_string(value);
    std::optional<std::size_t> sectionAt, lastInSection;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto name = SectionName(lines[i])) {
            inSection = SameName(*name, section);
            if (inSection && !sectionAt)
                sectionAt = lastInSection = i;
            continue;
        }
        if (!inSection)
            continue;
        if (KeyMatches(lines[i], key, nullptr)) {
            lines[i] = entry;
            return WriteLines(path_, lines);
        }
        if (!Trim(lines[i]).empty())
            lastInSection = i;
    }
    if (!sectionAt) {
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    } else {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*lastInSection + 1), entry);
    }
    return WriteLines(path_, lines);
}

} // namespace vk::legacy
