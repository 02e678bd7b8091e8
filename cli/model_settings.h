#pragma once
// The settings of each model by short kebab-case names, for vkctl's `settings` and
// `set`. A name stands for one field (or box) of the model's settings dialog and the
// button that writes it; a write runs as a technician would run it: the dialog's reload,
// the new value in that one field, the button (its check, refusal text, conversion and
// commands, shared with the dialog), then the reload that shows what the sensor kept.

#include "panels/settings_common.h"
#include "sensor/model_table.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk {
class SensorDevice;
}

namespace vk::cli {

// What a value must look like: what the dialog's control could hold.
enum class ValueShape {
    Number, // one decimal number
    Digits, // digits only (the dialog's digits-only fields)
    OnOff,  // "on" or "off"
    Mode,   // a row number of the mode box
    Order,  // one of the order box's items
};

struct SettingName {
    std::string name; // "threshold"
    std::string row;  // the settings-list row that shows it; empty when none does
    ValueShape shape = ValueShape::Number;
    std::string summary; // for `set --help`
};

// The names `set` takes for `type`, in the order of its dialog.
std::vector<SettingName> SettingNames(ModelType type);

// The setting called `name` for `type`; nothing when the model has none of that name.
std::optional<SettingName> FindSettingName(ModelType type, std::string_view name);

// Empty when `value` has the shape `setting` takes for `type`; else a one-line reason.
std::string ValueShapeProblem(const SettingName& setting, ModelType type, std::string_view value);

// The dialog's reload of `type`: its requests, then the rows the "System:" bar lists
// (name and text as the dialog shows them; the Vezir Orududu's blank separator row left
// out). Nothing when a request failed (the command logged it).
std::optional<SettingsRows> ReadSettingsRows(SensorDevice& sensor, ModelType type);

struct SetResult {
    enum class Outcome {
        ReadFailed,  // the reload before the write failed: nothing was written
        Refused,     // the dialog's check refused the value: nothing was sent
        WriteFailed, // a request of the write or of the reload after it failed
        Done,        // written and read back
    };
    Outcome outcome = Outcome::ReadFailed;
    std::string refusal;  // Refused: the dialog's warning text
    std::string readBack; // Done: the row's value after the reload ("" without a row)
};

// Writes `value` (of the right shape, see ValueShapeProblem) to `setting` of a sensor
// of `type` as its dialog would, reading the settings before and after.
SetResult ApplySetting(SensorDevice& sensor, ModelType type, const SettingName& setting,
                       const std::string& value);

} // namespace vk::cli
