#pragma once
// The port and baud rate the tool keeps in "SetupVk2.ini" between runs.

#include "legacy_tool/ini_file.h"

namespace vk::legacy {

struct HostSettings {
    int port = 1;
    int baud = 57600;
};

// The four lines a missing settings file is created with.
std::vector<std::string> DefaultSettingsLines();

// 9600, 19200, 38400, 57600 and 115200 are list positions 0 to 4; -1 for other rates.
int BaudPosition(int baud);
// The rate at list position 0 to 4; 0 for other positions.
int BaudAtPosition(int position);

// "Port" of [CommPort] (default 1) and "Baud" of [BaudRate] (default 57600).
HostSettings LoadHostSettings(const IniFile& file);
// Sets both and saves the file once; false when it was not written (see IniFile::Save).
// The settings read afterwards are these either way.
bool SaveHostSettings(IniFile& file, const HostSettings& settings);

} // namespace vk::legacy
