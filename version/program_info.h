#pragma once
// What every program of the package answers to --version, and how the graphical tools
// answer --help and --version before the toolkit starts, so neither needs a display.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

// The package's version ("1.0.1"): the project's version in CMake.
const char* ProjectVersion();

// The --version text of `program`: "vkctl (Korvel sensor tools) 1.0.1" and a newline.
std::string VersionText(std::string_view program);

enum class ProgramInfoRequest { None, Help, Version };

// What `arguments` (the command line without the program name) ask of a graphical tool:
// Help for --help or -h, Version for --version, the first of them that appears; None
// for anything else, the hidden manufacturing switch and the toolkit's options included.
ProgramInfoRequest FindProgramInfoRequest(const std::vector<std::string>& arguments);

// Writes `help` or the version text of `program` to `out` when `arguments` ask for one
// and returns the exit status (0); nothing when the program should start as usual.
std::optional<int> AnswerProgramInfoRequest(std::string_view program, std::string_view help,
                                            const std::vector<std::string>& arguments,
                                            std::FILE* out);

} // namespace vk
