#pragma once
// Where "SetupVk2.ini" lives: beside the program, or in ~/.config/Korvel when the program
// is installed (its folder cannot be written, or it is a bin folder without the file).

#include <QString>

namespace vk::legacy {

// The settings file path for a program in `programDir`; makes the fallback folder.
QString SettingsFilePath(const QString& programDir);

} // namespace vk::legacy
