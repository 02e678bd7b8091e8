#include "cli/model_settings.h"

#include "panels/number_text.h"
#include "panels/rmx_short_settings.h"
#include "panels/vkt02_settings_writes.h"
#include "panels/vkt04_settings.h"
#include "panels/vkt04bf_settings.h"
#include "sensor/sensor_device.h"
#include "util_app/range_modes.h"

#include <algorithm>

namespace vk::cli {

namespace {

// One name: how its value goes into the dialog's values, and the button that writes them.
template <typename Settings> struct Entry {
    const char* name;
    const char* row;
    ValueShape shape;
    const char* summary;
    void (*apply)(Settings&, const std::string&);
    WriteOutcome (*write)(SensorDevice&, const Settings&, ModelType);
};

// A settings dialog: its entries, its reload and its "System:" list.
template <typename Settings> struct Family {
    std::vector<Entry<Settings>> entries;
    std::optional<Settings> (*read)(SensorDevice&, ModelType);
    void (*fill)(const Settings&, ModelType, std::vector<std::string>&, std::vector<std::string>&);
};

int ModeRow(const std::string& value) {
    return static_cast<int>(TextAsInteger(value));
}

// --- VKT02 and Rmx Long ---------------------------------------------------------------

using Vkt02 = Vkt02Settings;

template <std::string Vkt02SettingsTexts::*Field>
void SetVkt02Text(Vkt02& s, const std::string& v) {
    s.texts.*Field = v;
}

WriteOutcome Vkt02Mode(SensorDevice& d, const Vkt02& s, ModelType) {
    return WriteVkt02Mode(d, s);
}
WriteOutcome Vkt02Offset(SensorDevice& d, const Vkt02& s, ModelType t) {
    return WriteVkt02RangeOffset(d, s, t);
}
WriteOutcome Vkt02MinLp(SensorDevice& d, const Vkt02& s, ModelType) {
    return WriteVkt02MinLaserPower(d, s);
}
WriteOutcome Vkt02MaxLp(SensorDevice& d, const Vkt02& s, ModelType) {
    return WriteVkt02MaxLaserPower(d, s);
}
WriteOutcome Vkt02Laser(SensorDevice& d, const Vkt02& s, ModelType) {
    return WriteVkt02Laser(d, s);
}
WriteOutcome Vkt02Analog(SensorDevice& d, const Vkt02& s, ModelType t) {
    return WriteVkt02AnalogFactors(d, s, t);
}
WriteOutcome Vkt02Filter(SensorDevice& d, const Vkt02& s, ModelType) {
    return WriteVkt02FilterFactors(d, s);
}
WriteOutcome Vkt02Interval(SensorDevice& d, const Vkt02& s, ModelType) {
    return WriteVkt02ScanInterval(d, s);
}
WriteOutcome Vkt02Threshold(SensorDevice& d, const Vkt02& s, ModelType) {
    return WriteVkt02Threshold(d, s);
}
WriteOutcome Vkt02Averaging(SensorDevice& d, const Vkt02& s, ModelType) {
    // The reload before every write has just read the configuration record.
    return WriteVkt02AveragingPeriod(d, s, true);
}

const Family<Vkt02>& Vkt02Family() {
    using S = ValueShape;
    using T = Vkt02SettingsTexts;
    static const Family<Vkt02> family{
        {
            {"mode", "Mode", S::Mode, "range mode: row 0 to 15 of the mode list",
             [](Vkt02& s, const std::string& v) { s.modeNumber = ModeRow(v); }, Vkt02Mode},
            {"range-offset", "Range Offset", S::Number, "range offset in the range unit",
             SetVkt02Text<&T::rangeOffset>, Vkt02Offset},
            {"multiplier", "Multiplier", S::Number, "range multiplier",
             SetVkt02Text<&T::multiplier>, Vkt02Offset},
            {"cosine", "Cosine", S::Number, "cosine, 0 to 1", SetVkt02Text<&T::cosine>,
             Vkt02Offset},
            {"min-laser-power", "Min. Laser Power", S::Digits, "0 to 254",
             SetVkt02Text<&T::minLaserPower>, Vkt02MinLp},
            {"max-laser-power", "Max. Laser Power", S::Digits, "0 to 254",
             SetVkt02Text<&T::maxLaserPower>, Vkt02MaxLp},
            {"laser", "Laser", S::OnOff, "on or off",
             [](Vkt02& s, const std::string& v) { s.laserOn = v == "on"; }, Vkt02Laser},
            {"analog-min-range", "Min. Range", S::Number, "range at the minimum voltage",
             SetVkt02Text<&T::minRange>, Vkt02Analog},
            {"analog-max-range", "Max. Range", S::Number, "range at the maximum voltage",
             SetVkt02Text<&T::maxRange>, Vkt02Analog},
            {"analog-min-volts", "Min. Volts", S::Number, "volts at the minimum range",
             SetVkt02Text<&T::voltsAtMinRange>, Vkt02Analog},
            {"analog-max-volts", "Max. Volts", S::Number, "volts at the maximum range",
             SetVkt02Text<&T::voltsAtMaxRange>, Vkt02Analog},
            {"analog-offset-volts", "Offset", S::Number, "offset voltage",
             SetVkt02Text<&T::offsetVoltage>, Vkt02Analog},
            {"analog-out-of-range-volts", "Out of Range", S::Number, "volts outside the range",
             SetVkt02Text<&T::voltsOutOfRange>, Vkt02Analog},
            {"dropout", "Dropout", S::Digits, "scan filter dropout factor",
             SetVkt02Text<&T::dropout>, Vkt02Filter},
            {"smooth", "Smooth", S::Digits, "scan filter smooth factor", SetVkt02Text<&T::smooth>,
             Vkt02Filter},
            {"order", "Order", S::Order, "scan filter order factor: 1, 3, ... 19",
             [](Vkt02& s, const std::string& v) {
                 s.order = static_cast<std::uint16_t>(TextAsInteger(v));
             },
             Vkt02Filter},
            {"scan-interval", "Scan Interval", S::Digits, "scan interval (0.6 x)",
             SetVkt02Text<&T::scanInterval>, Vkt02Interval},
            {"threshold", "Threshold", S::Digits, "detection threshold, 0 to 255",
             SetVkt02Text<&T::threshold>, Vkt02Threshold},
            {"averaging-period", "Averaging Period(ms)", S::Number, "averaging period in ms",
             SetVkt02Text<&T::averagingPeriod>, Vkt02Averaging},
        },
        ReadVkt02Settings,
        [](const Vkt02& s, ModelType t, std::vector<std::string>& n, std::vector<std::string>& v) {
            FillVkt02SettingsList(s, t, n, v);
        }};
    return family;
}

// --- the VKT04 family -----------------------------------------------------------------

Vkt04FamilyTexts& FamilyTexts(Vkt04FamilyTexts& s) {
    return s;
}
const Vkt04FamilyTexts& FamilyTexts(const Vkt04FamilyTexts& s) {
    return s;
}
template <typename Settings> Vkt04FamilyTexts& FamilyTexts(Settings& s) {
    return s.texts;
}
template <typename Settings> const Vkt04FamilyTexts& FamilyTexts(const Settings& s) {
    return s.texts;
}

// The mode the dialog converts ranges in: its mode box's, or row 0 for a model without one.
const RangeMode& BoxMode(const Vkt04FamilyTexts&, ModelType type) {
    return GetRangeMode(type, 0);
}
template <typename Settings> const RangeMode& BoxMode(const Settings& s, ModelType type) {
    return GetRangeMode(type, s.modeNumber);
}

const Vkt04FamilyRules& RulesOf(ModelType type) {
    switch (type) {
    case ModelType::RmxShort:
        return kRmxShortRules;
    case ModelType::VKT04VezirOrududu:
        return kVezirOrududuRules;
    default:
        return kVkt04Rules;
    }
}

template <typename Settings, std::string Vkt04FamilyTexts::*Field>
void SetFamilyText(Settings& s, const std::string& v) {
    FamilyTexts(s).*Field = v;
}

using TextWrite = WriteOutcome (*)(SensorDevice&, std::string_view, const Vkt04FamilyRules&);
template <typename Settings, std::string Vkt04FamilyTexts::*Field, TextWrite Write>
WriteOutcome FamilyTextWrite(SensorDevice& d, const Settings& s, ModelType t) {
    return Write(d, FamilyTexts(s).*Field, RulesOf(t));
}

template <typename Settings, std::string Vkt04FamilyTexts::*Field, AnalogOutputValue Value>
WriteOutcome FamilyAnalogWrite(SensorDevice& d, const Settings& s, ModelType t) {
    return WriteAnalogOutputValue(d, Value, FamilyTexts(s).*Field, BoxMode(s, t), RulesOf(t));
}

template <typename Settings> std::vector<Entry<Settings>> SharedEntries() {
    using S = ValueShape;
    using T = Vkt04FamilyTexts;
    using V = AnalogOutputValue;
    return {
        {"min-laser-power", "Min. Laser Power", S::Digits, "0 to 254",
         SetFamilyText<Settings, &T::minLaserPower>,
         FamilyTextWrite<Settings, &T::minLaserPower, WriteMinLaserPower>},
        {"max-laser-power", "Max. Laser Power", S::Digits, "0 to 254",
         SetFamilyText<Settings, &T::maxLaserPower>,
         FamilyTextWrite<Settings, &T::maxLaserPower, WriteMaxLaserPower>},
        {"threshold", "Threshold", S::Digits, "detection threshold, 0 to 255",
         SetFamilyText<Settings, &T::threshold>,
         FamilyTextWrite<Settings, &T::threshold, WriteThreshold>},
        {"analog-min-range", "Min. Range", S::Number, "range at the minimum voltage",
         SetFamilyText<Settings, &T::minRange>,
         FamilyAnalogWrite<Settings, &T::minRange, V::MinRange>},
        {"analog-max-range", "Max. Range", S::Number, "range at the maximum voltage",
         SetFamilyText<Settings, &T::maxRange>,
         FamilyAnalogWrite<Settings, &T::maxRange, V::MaxRange>},
        {"analog-min-volts", "Min. Volts", S::Number, "volts at the minimum range",
         SetFamilyText<Settings, &T::voltsAtMinRange>,
         FamilyAnalogWrite<Settings, &T::voltsAtMinRange, V::VoltsAtMinRange>},
        {"analog-max-volts", "Max. Volts", S::Number, "volts at the maximum range",
         SetFamilyText<Settings, &T::voltsAtMaxRange>,
         FamilyAnalogWrite<Settings, &T::voltsAtMaxRange, V::VoltsAtMaxRange>},
        {"analog-out-of-range-volts", "Out of Range", S::Number, "volts outside the range",
         SetFamilyText<Settings, &T::voltsOutOfRange>,
         FamilyAnalogWrite<Settings, &T::voltsOutOfRange, V::VoltsOutOfRange>},
    };
}

template <typename Settings> Entry<Settings> ModeEntry(const char* summary) {
    return {"mode",
            "Mode",
            ValueShape::Mode,
            summary,
            [](Settings& s, const std::string& v) { s.modeNumber = ModeRow(v); },
            [](SensorDevice& d, const Settings& s, ModelType) {
                return WriteVkt04Mode(d, s.modeNumber);
            }};
}

const Family<Vkt04Settings>& Vkt04Family() {
    static const Family<Vkt04Settings> family = [] {
        Family<Vkt04Settings> f{
            {ModeEntry<Vkt04Settings>("range mode: row 0 or 1 of the mode list")},
            [](SensorDevice& d, ModelType) { return ReadVkt04Settings(d); },
            [](const Vkt04Settings& s, ModelType, std::vector<std::string>& n,
               std::vector<std::string>& v) { FillVkt04SettingsList(s, n, v); }};
        for (const auto& shared : SharedEntries<Vkt04Settings>())
            f.entries.push_back(shared);
        f.entries.push_back(
            {"hold-last-valid", "Hold Last Valid Range", ValueShape::OnOff,
             "hold the last valid range: on or off",
             [](Vkt04Settings& s, const std::string& v) { s.holdLastValid = v == "on"; },
             [](SensorDevice& d, const Vkt04Settings& s, ModelType) {
                 return WriteHoldLastValidRange(d, s.holdLastValid);
             }});
        f.entries.push_back({"hold-scans", "Max samples to hold last range", ValueShape::Number,
                             "most scans the last range is held (Max # dropouts)",
                             [](Vkt04Settings& s, const std::string& v) { s.holdScans = v; },
                             [](SensorDevice& d, const Vkt04Settings& s, ModelType) {
                                 return WriteHoldScans(d, s.holdScans);
                             }});
        return f;
    }();
    return family;
}

const Family<Vkt04FamilyTexts>& RmxShortFamily() {
    static const Family<Vkt04FamilyTexts> family{
        SharedEntries<Vkt04FamilyTexts>(),
        [](SensorDevice& d, ModelType) { return ReadRmxShortSettings(d); },
        [](const Vkt04FamilyTexts& s, ModelType, std::vector<std::string>& n,
           std::vector<std::string>& v) { FillRmxShortSettingsList(s, n, v); }};
    return family;
}

template <std::string WaneTexts::*Field>
void SetWaneText(Vkt04BfSettings& s, const std::string& v) {
    s.wane.*Field = v;
}

WriteOutcome WaneWrite(SensorDevice& d, const Vkt04BfSettings& s, ModelType) {
    // The reload before every write has just read the wane record.
    return WriteWaneVariables(d, s, true);
}

const Family<Vkt04BfSettings>& VezirOrududuFamily() {
    static const Family<Vkt04BfSettings> family = [] {
        using S = ValueShape;
        using W = WaneTexts;
        Family<Vkt04BfSettings> f{
            {ModeEntry<Vkt04BfSettings>("range mode: 0 (inch) or 1 (mm)")},
            [](SensorDevice& d, ModelType) { return ReadVkt04BfSettings(d); },
            [](const Vkt04BfSettings& s, ModelType, std::vector<std::string>& n,
               std::vector<std::string>& v) { FillVkt04BfSettingsList(s, n, v); }};
        for (const auto& shared : SharedEntries<Vkt04BfSettings>())
            f.entries.push_back(shared);
        f.entries.insert(
            f.entries.end(),
            {{"min-wane-height", "Min Wane Height", S::Number, "in the range unit",
              SetWaneText<&W::minWaneHeight>, WaneWrite},
             {"min-wane-width", "Min Wane Width", S::Number, "in the range unit",
              SetWaneText<&W::minWaneWidth>, WaneWrite},
             {"pulse-duration", "Pulse duration", S::Digits, "ms", SetWaneText<&W::pulseDuration>,
              WaneWrite},
             {"conveyer-speed", "Conveyer Speed", S::Digits, "mm/s", SetWaneText<&W::conveyerSpeed>,
              WaneWrite},
             {"board-timeout", "Board timeout", S::Digits, "ms", SetWaneText<&W::boardTimeout>,
              WaneWrite},
             // The dialog's "Laser On" and "Laser Off" buttons; the sensor does not report it.
             {"laser", "", S::OnOff, "on or off", [](Vkt04BfSettings&, const std::string&) {},
              nullptr}});
        return f;
    }();
    return family;
}

// Runs `fn` with the family of `type`.
template <typename Fn> auto WithFamily(ModelType type, Fn&& fn) {
    switch (type) {
    case ModelType::VKT04:
        return fn(Vkt04Family());
    case ModelType::RmxShort:
        return fn(RmxShortFamily());
    case ModelType::VKT04VezirOrududu:
        return fn(VezirOrududuFamily());
    default:
        return fn(Vkt02Family());
    }
}

template <typename Settings>
SettingsRows RowsOf(const Family<Settings>& family, const Settings& settings, ModelType type) {
    std::vector<std::string> names, values;
    family.fill(settings, type, names, values);
    SettingsRows rows;
    for (std::size_t i = 0; i < names.size() && i < values.size(); ++i) {
        if (names[i] != " ")
            rows.emplace_back(names[i], values[i]);
    }
    return rows;
}

int ModeRows(ModelType type) {
    return type == ModelType::VKT02 || type == ModelType::RmxLong ? 16 : 2;
}

} // namespace

std::vector<SettingName> SettingNames(ModelType type) {
    return WithFamily(type, [](const auto& family) {
        std::vector<SettingName> names;
        for (const auto& e : family.entries)
            names.push_back({e.name, e.row, e.shape, e.summary});
        return names;
    });
}

std::optional<SettingName> FindSettingName(ModelType type, std::string_view name) {
    for (SettingName& setting : SettingNames(type)) {
        if (setting.name == name)
            return std::move(setting);
    }
    return std::nullopt;
}

std::string ValueShapeProblem(const SettingName& setting, ModelType type, std::string_view value) {
    const bool digits =
        !value.empty() && value.size() <= 9 &&
        std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    switch (setting.shape) {
    case ValueShape::Number:
        return IsExactlyOneNumber(value) ? "" : setting.name + " takes a number";
    case ValueShape::Digits:
        return digits ? "" : setting.name + " takes digits only";
    case ValueShape::OnOff:
        return value == "on" || value == "off" ? "" : setting.name + " takes on or off";
    case ValueShape::Mode:
        return digits && TextAsInteger(value) < ModeRows(type)
                   ? ""
                   : setting.name + " takes 0 to " + std::to_string(ModeRows(type) - 1);
    case ValueShape::Order:
        return digits && OrderBoxRow(static_cast<std::uint16_t>(TextAsInteger(value))) >= 0
                   ? ""
                   : setting.name + " takes 1, 3, 5, 7, 9, 11, 13, 15, 17 or 19";
    }
    return {};
}

std::optional<SettingsRows> ReadSettingsRows(SensorDevice& sensor, ModelType type) {
    return WithFamily(type, [&](const auto& family) -> std::optional<SettingsRows> {
        auto settings = family.read(sensor, type);
        if (!settings)
            return std::nullopt;
        return RowsOf(family, *settings, type);
    });
}

SetResult ApplySetting(SensorDevice& sensor, ModelType type, const SettingName& setting,
                       const std::string& value) {
    return WithFamily(type, [&](const auto& family) {
        using Outcome = SetResult::Outcome;
        SetResult result;
        auto entry = std::find_if(family.entries.begin(), family.entries.end(),
                                  [&](const auto& e) { return setting.name == e.name; });
        auto settings = family.read(sensor, type);
        if (entry == family.entries.end() || !settings)
            return result;
        WriteOutcome written;
        if (entry->write) {
            entry->apply(*settings, value);
            written = entry->write(sensor, *settings, type);
        } else {
            written =
                WriteOutcome::Sent(value == "on" ? sensor.SetLaserOn() : sensor.SetLaserOff());
        }
        if (!written.refusal.empty()) {
            result.outcome = Outcome::Refused;
            result.refusal = written.refusal;
            return result;
        }
        result.outcome = Outcome::WriteFailed;
        if (!written.succeeded)
            return result;
        auto after = family.read(sensor, type);
        if (!after)
            return result;
        for (const auto& [name, text] : RowsOf(family, *after, type)) {
            if (name == setting.row)
                result.readBack = text;
        }
        result.outcome = Outcome::Done;
        return result;
    });
}

} // namespace vk::cli
