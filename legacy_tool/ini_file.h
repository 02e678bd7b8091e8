#pragma once
// A settings file in the classic INI form: "[Section]" lines and "Key=Value" lines, CR LF
// line ends. Sections and keys are found without regard to case; writing a key keeps
// every other line as it was.
//
// The file is read once, when the IniFile is made, into a copy in memory. Keys are read
// from and written to that copy; Save writes the copy whole to a new file beside the old
// one and renames it over the old one, so a crash or a full disk never leaves half a file.
//
// Only a regular file (or a link to one) is read. Anything else at the path (a pipe, a
// device, a folder, a link to nothing), a file that cannot be read, one larger than
// kMaxIniFileSize or with a line longer than kMaxIniLineLength is no settings file of
// ours: it is not read, so every key reads as its default, and it is never written
// over, so keys written while the program runs live in the copy only.

#include "legacy_tool/text_file.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vk::legacy {

inline constexpr std::size_t kMaxIniFileSize = kMaxTextFileSize;
inline constexpr std::size_t kMaxIniLineLength = kMaxTextLineLength;

class IniFile {
public:
    // Reads the file, if there is one.
    explicit IniFile(std::string path);

    const std::string& Path() const { return path_; }
    // Whether anything is at the path now.
    bool Exists() const;
    // Something was at the path when the IniFile was made but it was not read (see above).
    bool Unread() const { return unread_; }
    // Creates the file with `lines` (each ended by CR LF) unless something is at the
    // path; the copy then holds `lines`. False when it could not be written.
    bool CreateIfMissing(const std::vector<std::string>& lines);

    // The integer value of the key, `fallback` when the section or key is missing or the
    // value is not exactly one decimal integer.
    int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
    // Sets the key to a decimal integer, adding the section or key when missing.
    void WriteInteger(const std::string& section, const std::string& key, int value);
    // Writes the copy to the file. False, leaving the file as it is, when it was not read,
    // when it is read-only (no write permission for anyone, or refused by the system),
    // when the path no longer holds a regular file, or when writing failed.
    bool Save() const;

private:
    std::string path_;
    std::vector<std::string> lines_;
    bool unread_ = false; // the file exists but was not read: never written over
};

} // namespace vk::legacy
