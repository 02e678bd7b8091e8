#pragma once
// What the "System:" bar lists about the connected sensor: its identity on the "Sensor"
// tab and its model's settings on the "Settings" tab. Each row names the command that
// changes its value, so the bar can run it on a double click or from its context menu.

#include "util_app/command_ids.h"

#include <optional>
#include <string>
#include <vector>

namespace vk {

class CVKT02Doc;

struct SensorInfoRow {
    std::string name;
    std::string value;
    std::optional<CommandId> command; // none: the row runs nothing
};

struct SensorInfoRows {
    std::vector<SensorInfoRow> sensor;
    std::vector<SensorInfoRow> settings;
};

// Both lists, or two empty lists when no model has been detected (no active settings
// dialog) or the document is not connected.
// "Sensor": "Serial number", "Model String:", "Firmware:", "FPGA version", "Address"
// (runs Address...) and "Sensor baudrate" (runs Boudrate...). "Settings": "Serial
// Number", then the active settings dialog's list, each of those rows running Sensor
// Settings.
SensorInfoRows CollectSensorInfo(const CVKT02Doc& doc);

} // namespace vk
