#pragma once
// The utility's command numbers. Menu items, toolbar buttons, status prompts and the
// rows of the "System:" bar all name a command by its number.

namespace vk {

enum class CommandId : int {
    Connect = 1012,
    FindSensors = 3010,
    Disconnect = 132,
    Exit = 57665,
    Address = 154,
    Checksum = 177,
    Crc = 178,
    BaudRate = 140,
    SensorSettings = 3004,
    SerialAndModel = 3008,
    Upload = 3005,
    ResetSensor = 3009,
    SetDefaults = 143,
    ViewToolbar = 59392,
    ViewStatusBar = 59393,
    ViewSensorBar = 136,
    ViewLogBar = 137,
    ClearLog = 157,
    About = 57664,
    ReloadSettings = 3007, // toolbar only
    Open = 57601,          // Ctrl+O only
};

} // namespace vk
