#pragma once
// The status-bar prompt and the tooltip of each command.

#include "util_app/command_ids.h"

#include <string>

namespace vk {

inline constexpr const char* kIdlePrompt = "Ready";

struct CommandPrompt {
    std::string statusTip; // shown in the status bar while the item is highlighted
    std::string toolTip;   // shown over the toolbar button
};

// Splits a prompt string at its first newline: the status tip before it, the tooltip
// after it (both kept exactly, blanks included). Without a newline all of it is the
// status tip.
CommandPrompt SplitPrompt(const std::string& prompt);

// The prompt of `id`; empty texts for a command without one.
CommandPrompt PromptFor(CommandId id);

} // namespace vk
