#pragma once
// Icons of the toolbar and the program: the desktop theme's where it has one, else a
// small picture of our own, so a bare system still shows distinct buttons.

#include "util_app/command_ids.h"

#include <QIcon>

namespace vk {

// Makes the desktop's icon theme the one icons come from, where the system names none
// (no desktop session): the first installed of the common themes. Call before the first
// icon is made.
void UseDesktopIconTheme();
// The toolbar button icon of `id`: the icon theme's picture, a letter tile where the
// theme has none.
QIcon ToolbarIcon(CommandId id);
// The program's own icon (window and About box).
QIcon ProgramIcon();

} // namespace vk
