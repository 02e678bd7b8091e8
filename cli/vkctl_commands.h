#pragma once
// vkctl's commands: one table, one row each. A command checks its own arguments before it
// touches the line, so a usage error never costs a connection.

#include <cstddef>
#include <cstdio>
#include <span>
#include <string>

namespace vk::cli {

class VkctlSession;
struct VkctlOptions;

// Exit status of a command.
enum VkctlStatus : int { kOk = 0, kSensorFailed = 1, kUsageError = 2 };

struct VkctlCommand {
    const char* name;
    const char* synopsis; // its arguments, for the usage text
    const char* summary;
    std::size_t argumentCount;
    // Runs the command; output to `out`, error and usage lines to `err`.
    VkctlStatus (*run)(const VkctlOptions& options, std::FILE* out, std::FILE* err);
    // Most arguments (its own options included); 0: exactly argumentCount.
    std::size_t maxArguments = 0;
};

std::span<const VkctlCommand> Commands();
const VkctlCommand* FindCommand(const std::string& name);

} // namespace vk::cli
