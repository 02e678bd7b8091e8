#include "legacy_tool/ini_file.h"

#include "legacy_tool/field_parsing.h"
#include "link/whole_file_write.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
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

namespace fs = std::filesystem;

bool Missing(const std::string& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type() == fs::file_type::not_found;
}

// The file's lines, each ended by CR LF.
std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    return text;
}

// Saves of earlier versions wrote beside the file under this one name and left it there
// when they did not finish.
void RemoveLeftover(const std::string& path) {
    std::error_code ec;
    fs::path file = fs::canonical(path, ec);
    if (ec)
        return;
    file += ".new";
    if (fs::is_regular_file(fs::symlink_status(file, ec)))
        fs::remove(file, ec);
}

bool WriteWhole(const std::string& path, const std::vector<std::string>& lines) {
    if (!ReplaceFileWhole(path, Joined(lines), nullptr))
        return false;
    RemoveLeftover(path);
    return true;
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {
    if (Missing(path_))
        return;
    std::optional<std::vector<std::string>> lines = ReadTextLines(path_);
    if (lines)
        lines_ = std::move(*lines);
    else
        unread_ = true;
}

bool IniFile::Exists() const {
    return !Missing(path_);
}

bool IniFile::CreateIfMissing(const std::vector<std::string>& lines) {
    if (Exists())
        return true;
    lines_ = lines;
    return WriteWhole(path_, lines_);
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
    return WriteWhole(path_, lines_);
}

} // namespace vk::legacy
