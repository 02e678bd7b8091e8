#include "legacy_tool/ini_file.h"

#include "legacy_tool/field_parsing.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
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

namespace fs = std::filesystem;

bool Missing(const std::string& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type() == fs::file_type::not_found;
}

// What a save writes to: the file itself, or the file a link at the path points to (the
// link stays). Nothing when the path holds anything but a regular file or nothing.
std::optional<fs::path> SaveTarget(const std::string& path) {
    std::error_code ec;
    if (Missing(path))
        return fs::path(path);
    if (!fs::is_regular_file(fs::status(path, ec)))
        return std::nullopt;
    fs::path target = fs::canonical(path, ec);
    if (ec)
        return std::nullopt;
    return target;
}

// A file nobody may write is left alone, even by a user whom the system would let
// replace it; opening to append changes nothing and tells what the system allows.
bool Writable(const fs::path& file) {
    std::error_code ec;
    fs::perms p = fs::status(file, ec).permissions();
    if (ec || (p & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) ==
                  fs::perms::none)
        return false;
    return static_cast<bool>(std::ofstream(file, std::ios::binary | std::ios::app));
}

// Writes `lines` to a new file beside `target` and renames it over `target`. The new
// file is made afresh ("x": it never opens what another program put there) and gets the
// old file's permissions.
bool WriteWhole(const fs::path& target, const std::vector<std::string>& lines) {
    std::error_code ec;
    bool replacing = fs::exists(target, ec);
    if (replacing && !Writable(target))
        return false;
    fs::path fresh = target;
    fresh += ".new";
    if (fs::is_regular_file(fs::symlink_status(fresh, ec)))
        fs::remove(fresh, ec); // left by a save that did not finish
    std::FILE* out = std::fopen(fresh.string().c_str(), "wbx");
    if (!out)
        return false;
    bool ok = true;
    for (const std::string& l : lines) {
        ok = ok && std::fwrite(l.data(), 1, l.size(), out) == l.size() &&
             std::fwrite("\r\n", 1, 2, out) == 2;
    }
    ok = std::fflush(out) == 0 && ok;
    ok = std::fclose(out) == 0 && ok;
    if (ok && replacing)
        fs::permissions(fresh, fs::status(target, ec).permissions(), ec);
    if (ok)
        fs::rename(fresh, target, ec);
    if (!ok || ec) {
        fs::remove(fresh, ec);
        return false;
    }
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
    std::optional<fs::path> target = SaveTarget(path_);
    return target && WriteWhole(*target, lines_);
}

} // namespace vk::legacy
