#pragma once
// A settings file in the classic INI form: "[Section]" lines and "Key=Value" lines, CR LF
// line ends. Sections and keys are found without regard to case; writing a key keeps
// every other line as it was.

#include <string>
#include <vector>

namespace vk::legacy {

class IniFile {
public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }
    bool Exists() const;
    // Creates the file with `lines` (each ended by CR LF) unless it exists. False when
    // it cannot be written.
    bool CreateIfMissing(const std::vector<std::string>& lines) const;

    // The integer value of the key, `fallback` when the file, section or key is missing
    // or the value is not exactly one decimal integer.
    int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
    // Writes the key as a decimal integer, adding the section or key when missing.
    // False when the file cannot be written.
    bool WriteInteger(const std::string& section, const std::string& key, int value) const;

private:
    std::vector<std::string> ReadLines() const;
    std::string path_;
};

} // namespace vk::legacy
