#include "panels/model_settings.h"

#include "panels/number_text.h"
#include "panels/rmx_short_settings.h"
#include "panels/unit_conversion.h"
#include "panels/vkt02_settings_writes.h"
#include "panels/vkt04_settings.h"
#include "panels/vkt04bf_settings.h"
#include "sensor/sensor_device.h"
#include "util_app/range_modes.h"

#include <algorithm>

namespace vk {

namespace {

// The unit a setting's number is in.
enum class Unit { None, Range, Volts, Milliseconds, MillimetresPerSecond };

// One name: how its value goes into the dialog's values and comes out of them, and the
// button that writes them.
template <typename Settings> struct Entry {
    const char* name;
    const char* row;
    ValueShape shape;
    Unit unit;
    const char* summary;
    void (*apply)(Settings&, const std::string&);
    // The value `set` takes to write back what was read; null when the sensor does not
    // report the setting.
    std::string (*value)(const Settings&, const ReplyStore&, ModelType);
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

std::string OnOff(bool on) {
    return on ? "on" : "off";
}

template <typename Settings>
std::string ModeValue(const Settings& s, const ReplyStore&, ModelType) {
    return std::to_string(s.modeNumber);
}

// --- VKT02 and Rmx Long ---------------------------------------------------------------

using Vkt02 = Vkt02Settings;

template <std::string Vkt02SettingsTexts::*Field>
void SetVkt02Text(Vkt02& s, const std::string& v) {
    s.texts.*Field = v;
}
template <std::string Vkt02SettingsTexts::*Field>
std::string Vkt02Text(const Vkt02& s, const ReplyStore&, ModelType) {
    return s.texts.*Field;
}

// The dialog shows the offset with three decimals whatever the mode; in a mode of 10000
// counts per unit that drops the sensor's last digit, which a restored sensor must keep.
std::string Vkt02RangeOffsetValue(const Vkt02& s, const ReplyStore& replies, ModelType type) {
    const RangeMode& mode = GetRangeMode(type, replies.sensorSetup.rangeMode);
    if (mode.factor <= 1000)
        return s.texts.rangeOffset;
    return RangeText(static_cast<std::int16_t>(replies.sensorSetup.rangeOffset), mode);
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
    using U = Unit;
    using T = Vkt02SettingsTexts;
    static const Family<Vkt02> family{
        {
            {"mode", "Mode", S::Mode, U::None, "range mode: row 0 to 15 of the mode list",
             [](Vkt02& s, const std::string& v) { s.modeNumber = ModeRow(v); }, ModeValue<Vkt02>,
             Vkt02Mode},
            {"range-offset", "Range Offset", S::Number, U::Range, "range offset in the range unit",
             SetVkt02Text<&T::rangeOffset>, Vkt02RangeOffsetValue, Vkt02Offset},
            {"multiplier", "Multiplier", S::Number, U::None, "range multiplier",
             SetVkt02Text<&T::multiplier>, Vkt02Text<&T::multiplier>, Vkt02Offset},
            {"cosine", "Cosine", S::Number, U::None, "cosine, 0 to 1", SetVkt02Text<&T::cosine>,
             Vkt02Text<&T::cosine>, Vkt02Offset},
            {"min-laser-power", "Min. Laser Power", S::Digits, U::None, "0 to 254",
             SetVkt02Text<&T::minLaserPower>, Vkt02Text<&T::minLaserPower>, Vkt02MinLp},
            {"max-laser-power", "Max. Laser Power", S::Digits, U::None, "0 to 254",
             SetVkt02Text<&T::maxLaserPower>, Vkt02Text<&T::maxLaserPower>, Vkt02MaxLp},
            {"laser", "Laser", S::OnOff, U::None, "on or off",
             [](Vkt02& s, const std::string& v) { s.laserOn = v == "on"; },
             [](const Vkt02& s, const ReplyStore&, ModelType) { return OnOff(s.laserOn); },
             Vkt02Laser},
            {"analog-min-range", "Min. Range", S::Number, U::Range, "range at the minimum voltage",
             SetVkt02Text<&T::minRange>, Vkt02Text<&T::minRange>, Vkt02Analog},
            {"analog-max-range", "Max. Range", S::Number, U::Range, "range at the maximum voltage",
             SetVkt02Text<&T::maxRange>, Vkt02Text<&T::maxRange>, Vkt02Analog},
            {"analog-min-volts", "Min. Volts", S::Number, U::Volts, "volts at the minimum range",
             SetVkt02Text<&T::voltsAtMinRange>, Vkt02Text<&T::voltsAtMinRange>, Vkt02Analog},
            {"analog-max-volts", "Max. Volts", S::Number, U::Volts, "volts at the maximum range",
             SetVkt02Text<&T::voltsAtMaxRange>, Vkt02Text<&T::voltsAtMaxRange>, Vkt02Analog},
            {"analog-offset-volts", "Offset", S::Number, U::Volts, "offset voltage",
             SetVkt02Text<&T::offsetVoltage>, Vkt02Text<&T::offsetVoltage>, Vkt02Analog},
            {"analog-out-of-range-volts", "Out of Range", S::Number, U::Volts,
             "volts outside the range", SetVkt02Text<&T::voltsOutOfRange>,
             Vkt02Text<&T::voltsOutOfRange>, Vkt02Analog},
            {"dropout", "Dropout", S::Digits, U::None, "scan filter dropout factor",
             SetVkt02Text<&T::dropout>, Vkt02Text<&T::dropout>, Vkt02Filter},
            {"smooth", "Smooth", S::Digits, U::None, "scan filter smooth factor",
             SetVkt02Text<&T::smooth>, Vkt02Text<&T::smooth>, Vkt02Filter},
            {"order", "Order", S::Order, U::None, "scan filter order factor: 1, 3, ... 19",
             [](Vkt02& s, const std::string& v) {
                 s.order = static_cast<std::uint16_t>(TextAsInteger(v));
             },
             [](const Vkt02& s, const ReplyStore&, ModelType) { return std::to_string(s.order); },
             Vkt02Filter},
            {"scan-interval", "Scan Interval", S::Digits, U::None, "scan interval (0.6 x)",
             SetVkt02Text<&T::scanInterval>, Vkt02Text<&T::scanInterval>, Vkt02Interval},
            {"threshold", "Threshold", S::Digits, U::None, "detection threshold, 0 to 255",
             SetVkt02Text<&T::threshold>, Vkt02Text<&T::threshold>, Vkt02Threshold},
            {"averaging-period", "Averaging Period(ms)", S::Number, U::Milliseconds,
             "averaging period in ms", SetVkt02Text<&T::averagingPeriod>,
             Vkt02Text<&T::averagingPeriod>, Vkt02Averaging},
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
template <typename Settings, std::string Vkt04FamilyTexts::*Field>
std::string FamilyText(const Settings& s, const ReplyStore&, ModelType) {
    return FamilyTexts(s).*Field;
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

template <typename Settings, std::string Vkt04FamilyTexts::*Field, TextWrite Write>
Entry<Settings> TextEntry(const char* name, const char* row, ValueShape shape,
                          const char* summary) {
    return {name,
            row,
            shape,
            Unit::None,
            summary,
            SetFamilyText<Settings, Field>,
            FamilyText<Settings, Field>,
            FamilyTextWrite<Settings, Field, Write>};
}

template <typename Settings, std::string Vkt04FamilyTexts::*Field, AnalogOutputValue Value>
Entry<Settings> AnalogEntry(const char* name, const char* row, Unit unit, const char* summary) {
    return {name,
            row,
            ValueShape::Number,
            unit,
            summary,
            SetFamilyText<Settings, Field>,
            FamilyText<Settings, Field>,
            FamilyAnalogWrite<Settings, Field, Value>};
}

// `rules`: the model's, which decide as in its dialog whether a power field takes a minus
// sign (so that the check refuses it with the model's words) or digits only.
template <typename Settings>
std::vector<Entry<Settings>> SharedEntries(const Vkt04FamilyRules& rules) {
    using T = Vkt04FamilyTexts;
    using V = AnalogOutputValue;
    using U = Unit;
    const ValueShape power = rules.checksValues ? ValueShape::Signed : ValueShape::Digits;
    return {
        TextEntry<Settings, &T::minLaserPower, WriteMinLaserPower>(
            "min-laser-power", "Min. Laser Power", power, "0 to 254"),
        TextEntry<Settings, &T::maxLaserPower, WriteMaxLaserPower>(
            "max-laser-power", "Max. Laser Power", power, "0 to 254"),
        TextEntry<Settings, &T::threshold, WriteThreshold>(
            "threshold", "Threshold", ValueShape::Digits, "detection threshold, 0 to 255"),
        AnalogEntry<Settings, &T::minRange, V::MinRange>("analog-min-range", "Min. Range", U::Range,
                                                         "range at the minimum voltage"),
        AnalogEntry<Settings, &T::maxRange, V::MaxRange>("analog-max-range", "Max. Range", U::Range,
                                                         "range at the maximum voltage"),
        AnalogEntry<Settings, &T::voltsAtMinRange, V::VoltsAtMinRange>(
            "analog-min-volts", "Min. Volts", U::Volts, "volts at the minimum range"),
        AnalogEntry<Settings, &T::voltsAtMaxRange, V::VoltsAtMaxRange>(
            "analog-max-volts", "Max. Volts", U::Volts, "volts at the maximum range"),
        AnalogEntry<Settings, &T::voltsOutOfRange, V::VoltsOutOfRange>(
            "analog-out-of-range-volts", "Out of Range", U::Volts, "volts outside the range"),
    };
}

template <typename Settings> Entry<Settings> ModeEntry(const char* summary) {
    return {"mode",
            "Mode",
            ValueShape::Mode,
            Unit::None,
            summary,
            [](Settings& s, const std::string& v) { s.modeNumber = ModeRow(v); },
            ModeValue<Settings>,
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
        for (const auto& shared : SharedEntries<Vkt04Settings>(kVkt04Rules))
            f.entries.push_back(shared);
        f.entries.push_back(
            {"hold-last-valid", "Hold Last Valid Range", ValueShape::OnOff, Unit::None,
             "hold the last valid range: on or off",
             [](Vkt04Settings& s, const std::string& v) { s.holdLastValid = v == "on"; },
             [](const Vkt04Settings& s, const ReplyStore&, ModelType) {
                 return OnOff(s.holdLastValid);
             },
             [](SensorDevice& d, const Vkt04Settings& s, ModelType) {
                 return WriteHoldLastValidRange(d, s.holdLastValid);
             }});
        f.entries.push_back(
            {"hold-scans", "Max samples to hold last range", ValueShape::Number, Unit::None,
             "most scans the last range is held (Max # dropouts)",
             [](Vkt04Settings& s, const std::string& v) { s.holdScans = v; },
             [](const Vkt04Settings& s, const ReplyStore&, ModelType) { return s.holdScans; },
             [](SensorDevice& d, const Vkt04Settings& s, ModelType) {
                 return WriteHoldScans(d, s.holdScans);
             }});
        return f;
    }();
    return family;
}

const Family<Vkt04FamilyTexts>& RmxShortFamily() {
    static const Family<Vkt04FamilyTexts> family{
        SharedEntries<Vkt04FamilyTexts>(kRmxShortRules),
        [](SensorDevice& d, ModelType) { return ReadRmxShortSettings(d); },
        [](const Vkt04FamilyTexts& s, ModelType, std::vector<std::string>& n,
           std::vector<std::string>& v) { FillRmxShortSettingsList(s, n, v); }};
    return family;
}

template <std::string WaneTexts::*Field>
void SetWaneText(Vkt04BfSettings& s, const std::string& v) {
    s.wane.*Field = v;
}
template <std::string WaneTexts::*Field>
std::string WaneText(const Vkt04BfSettings& s, const ReplyStore&, ModelType) {
    return s.wane.*Field;
}

WriteOutcome WaneWrite(SensorDevice& d, const Vkt04BfSettings& s, ModelType) {
    // The reload before every write has just read the wane record.
    return WriteWaneVariables(d, s, true);
}

const Family<Vkt04BfSettings>& VezirOrududuFamily() {
    static const Family<Vkt04BfSettings> family = [] {
        using S = ValueShape;
        using U = Unit;
        using W = WaneTexts;
        Family<Vkt04BfSettings> f{
            {ModeEntry<Vkt04BfSettings>("range mode: 0 (inch) or 1 (mm)")},
            [](SensorDevice& d, ModelType) { return ReadVkt04BfSettings(d); },
            [](const Vkt04BfSettings& s, ModelType, std::vector<std::string>& n,
               std::vector<std::string>& v) { FillVkt04BfSettingsList(s, n, v); }};
        for (const auto& shared : SharedEntries<Vkt04BfSettings>(kVezirOrududuRules))
            f.entries.push_back(shared);
        f.entries.insert(
            f.entries.end(),
            {{"min-wane-height", "Min Wane Height", S::Number, U::Range, "in the range unit",
              SetWaneText<&W::minWaneHeight>, WaneText<&W::minWaneHeight>, WaneWrite},
             {"min-wane-width", "Min Wane Width", S::Number, U::Range, "in the range unit",
              SetWaneText<&W::minWaneWidth>, WaneText<&W::minWaneWidth>, WaneWrite},
             {"pulse-duration", "Pulse duration", S::Digits, U::Milliseconds, "ms",
              SetWaneText<&W::pulseDuration>, WaneText<&W::pulseDuration>, WaneWrite},
             {"conveyer-speed", "Conveyer Speed", S::Digits, U::MillimetresPerSecond, "mm/s",
              SetWaneText<&W::conveyerSpeed>, WaneText<&W::conveyerSpeed>, WaneWrite},
             {"board-timeout", "Board timeout", S::Digits, U::Milliseconds, "ms",
              SetWaneText<&W::boardTimeout>, WaneText<&W::boardTimeout>, WaneWrite},
             // The dialog's "Laser On" and "Laser Off" buttons; the sensor does not report it.
             {"laser", "", S::OnOff, U::None, "on or off",
              [](Vkt04BfSettings&, const std::string&) {}, nullptr, nullptr}});
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

std::string UnitText(Unit unit, ModelType type, const ReplyStore& replies) {
    switch (unit) {
    case Unit::Range:
        return RangeUnit(GetRangeMode(type, RangeModeInForce(type, replies)));
    case Unit::Volts:
        return "V";
    case Unit::Milliseconds:
        return "ms";
    case Unit::MillimetresPerSecond:
        return "mm/s";
    case Unit::None:
        break;
    }
    return {};
}

template <typename Settings>
SettingValues ValuesOf(const Family<Settings>& family, const Settings& settings,
                       const ReplyStore& replies, ModelType type) {
    const SettingsRows rows = RowsOf(family, settings, type);
    SettingValues values;
    for (const auto& e : family.entries) {
        const auto row =
            std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.first == e.row; });
        if (!e.value || row == rows.end())
            continue;
        values.push_back({e.name, e.row, row->second, e.value(settings, replies, type),
                          UnitText(e.unit, type, replies)});
    }
    return values;
}

// What the button of `entry` does with `settings`. The Vezir Orududu's laser buttons are
// not part of a settings record: its value goes out as it is.
template <typename Settings>
WriteOutcome Press(const Entry<Settings>& entry, SensorDevice& sensor, const Settings& settings,
                   ModelType type, const std::string& value) {
    if (entry.write)
        return entry.write(sensor, settings, type);
    return WriteOutcome::Sent(value == "on" ? sensor.SetLaserOn() : sensor.SetLaserOff());
}

int ModeRows(ModelType type) {
    return static_cast<int>(ModeBoxRows(type).size());
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

std::vector<std::string> ModeBoxRows(ModelType type) {
    switch (type) {
    case ModelType::VKT04:
        return Vkt04ModeBoxItems();
    case ModelType::VKT04VezirOrududu:
        return {kVkt04BfModeBoxItems.begin(), kVkt04BfModeBoxItems.end()};
    case ModelType::RmxShort:
        return {};
    default:
        return Vkt02ModeBoxItems(type);
    }
}

std::string ValueShapeProblem(const SettingName& setting, ModelType type, std::string_view value,
                              ValueOrigin origin) {
    const auto allDigits = [](std::string_view text) {
        return !text.empty() && text.size() <= 9 &&
               std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    const bool reported = origin == ValueOrigin::Reported;
    const bool digits = allDigits(value);
    switch (setting.shape) {
    case ValueShape::Number:
        return IsExactlyOneNumber(value) ? "" : setting.name + " takes a number";
    case ValueShape::Digits:
    case ValueShape::Signed: {
        // A field filled from a signed word shows its minus sign.
        const bool sign = (reported || setting.shape == ValueShape::Signed) && !value.empty() &&
                          value[0] == '-' && allDigits(value.substr(1));
        if (digits || sign)
            return {};
        return setting.name + (setting.shape == ValueShape::Signed ? " takes a whole number"
                                                                   : " takes digits only");
    }
    case ValueShape::OnOff:
        return value == "on" || value == "off" ? "" : setting.name + " takes on or off";
    case ValueShape::Mode:
        return digits && TextAsInteger(value) < ModeRows(type)
                   ? ""
                   : setting.name + " takes 0 to " + std::to_string(ModeRows(type) - 1);
    case ValueShape::Order:
        if (reported && digits && TextAsInteger(value) <= 0xFFFF)
            return {};
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

std::optional<SettingValues> ReadSettingValues(SensorDevice& sensor, ModelType type) {
    return WithFamily(type, [&](const auto& family) -> std::optional<SettingValues> {
        auto settings = family.read(sensor, type);
        if (!settings)
            return std::nullopt;
        return ValuesOf(family, *settings, sensor.Replies(), type);
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
        entry->apply(*settings, value);
        const WriteOutcome written = Press(*entry, sensor, *settings, type, value);
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

std::optional<SettingsWrite> WriteSettingValues(SensorDevice& sensor, ModelType type,
                                                const ChangeChooser& choose, bool checkOnly) {
    return WithFamily(type, [&](const auto& family) -> std::optional<SettingsWrite> {
        auto settings = family.read(sensor, type);
        if (!settings)
            return std::nullopt;
        SettingsWrite result;
        result.before = ValuesOf(family, *settings, sensor.Replies(), type);
        const std::vector<SettingChange> changes = choose(result.before);

        // A check-only run presses the buttons on a sensor object that reaches nothing.
        std::optional<SensorDevice> probe;
        if (checkOnly) {
            probe.emplace(sensor);
            probe->SetLink(nullptr);
            probe->SetLogSink(nullptr);
        }
        SensorDevice& target = probe ? *probe : sensor;

        const auto& entries = family.entries;
        const auto changeOf = [&](std::size_t i) -> const SettingChange* {
            for (const SettingChange& c : changes)
                if (c.name == entries[i].name)
                    return &c;
            return nullptr;
        };
        // The mode first: the range values are typed in it.
        std::size_t mode = 0;
        while (mode < entries.size() && entries[mode].shape != ValueShape::Mode)
            ++mode;
        std::string notPressed;
        if (const SettingChange* change = mode < entries.size() ? changeOf(mode) : nullptr) {
            entries[mode].apply(*settings, change->value);
            const WriteOutcome written =
                Press(entries[mode], target, *settings, type, change->value);
            result.outcomes.push_back({change->name, written, {}});
            if (!checkOnly) {
                decltype(settings) reloaded;
                if (written.attempted)
                    reloaded = family.read(sensor, type);
                if (written.attempted && !reloaded)
                    notPressed = "the settings could not be read after the mode";
                else if (!reloaded || entries[mode].value(*reloaded, sensor.Replies(), type) !=
                                          std::to_string(ModeRow(change->value)))
                    notPressed = "the mode did not take";
                if (reloaded)
                    settings = std::move(reloaded);
            }
        }
        // Then each button once, with every change of its fields in it.
        std::vector<bool> pressed(entries.size(), false);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (i == mode || pressed[i] || !changeOf(i))
                continue;
            std::vector<const SettingChange*> group;
            for (std::size_t j = i; j < entries.size(); ++j) {
                const SettingChange* change = changeOf(j);
                const bool sameButton =
                    entries[i].write ? entries[j].write == entries[i].write : j == i;
                if (!change || pressed[j] || !sameButton)
                    continue;
                pressed[j] = true;
                entries[j].apply(*settings, change->value);
                group.push_back(change);
            }
            const WriteOutcome written = !notPressed.empty() ? WriteOutcome::Nothing()
                                                             : Press(entries[i], target, *settings,
                                                                     type, group.front()->value);
            for (const SettingChange* change : group)
                result.outcomes.push_back({change->name, written, notPressed});
        }
        return result;
    });
}

} // namespace vk
