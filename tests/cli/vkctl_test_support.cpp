#include "vkctl_test_support.h"

#include "cli/vkctl_commands.h"
#include "cli/vkctl_options.h"

#include <algorithm>
#include <cstdio>

namespace vk::cli::test {

namespace {

std::string ReadAll(std::FILE* f) {
    std::string text;
    std::rewind(f);
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, f))
        text.append(buffer, n);
    std::fclose(f);
    return text;
}

} // namespace

Outcome RunVkctl(const std::vector<std::string>& args) {
    VkctlOptions options;
    std::string error;
    if (!ParseVkctlArguments(args, &options, &error))
        return {kUsageError, "", error};
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    int status = FindCommand(options.command)->run(options, out, err);
    return {status, ReadAll(out), ReadAll(err)};
}

std::size_t Lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace vk::cli::test
