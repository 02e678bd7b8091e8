#pragma once
// Changing a connected sensor's address, speed or check method without the utility's
// dialogs, and proving that it answers at the new setting: the sequences are the
// connection's own (the address dialog's, the baud-rate dialog's, the check-method menu's),
// and after each the port is opened anew at the new setting, where the sensor must answer
// with the model string and serial number it had. A test station can then move a new
// sensor to its place on the line from a script and know it is there.

#include "link/frame.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

class SensorConnection;

struct LineSettings {
    std::uint8_t address = 1;
    std::int32_t speed = 57600;
    CheckMethod method = CheckMethod::Checksum;
};

// "checksum" or "crc", as the line settings are written everywhere.
std::string CheckMethodName(CheckMethod method);
// The method a CheckMethodName names; none for any other text.
std::optional<CheckMethod> CheckMethodNamed(std::string_view name);

// The line settings the connection talks to its sensor with now.
LineSettings CurrentLineSettings(const SensorConnection& connection);

// "address 7, 19200 baud, crc".
std::string LineSettingsText(const LineSettings& settings);

struct LineChangeStep {
    std::string name; // "address", "speed" or "check method"
    std::string from; // "1", "57600", "checksum"
    std::string to;
    bool answered = false; // the sensor answered at the new setting
};

struct LineChangeReport {
    // One step per setting that differed, in the order they were made (address, speed,
    // check method); the first whose sensor did not answer is the last.
    std::vector<LineChangeStep> steps;
    // Empty when every step was proven; otherwise one line that names the setting where
    // the sensor was expected and the one it answered at before, so it can be found again.
    std::string failure;
};

// Moves the sensor of `connection` (connected, with its serial number read) to `target`
// one setting at a time, each proven by reopening `portName` at the new setting before
// the next. Settings that are already as asked send nothing. A speed the sensors do not
// know, an address of 0 or an unknown serial number fail before anything is sent.
LineChangeReport ChangeLineSettings(SensorConnection& connection, const std::string& portName,
                                    const LineSettings& target);

} // namespace vk
