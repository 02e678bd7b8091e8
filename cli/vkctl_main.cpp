// vkctl: the sensor command layer for scripts and test stations.
#include "cli/command_groups.h"
#include "cli/vkctl_commands.h"
#include "cli/vkctl_options.h"
#include "version/program_info.h"

#include <cstdio>

int main(int argc, char** argv) {
    using namespace vk::cli;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(VkctlUsage().c_str(), stdout);
        return kOk;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::fputs(vk::VersionText("vkctl").c_str(), stdout);
        return kOk;
    }
    VkctlOptions options;
    std::string error;
    if (!ParseVkctlArguments(args, &options, &error))
        return UsageError(stderr, error);
    return FindCommand(options.command)->run(options, stdout, stderr);
}
