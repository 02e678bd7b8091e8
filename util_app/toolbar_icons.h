#pragma once
// Icons of the toolbar and the program: the desktop theme's where it has one, else a
// small picture of our own, so a bare system still shows distinct buttons.

#include "util_app/command_ids.h"

#include <QIcon>

namespace vk {

// The toolbar button icon of `id`.
QIcon ToolbarIcon(CommandId id);
// The program's own icon (window and About box).
QIcon ProgramIcon();

} // namespace vk
