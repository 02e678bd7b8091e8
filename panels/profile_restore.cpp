#include "panels/profile_restore.h"

#include "panels/number_text.h"
#include "sensor/model_table.h"
#include "util_app/range_modes.h"

#include <algorithm>
#include <map>

namespace vk {

const char* RestoreOutcomeName(RestoreOutcome outcome) {
    switch (outcome) {
    case RestoreOutcome::Unchanged:
        return "unchanged";
    case RestoreOutcome::Verified:
        return "verified";
    case RestoreOutcome::Refused:
        return "refused";
    case RestoreOutcome::Different:
        return "different";
    case RestoreOutcome::Unverified:
        return "unverified";
    case RestoreOutcome::WouldWrite:
        return "would write";
    case RestoreOutcome::NotInProfile:
        return "not in profile";
    case RestoreOutcome::Skipped:
        return "skipped";
    }
    return "";
}

bool RestoreReport::Clean() const {
    return failure.empty() && std::none_of(rows.begin(), rows.end(), [](const RestoreRow& r) {
               return r.outcome == RestoreOutcome::Refused ||
                      r.outcome == RestoreOutcome::Different ||
                      r.outcome == RestoreOutcome::Unverified;
           });
}

std::string ModelMismatch(const SensorProfile& profile, ModelType type) {
    if (profile.identity.modelType == type)
        return {};
    return "The profile is of a " + std::string(ModelDisplayName(profile.identity.modelType)) +
           "; this sensor is a " + ModelDisplayName(type) + ".";
}

namespace {

bool IsRangeUnit(const std::string& unit) {
    return unit == "inch" || unit == "mm" || unit == "m" || unit == "ft";
}

// The unit the profile's ranges are in: that of the range mode it names. A profile that
// names none (a model without a mode box, or one edited by hand) leaves the sensor in its
// mode, so its ranges are in the unit the sensor shows them in (`before`).
std::string ProfileRangeUnit(const SensorProfile& profile, ModelType type,
                             const SettingValue& before) {
    const SettingValue* mode = profile.Find("mode");
    if (!mode)
        return before.unit;
    return RangeUnit(GetRangeMode(type, static_cast<int>(TextAsInteger(mode->value))));
}

// Why the profile's `setting` cannot go to a sensor whose reading of it is `before`;
// empty when it can.
std::string ValueProblem(const SettingValue& setting, const SettingValue& before,
                         const SensorProfile& profile, ModelType type) {
    const std::optional<SettingName> name = FindSettingName(type, setting.name);
    if (const std::string shape =
            ValueShapeProblem(*name, type, setting.value, ValueOrigin::Reported);
        !shape.empty())
        return shape;
    // A sensor that shows the setting as no number ("Unknown version" before its firmware
    // revision is known) would take it in a unit nobody knows: 30 ms as 30 ticks.
    if (IsExactlyOneNumber(setting.value) && !before.unit.empty() &&
        !IsExactlyOneNumber(before.value))
        return setting.name + " cannot be converted while the sensor shows \"" + before.text + "\"";
    // A range in another unit than its mode's would be scaled wrongly by a factor of 25.4
    // or 10: the profile has been edited in one place and not the other.
    const std::string unit =
        IsRangeUnit(before.unit) ? ProfileRangeUnit(profile, type, before) : before.unit;
    if (!setting.unit.empty() && setting.unit != unit)
        return setting.name + " is in " + setting.unit + ", where the " +
               (profile.Find("mode") ? "profile's" : "sensor's") + " mode counts in " + unit;
    return {};
}

SettingValue WithValue(const SettingValue& setting, const SettingValue& before,
                       const SensorProfile& profile, ModelType type) {
    SettingValue s = setting;
    // A profile written by hand may leave the unit out: it is the one its mode implies.
    if (s.unit.empty())
        s.unit = IsRangeUnit(before.unit) ? ProfileRangeUnit(profile, type, before) : before.unit;
    return s;
}

} // namespace

RestoreReport RestoreSettings(SensorDevice& sensor, ModelType type, const SensorProfile& profile,
                              bool dryRun) {
    RestoreReport report;
    std::map<std::string, std::size_t> rowOf;
    std::map<std::string, SettingValue> wanted; // the profile's values, unit filled in
    const auto addRow = [&](RestoreRow row) {
        rowOf[row.name] = report.rows.size();
        report.rows.push_back(std::move(row));
    };

    const ChangeChooser choose = [&](const SettingValues& before) {
        std::vector<SettingChange> changes;
        // A range read in the sensor's mode may have the profile's text and still not its
        // value in the profile's mode (10 inch at 1000 counts per inch is 100 inch at 100):
        // after a mode change every range is written.
        const auto sensorMode = std::find_if(before.begin(), before.end(),
                                             [](const auto& s) { return s.name == "mode"; });
        const SettingValue* profileMode = profile.Find("mode");
        const bool modeChanges =
            sensorMode != before.end() && profileMode &&
            !SameSetting(WithValue(*profileMode, *sensorMode, profile, type), *sensorMode);
        for (const SettingValue& now : before) {
            const SettingValue* setting = profile.Find(now.name);
            if (!setting) {
                addRow({now.name, RestoreOutcome::NotInProfile, "(none)", SettingDisplay(now), {}});
                continue;
            }
            const SettingValue target = WithValue(*setting, now, profile, type);
            wanted[now.name] = target;
            RestoreRow row{now.name, RestoreOutcome::Unchanged, SettingDisplay(target),
                           SettingDisplay(now), ValueProblem(*setting, now, profile, type)};
            if (!row.note.empty()) {
                row.outcome = RestoreOutcome::Refused;
            } else if (!SameSetting(target, now) || (modeChanges && IsRangeUnit(now.unit))) {
                row.outcome = dryRun ? RestoreOutcome::WouldWrite : RestoreOutcome::Verified;
                changes.push_back({now.name, setting->value});
            }
            addRow(std::move(row));
        }
        for (const SettingValue& setting : profile.settings) {
            const bool known = std::any_of(before.begin(), before.end(),
                                           [&](const auto& s) { return s.name == setting.name; });
            if (!known)
                addRow({setting.name, RestoreOutcome::Refused, SettingDisplay(setting), "(none)",
                        "the " + std::string(ModelDisplayName(type)) + " has no setting " +
                            setting.name});
        }
        return changes;
    };

    const std::optional<SettingsWrite> written = WriteSettingValues(sensor, type, choose, dryRun);
    if (!written) {
        report.failure = "The sensor's settings could not be read; nothing was written.";
        return report;
    }
    for (const ChangeOutcome& change : written->outcomes) {
        RestoreRow& row = report.rows[rowOf[change.name]];
        if (!change.outcome.refusal.empty()) {
            row.outcome = RestoreOutcome::Refused;
            row.note = change.outcome.refusal;
        } else if (!dryRun && !change.notPressed.empty()) {
            row.outcome = RestoreOutcome::Unverified;
            row.note = "not written: " + change.notPressed;
        }
    }
    if (dryRun)
        return report;

    const std::optional<SettingValues> after = ReadSettingValues(sensor, type);
    if (!after) {
        report.failure = "The sensor's settings could not be read back.";
        for (RestoreRow& row : report.rows)
            if (row.outcome == RestoreOutcome::Verified)
                row.outcome = RestoreOutcome::Unverified;
        return report;
    }
    // Everything is compared, not only what was written: a button carries the other values
    // of its group, and a mode changes how the sensor shows its ranges.
    for (const SettingValue& now : *after) {
        const auto at = rowOf.find(now.name);
        const auto target = wanted.find(now.name);
        if (at == rowOf.end() || target == wanted.end())
            continue;
        RestoreRow& row = report.rows[at->second];
        row.sensor = SettingDisplay(now);
        // A refused or unpressed setting keeps its note, which says more than the values.
        const bool same = SameSetting(target->second, now);
        if (!same &&
            (row.outcome == RestoreOutcome::Verified || row.outcome == RestoreOutcome::Unchanged))
            row.outcome = RestoreOutcome::Different;
    }
    return report;
}

std::vector<std::string> RestoreProblems(const RestoreReport& report) {
    std::vector<std::string> lines;
    for (const RestoreRow& row : report.rows) {
        switch (row.outcome) {
        case RestoreOutcome::Refused:
            lines.push_back(row.name + ": " + row.note);
            break;
        case RestoreOutcome::Different:
            lines.push_back(row.name + ": written as " + row.profile + ", the sensor keeps " +
                            row.sensor);
            break;
        case RestoreOutcome::Unverified:
            lines.push_back(row.name + ": " + (row.note.empty() ? "not read back" : row.note));
            break;
        default:
            break;
        }
    }
    if (!report.failure.empty())
        lines.push_back(report.failure);
    return lines;
}

} // namespace vk
