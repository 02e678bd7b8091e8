#include "version/program_info.h"

#include "version/project_version.h"

namespace vk {

const char* ProjectVersion() {
    return VK_PROJECT_VERSION;
}

std::string VersionText(std::string_view program) {
    // The manual pages and scripts read the version from this "name (package) version" line.
    return std::string(program) + " (Korvel sensor tools) " + VK_PROJECT_VERSION + "\n";
}

ProgramInfoRequest FindProgramInfoRequest(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h")
            return ProgramInfoRequest::Help;
        if (argument == "--version")
            return ProgramInfoRequest::Version;
    }
    return ProgramInfoRequest::None;
}

std::optional<int> AnswerProgramInfoRequest(std::string_view program, std::string_view help,
                                            const std::vector<std::string>& arguments,
                                            std::FILE* out) {
    std::string text;
    switch (FindProgramInfoRequest(arguments)) {
    case ProgramInfoRequest::None:
        return std::nullopt;
    case ProgramInfoRequest::Help:
        text = help;
        break;
    case ProgramInfoRequest::Version:
        text = VersionText(program);
        break;
    }
    std::fwrite(text.data(), 1, text.size(), out);
    return std::fflush(out) == 0 ? 0 : 1;
}

} // namespace vk
