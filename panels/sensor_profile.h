#pragma once
// Sensor profiles: one sensor's identity and every setting of its model in one JSON
// file, so that a replacement can be made to measure exactly like it. The settings are
// kept by the names `vkctl set` takes, each with the value its dialog's field holds, the
// unit and the row text the dialog shows; the replies they were read from are kept
// beside them as hex, so nothing the sensor reported is lost.
//
// A profile file is untrusted input: it is read only up to kMaxProfileBytes, by the
// bounded JSON reader, and every part of it is checked before anything uses it. A
// profile is written whole or not at all, and never over a file that is not one.

#include "link/frame.h"
#include "panels/model_settings.h"
#include "sensor/line_setting_change.h"
#include "sensor/model_table.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

class SensorConnection;

inline constexpr const char* kProfileFormat = "korvel-sensor-profile";
inline constexpr int kProfileVersion = 1;
inline constexpr std::size_t kMaxProfileBytes = 1 << 20;

struct ProfileIdentity {
    std::string modelString; // as the sensor sent it (Latin-1 bytes)
    ModelType modelType = ModelType::VKT02;
    std::string modelName; // "VKT02"
    std::string serial;    // the serial number, 8 characters at most
    std::string firmware;  // "1.23B"
    std::string revision;  // "B"; empty when the firmware names none
    std::string fpga;      // "2.5"
    CheckMethod method = CheckMethod::Checksum;
    std::uint8_t address = 1;
    std::int32_t speed = 57600;
};

// One reply as it came off the line: its payload in the sensor's byte order.
struct ProfileRecord {
    std::string command; // "GetSensorSetup"
    std::string hex;     // lower-case hex digits, two per byte
};

struct SensorProfile {
    std::string saved;   // UTC, "2024-05-31T12:03:07Z"
    std::string program; // "vkctl 1.0.1"
    ProfileIdentity identity;
    SettingValues settings;
    std::vector<ProfileRecord> records;

    // The setting called `name`; null when the profile has none.
    const SettingValue* Find(std::string_view name) const;
};

// Reads every setting of the connected sensor (the dialog's reload) and takes its
// identity from what the connect read. `program` names the writer ("vkctl"). Nothing,
// with the reason in `failure`, when the connect did not read the versions and the serial
// number or when a read failed (its command logged the failure line).
std::optional<SensorProfile> ProfileOfSensor(SensorConnection& connection,
                                             const std::string& program, std::string* failure);

// The settings as one JSON object keyed by their `set` names: {"value", "unit", "row",
// "text"} each, the value a JSON number wherever it is one. `indent` spaces go before
// each member; the closing brace gets `indent` - 4.
std::string SettingsJson(const SettingValues& settings, int indent);

// The whole profile as the JSON text of its file.
std::string ProfileJson(const SensorProfile& profile);

struct ProfileRead {
    std::optional<SensorProfile> profile;
    std::string error; // otherwise one line: what is wrong with it
};

// A profile from the text of a file. Refused: what is not JSON, what is not a sensor
// profile, a newer version, and any part that is missing or out of its bounds (an
// identity field, a setting that is not an object with a value, a number beyond 10^9).
// A setting's value is not checked against its model here: restoring checks it as the
// dialog does and refuses that setting alone.
ProfileRead ParseProfile(std::string_view text);

// ParseProfile of the file at `path`, read only when it is a regular file of at most
// kMaxProfileBytes. Errors start with the path.
ProfileRead ReadProfileFile(const std::string& path);

// Writes `profile` to `path` whole or not at all (ReplaceFileWhole: through a link, keeping
// the permissions). An existing file that is not a profile this program reads is never
// replaced. False with one line in `error`.
bool WriteProfileFile(const std::string& path, const SensorProfile& profile, std::string* error);

// Whether two readings of a setting are the same value: numbers by their value (9.6 and
// 9.600 are equal) in the same unit, anything else by its text.
bool SameSetting(const SettingValue& a, const SettingValue& b);

// A setting as a person reads it: the value with its unit, or the dialog's text for a
// switch, count or mode ("On", "40", "2:  From 0000.0 to 3200.0mm").
std::string SettingDisplay(const SettingValue& setting);

struct Difference {
    std::string name;
    std::string first;  // "(none)" where that side lacks it
    std::string second; // likewise
};
struct ProfileDifferences {
    std::vector<Difference> settings; // by `set` name, in the first side's order
    std::vector<Difference> identity; // model, serial number, versions, line settings
};

// Every setting and identity field in which `first` and `second` differ.
ProfileDifferences CompareProfiles(const SensorProfile& first, const SensorProfile& second);

} // namespace vk
