#pragma once
// A settings file in the classic INI form: "[Section]" lines and "Key=Value" lines, CR LF
// line ends. Sections and keys are found without regard to case; writing a key keeps
// every other line as it was.
//
// The file is read once, when the IniFile is made, into a copy in memory. Keys are read
// from and written to that copy; Save writes the copy back whole, in one go.
//
// A file larger than kMaxIniFileSize is no settings file of ours: it is not read, so
// every key reads as its default, and it is never written over, so keys written while
// the program runs live in the copy only. A file that exists but cannot be read is
// treated the same way.

#include <cstddef>
#include <string>
#include <vector>

namespace vk::legacy {

inline constexpr std::size_t kMaxIniFileSize = 64 * 1024;

class IniFile {
public:
    // Reads the file, if there is one.
    explicit IniFile(std::string path);

    const std::string& Path() const { return path_; }
    // Whether the file is there now.
    bool Exists() const;
    // Creates the file with `lines` (each ended by CR LF) unless it exists; the copy then
    // holds `lines`. False when it cannot be written.
    bool CreateIfMissing(const std::vector<std::string>& lines);

    // The integer value of the key, `fallback` when the section or key is missing or the
    // value is not exactly one decimal integer.
    int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
    // Sets the key to a decimal integer, adding the section or key when missing.
    void WriteInteger(const std::string& section, const std::string& key, int value);
    // Writes the copy to the file. False when it cannot be written, or when the file was
    // not read (too large or unreadable), which is then left as it is.
    bool Save() const;

private:
    std::string path_;
    std::vector<std::string> lines_;
    bool unread_ = false; // the file exists but was not read: never written over
};

} // namespace vk::legacy
