#pragma once
// When a command is enabled and when its item carries a check mark.

#include "link/frame.h"
#include "util_app/command_ids.h"

namespace vk {

// What the rules look at; the frame gathers it before each update.
struct CommandContext {
    bool connected = false;
    bool manufacturing = false;
    CheckMethod method = CheckMethod::Checksum;
    bool toolbarVisible = true;
    bool statusBarVisible = true;
    bool sensorBarVisible = true;
    bool logBarVisible = true;
};

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

CommandState CommandStateFor(CommandId id, const CommandContext& context);

} // namespace vk
