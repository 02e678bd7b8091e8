#pragma once
// The settings of each model by short kebab-case names, for vkctl's `settings` and `set`
// and for sensor profiles. A name stands for one field (or box) of the model's settings
// dialog and the button that writes it; a write runs as a technician would run it: the
// dialog's reload, the new value in its field, the button (its check, refusal text,
// conversion and commands, shared with the dialog), then the reload that shows what the
// sensor kept.

#include "panels/settings_common.h"
#include "sensor/model_table.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

class SensorDevice;

// What a value must look like: what the dialog's control could hold.
enum class ValueShape {
    Number, // one decimal number
    Digits, // digits only (the dialog's digits-only fields)
    Signed, // digits, a minus sign before them allowed (a field whose check reads a sign)
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

// Where a value comes from: typed by a person, who can only put into a field what the
// field lets through, or as a sensor reported it, which the dialog holds in its field and
// sends back as it is (a negative scan interval, an order factor the order box lacks).
enum class ValueOrigin { Typed, Reported };

// Empty when `value` has the shape `setting` takes for `type`; else a one-line reason.
std::string ValueShapeProblem(const SettingName& setting, ModelType type, std::string_view value,
                              ValueOrigin origin = ValueOrigin::Typed);

// The rows of the mode box of `type` (the range modes its dialog offers), row 0 first.
std::vector<std::string> ModeBoxRows(ModelType type);

// The dialog's reload of `type`: its requests, then the rows the "System:" bar lists
// (name and text as the dialog shows them; the Vezir Orududu's blank separator row left
// out). Nothing when a request failed (the command logged it).
std::optional<SettingsRows> ReadSettingsRows(SensorDevice& sensor, ModelType type);

// One setting as the sensor reported it.
struct SettingValue {
    std::string name; // the `set` name
    std::string row;  // the dialog's row that shows it
    std::string text; // the row's text, as the dialog shows it
    // What `set NAME VALUE` takes to write it back: the field's text, the mode box's row,
    // "on" or "off". A range offset finer than the dialog's three decimals (a mode of
    // 10000 counts per unit) keeps the sensor's last digit here.
    std::string value;
    // "inch", "mm", "m", "ft" (the unit of the sensor's range mode), "V", "ms", "mm/s";
    // empty for a count, a switch or a mode.
    std::string unit;
};
using SettingValues = std::vector<SettingValue>;

// The dialog's reload of `type`, then every setting the sensor reports, in the order of
// the dialog (a setting the sensor does not report, such as the Vezir Orududu's laser, is
// left out). Nothing when a request failed (the command logged it).
std::optional<SettingValues> ReadSettingValues(SensorDevice& sensor, ModelType type);

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

// Several settings at once, for restoring a profile.
struct SettingChange {
    std::string name;  // a name of SettingNames
    std::string value; // of the right shape
};
struct ChangeOutcome {
    std::string name;
    // What its button did: refused (nothing sent), sent (succeeded or not), or Nothing
    // when it was not pressed (see `notPressed`).
    WriteOutcome outcome;
    // Why the button was not pressed after a mode change: the reload after it failed, or
    // the sensor does not show the mode asked for. Empty otherwise.
    std::string notPressed;
};
struct SettingsWrite {
    SettingValues before;                // as read before anything was written
    std::vector<ChangeOutcome> outcomes; // one per change, in the order of the buttons
};
// Chooses the changes from the settings as read.
using ChangeChooser = std::function<std::vector<SettingChange>(const SettingValues& before)>;

// Reads the settings of `type` (the dialog's reload), lets `choose` pick the changes, puts
// each into its field and presses each button concerned once: the mode's first, followed
// by a reload so that the values expressed in the mode are converted in the new one, then
// the others in the order of the dialog (none when the reload failed or shows another
// mode: their values would be typed in a mode the sensor is not in). Settings that share a button
// (the VKT02's range offset, multiplier and cosine) go out together, with the sensor's own values
// for those not changed. With `checkOnly` nothing is sent after the read: the buttons run on a copy
// of `sensor` without line or log, so each outcome tells whether the dialog's check would
// refuse the value. Nothing when the first read failed (the command logged it).
std::optional<SettingsWrite> WriteSettingValues(SensorDevice& sensor, ModelType type,
                                                const ChangeChooser& choose, bool checkOnly);

} // namespace vk
