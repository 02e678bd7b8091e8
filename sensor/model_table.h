#pragma once
// The sensor models the utility knows, how a model-name reply maps to one, and the
// version texts shown for a sensor.

#include "sensor/records.h"
#include "sensor/sensor_text.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vk {

enum class ModelType : std::int32_t {
    VKT02 = 0,
    VKT04 = 1,
    RmxLong = 2,
    RmxShort = 3,
    VKT04VezirOrududu = 4,
};
inline constexpr std::size_t kModelTypeCount = 5;

// One row of the model-string table, laid out as the 32-byte record the sensors' tools
// have always used: type, one zero byte, the model string with its terminating zero.
struct ModelStringRecord {
    std::int32_t type;
    char separator;
    char modelString[27];
};
static_assert(sizeof(ModelStringRecord) == 32);

inline constexpr std::size_t kModelStringRows = 14;
// In the order they are compared; the first equal row wins.
extern const std::array<ModelStringRecord, kModelStringRows> ModelStringTable;

// What the connect says of a sensor whose model-name reply matches no row.
inline constexpr const char* kUnknownModelText =
    "Connected to the sensor, but the model name is unknown.";

// The model type of a model-name reply: exact, case-sensitive comparison of the text up
// to its first zero byte (all 16 bytes when there is none) with each row in order.
std::optional<ModelType> FindModelType(const SensorText& modelName);

class SettingsDialogLink;

// What the utility binds to a model type.
struct ModelEntry {
    ModelType type = ModelType::VKT02;
    std::string displayName;                      // "VKT02", "Rmx Long", ...
    SettingsDialogLink* settingsDialog = nullptr; // not owned; may be null
};

// The four settings dialogs the utility has; Rmx Long shares the VKT02's.
struct SettingsDialogs {
    SettingsDialogLink* vkt02 = nullptr;
    SettingsDialogLink* vkt04 = nullptr;
    SettingsDialogLink* rmxShort = nullptr;
    SettingsDialogLink* vezirOrududu = nullptr;
};

using ModelTable = std::array<ModelEntry, kModelTypeCount>;

// The five rows, indexed by model type.
ModelTable MakeModelTable(const SettingsDialogs& dialogs);

// Display name of a model type ("VKT02", ..., "VKT04 Vezir Orududu").
const char* ModelDisplayName(ModelType type);

// "%4.2f%c": firmware hundredths as a version and the revision letter; a zero letter
// ends the text after the number. 123 and 'C' give "1.23C".
std::string FirmwareVersionText(std::uint16_t hundredths, char revision);
// "%4.1f" of the FPGA version in tenths: 25 gives " 2.5".
std::string FpgaVersionText(std::uint8_t tenths);

} // namespace vk
