#include "panels/sensor_profile.h"

#include "link/whole_file_write.h"
#include "panels/json_reader.h"
#include "panels/json_text.h"
#include "panels/number_text.h"
#include "sensor/line_setting_change.h"
#include "sensor/sensor_connection.h"
#include "version/program_info.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vk {

namespace fs = std::filesystem;

const SettingValue* SensorProfile::Find(std::string_view name) const {
    for (const SettingValue& s : settings)
        if (s.name == name)
            return &s;
    return nullptr;
}

namespace {

// --- reading a sensor -------------------------------------------------------------

std::string Hex(const std::uint8_t* bytes, std::size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < size; ++i) {
        hex += digits[bytes[i] >> 4];
        hex += digits[bytes[i] & 0x0F];
    }
    return hex;
}

template <typename Record>
ProfileRecord RecordOf(const char* command, const Record& record, CheckMethod m) {
    std::uint8_t wire[Record::kSize] = {};
    record.Encode(wire, m);
    return {command, Hex(wire, sizeof wire)};
}

ProfileRecord WordRecord(const char* command, std::uint16_t word, CheckMethod m) {
    std::uint8_t wire[2];
    PutWord(wire, word, m);
    return {command, Hex(wire, sizeof wire)};
}

ProfileRecord TextRecord(const char* command, const SensorText& text) {
    return {command,
            Hex(reinterpret_cast<const std::uint8_t*>(text.bytes.data()), text.bytes.size())};
}

// The replies the connect and the settings' reload of `type` have left in `replies`.
std::vector<ProfileRecord> RecordsOf(const ReplyStore& r, ModelType type, CheckMethod m) {
    std::vector<ProfileRecord> records = {TextRecord("GetModelName", r.modelName),
                                          TextRecord("GetSerialNum", r.serialNumber)};
    switch (type) {
    case ModelType::VKT02:
    case ModelType::RmxLong:
        records.insert(records.end(), {RecordOf("GetVersion", r.version, m),
                                       RecordOf("GetSensorSetup", r.sensorSetup, m),
                                       {"GetMinLP", Hex(&r.minLaserPower, 1)},
                                       {"GetMaxLP", Hex(&r.maxLaserPower, 1)},
                                       RecordOf("GetAnalogFactors", r.analogFactors, m),
                                       RecordOf("GetConfigVars", r.configVars, m)});
        break;
    case ModelType::VKT04:
        records.insert(records.end(), {RecordOf("GetVKT04Version", r.vkt04Version, m),
                                       RecordOf("GetVKT04Setup", r.vkt04Setup, m),
                                       WordRecord("GetNumHoldScans", r.numHoldScans, m)});
        break;
    case ModelType::RmxShort:
        records.insert(records.end(), {RecordOf("GetVKT04Version", r.vkt04Version, m),
                                       RecordOf("GetVKT04Setup", r.vkt04Setup, m)});
        break;
    case ModelType::VKT04VezirOrududu:
        records.insert(records.end(), {RecordOf("GetVKT04Version", r.vkt04Version, m),
                                       RecordOf("GetVKT04Setup", r.vkt04Setup, m),
                                       RecordOf("ReadWaneParams", r.wane, m),
                                       WordRecord("GetBoardTimeout", r.boardTimeoutMs, m)});
        break;
    }
    return records;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first);
}

// "2024-05-31T12:03:07Z": a profile travels between machines and time zones.
std::string UtcNow() {
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date(day);
    const hh_mm_ss time(now - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

} // namespace

std::optional<SensorProfile> ProfileOfSensor(SensorConnection& connection,
                                             const std::string& program, std::string* failure) {
    if (!connection.ReadOutComplete()) {
        *failure = "The sensor's versions or serial number could not be read.";
        return std::nullopt;
    }
    SensorDevice& sensor = connection.Sensor();
    const ModelType type = connection.Model();
    std::optional<SettingValues> settings = ReadSettingValues(sensor, type);
    if (!settings) {
        failure->clear(); // the command has logged its failure
        return std::nullopt;
    }
    const ReplyStore& replies = sensor.Replies();
    const bool vkt02Family = type == ModelType::VKT02 || type == ModelType::RmxLong;
    const char revision = vkt02Family ? replies.version.revision : replies.vkt04Version.revision;

    SensorProfile profile;
    profile.saved = UtcNow();
    profile.program = program + " " + ProjectVersion();
    ProfileIdentity& id = profile.identity;
    id.modelString = replies.modelName.Str();
    id.modelType = type;
    id.modelName = connection.ModelName();
    id.serial = replies.serialNumber.Prefix(8);
    id.firmware = Trimmed(connection.FirmwareVersion());
    if (revision != 0)
        id.revision = std::string(1, revision);
    id.fpga = Trimmed(connection.FpgaVersion());
    id.method = sensor.Method();
    // The reload has adopted the sensor's own address from its setup record.
    id.address = sensor.Address();
    id.speed = connection.Link().Settings().baudRate;
    profile.settings = std::move(*settings);
    profile.records = RecordsOf(replies, type, id.method);
    return profile;
}

// --- writing ----------------------------------------------------------------------

namespace {

std::string JsonValueText(const std::string& value) {
    return IsJsonNumber(value) ? value : JsonString(value);
}

} // namespace

std::string SettingsJson(const SettingValues& settings, int indent) {
    const std::string pad(static_cast<std::size_t>(indent), ' ');
    std::string json = "{";
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const SettingValue& s = settings[i];
        json += (i ? ",\n" : "\n") + pad + JsonString(s.name) +
                ": {\"value\": " + JsonValueText(s.value);
        if (!s.unit.empty())
            json += ", \"unit\": " + JsonString(s.unit);
        json += ", \"row\": " + JsonString(s.row) + ", \"text\": " + JsonString(s.text) + "}";
    }
    json += "\n" + pad.substr(std::min<std::size_t>(pad.size(), 4)) + "}";
    return json;
}

std::string ProfileJson(const SensorProfile& p) {
    const ProfileIdentity& id = p.identity;
    std::string json = "{\n";
    json += "    \"format\": " + JsonString(kProfileFormat) + ",\n";
    json += "    \"version\": " + std::to_string(kProfileVersion) + ",\n";
    json += "    \"saved\": " + JsonString(p.saved) + ",\n";
    json += "    \"program\": " + JsonString(p.program) + ",\n";
    json += "    \"sensor\": {\n";
    json += "        \"model string\": " + JsonString(id.modelString) + ",\n";
    json += "        \"model type\": " + std::to_string(static_cast<int>(id.modelType)) + ",\n";
    json += "        \"model name\": " + JsonString(id.modelName) + ",\n";
    json += "        \"serial\": " + JsonString(id.serial) + ",\n";
    json += "        \"firmware\": " + JsonString(id.firmware) + ",\n";
    json += "        \"revision\": " + JsonString(id.revision) + ",\n";
    json += "        \"fpga\": " + JsonString(id.fpga) + ",\n";
    json += "        \"check method\": " + JsonString(CheckMethodName(id.method)) + ",\n";
    json += "        \"address\": " + std::to_string(id.address) + ",\n";
    json += "        \"speed\": " + std::to_string(id.speed) + "\n";
    json += "    },\n";
    json += "    \"settings\": " + SettingsJson(p.settings, 8) + ",\n";
    json += "    \"records\": {";
    for (std::size_t i = 0; i < p.records.size(); ++i)
        json += (i ? ",\n" : "\n") + std::string(8, ' ') + JsonString(p.records[i].command) + ": " +
                JsonString(p.records[i].hex);
    json += "\n    }\n}\n";
    return json;
}

// --- reading ----------------------------------------------------------------------

namespace {

// Checks one part of the document after another; the first problem is kept.
class ProfileParser {
public:
    std::string error;

    const JsonValue* Member(const JsonValue& object, const char* key, JsonValue::Kind kind,
                            const char* where) {
        const JsonValue* value = object.Find(key);
        if (!value)
            Damaged(where + std::string(" lacks \"") + key + "\"");
        else if (value->kind != kind)
            Damaged(where + std::string(" has a \"") + key + "\" of the wrong kind");
        else
            return value;
        return nullptr;
    }

    std::optional<std::string> Text(const JsonValue& object, const char* key, const char* where,
                                    std::size_t longest = 64) {
        const JsonValue* value = Member(object, key, JsonValue::Kind::String, where);
        if (!value)
            return std::nullopt;
        std::optional<std::string> latin1 = Latin1FromUtf8(value->text);
        if (!latin1 || latin1->size() > longest) {
            Damaged(where + std::string(" has a \"") + key + "\" no sensor reports");
            return std::nullopt;
        }
        return latin1;
    }

    std::optional<long> Whole(const JsonValue& object, const char* key, const char* where,
                              long lowest, long highest) {
        const JsonValue* value = Member(object, key, JsonValue::Kind::Number, where);
        if (!value)
            return std::nullopt;
        const std::optional<std::int64_t> number = WholeNumberText(value->text);
        if (!number || *number < lowest || *number > highest) {
            Damaged(where + std::string(" has a \"") + key + "\" out of its range");
            return std::nullopt;
        }
        return static_cast<long>(*number);
    }

    // Keeps the first problem; always false, so a check can end with it.
    bool Damaged(const std::string& what) {
        if (error.empty())
            error = "is damaged: " + what;
        return false;
    }
};

bool ReadIdentity(ProfileParser& p, const JsonValue& sensor, ProfileIdentity& id) {
    const char* where = "\"sensor\"";
    std::optional<std::string> modelString = p.Text(sensor, "model string", where, 16);
    std::optional<long> type =
        p.Whole(sensor, "model type", where, 0, static_cast<long>(kModelTypeCount) - 1);
    std::optional<std::string> modelName = p.Text(sensor, "model name", where);
    std::optional<std::string> serial = p.Text(sensor, "serial", where, 16);
    std::optional<std::string> firmware = p.Text(sensor, "firmware", where);
    std::optional<std::string> revision = p.Text(sensor, "revision", where, 1);
    std::optional<std::string> fpga = p.Text(sensor, "fpga", where);
    std::optional<std::string> method = p.Text(sensor, "check method", where);
    std::optional<long> address = p.Whole(sensor, "address", where, 1, 255);
    std::optional<long> speed = p.Whole(sensor, "speed", where, 9600, 57600);
    if (!p.error.empty())
        return false;
    const std::optional<CheckMethod> checkMethod = CheckMethodNamed(*method);
    if (!checkMethod)
        return p.Damaged("\"check method\" is neither checksum nor crc");
    if (SensorDevice::BaudRateCode(static_cast<std::int32_t>(*speed)) < 0)
        return p.Damaged("\"speed\" is no speed the sensors know");
    id = {*modelString,
          static_cast<ModelType>(*type),
          *modelName,
          *serial,
          *firmware,
          *revision,
          *fpga,
          *checkMethod,
          static_cast<std::uint8_t>(*address),
          static_cast<std::int32_t>(*speed)};
    return true;
}

// Setting names ("min-laser-power") and command names ("GetSensorSetup").
bool PlainName(const std::string& name) {
    return !name.empty() && name.size() <= 40 &&
           name.find_first_not_of(
               "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-") ==
               std::string::npos;
}

// The largest number any setting could mean: beyond it a value is not a mistyped setting
// but a damaged or hostile file.
constexpr double kLargestSettingNumber = 1e9;
constexpr std::size_t kMostSettings = 64;
constexpr std::size_t kMostRecords = 32;

bool ReadSettings(ProfileParser& p, const JsonValue& object, SettingValues& settings) {
    if (object.keys.size() > kMostSettings)
        return p.Damaged("more settings than any model has");
    for (std::size_t i = 0; i < object.keys.size(); ++i) {
        const std::string& name = object.keys[i];
        const JsonValue& entry = object.items[i];
        const std::string where = "the setting " + JsonString(name);
        if (!PlainName(name))
            return p.Damaged("a setting without a proper name");
        if (entry.kind != JsonValue::Kind::Object)
            return p.Damaged(where + " is not an object");
        const JsonValue* value = entry.Find("value");
        if (!value ||
            (value->kind != JsonValue::Kind::Number && value->kind != JsonValue::Kind::String))
            return p.Damaged(where + " has no value");
        if (value->kind == JsonValue::Kind::Number &&
            !(std::fabs(TextAsNumber(value->text)) <= kLargestSettingNumber))
            return p.Damaged(where + " holds a number no setting takes");
        SettingValue s;
        s.name = name;
        std::optional<std::string> text = Latin1FromUtf8(value->text);
        if (!text || text->size() > 64)
            return p.Damaged(where + " holds a value no setting takes");
        s.value = *text;
        const std::pair<const char*, std::string*> texts[] = {
            {"unit", &s.unit}, {"row", &s.row}, {"text", &s.text}};
        for (const auto& [key, field] : texts) {
            if (!entry.Find(key))
                continue;
            std::optional<std::string> t = p.Text(entry, key, where.c_str());
            if (!t)
                return false;
            *field = *t;
        }
        settings.push_back(std::move(s));
    }
    return true;
}

bool ReadRecords(ProfileParser& p, const JsonValue& object, std::vector<ProfileRecord>& records) {
    if (object.keys.size() > kMostRecords)
        return p.Damaged("more records than a sensor sends");
    for (std::size_t i = 0; i < object.keys.size(); ++i) {
        const std::string& name = object.keys[i];
        const JsonValue& hex = object.items[i];
        const bool hexDigits =
            hex.kind == JsonValue::Kind::String && hex.text.size() % 2 == 0 &&
            hex.text.size() <= 2 * kMaxPayload &&
            hex.text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
        if (!hexDigits || !PlainName(name))
            return p.Damaged("the record " + JsonString(name) + " is not hex");
        records.push_back({name, hex.text});
    }
    return true;
}

} // namespace

ProfileRead ParseProfile(std::string_view text) {
    ProfileRead result;
    JsonLimits limits;
    limits.maxBytes = kMaxProfileBytes;
    JsonParse json = ParseJson(text, limits);
    if (!json.value) {
        result.error = "is not a sensor profile (" + json.error + ")";
        return result;
    }
    const JsonValue& root = *json.value;
    const JsonValue* format = root.Find("format");
    if (!format || format->kind != JsonValue::Kind::String || format->text != kProfileFormat) {
        result.error = "is not a Korvel sensor profile";
        return result;
    }
    const JsonValue* version = root.Find("version");
    std::optional<std::int64_t> number;
    if (version && version->kind == JsonValue::Kind::Number)
        number = WholeNumberText(version->text);
    if (!number || *number < 1) {
        result.error = "is damaged: it names no version";
        return result;
    }
    if (*number > kProfileVersion) {
        result.error = "was saved by a newer program (profile version " + std::to_string(*number) +
                       "; this one reads version " + std::to_string(kProfileVersion) + ")";
        return result;
    }

    ProfileParser p;
    SensorProfile profile;
    std::optional<std::string> saved = p.Text(root, "saved", "the profile");
    std::optional<std::string> program = p.Text(root, "program", "the profile");
    const JsonValue* sensor = p.Member(root, "sensor", JsonValue::Kind::Object, "the profile");
    const JsonValue* settings = p.Member(root, "settings", JsonValue::Kind::Object, "the profile");
    const JsonValue* records = root.Find("records");
    if (records && records->kind != JsonValue::Kind::Object)
        p.Damaged("\"records\" is not an object");
    if (p.error.empty() && ReadIdentity(p, *sensor, profile.identity) &&
        ReadSettings(p, *settings, profile.settings) &&
        (!records || ReadRecords(p, *records, profile.records))) {
        profile.saved = *saved;
        profile.program = *program;
        result.profile = std::move(profile);
        return result;
    }
    result.error = p.error;
    return result;
}

ProfileRead ReadProfileFile(const std::string& path) {
    ProfileRead result;
    std::error_code ec;
    // A FIFO or a device would block the read or never end it.
    if (!fs::is_regular_file(path, ec)) {
        result.error = path + (fs::exists(path, ec) ? " is not a regular file" : " does not exist");
        return result;
    }
    std::ifstream file(path, std::ios::binary);
    std::string text;
    if (file) {
        text.resize(kMaxProfileBytes + 1);
        file.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(file.gcount()));
    }
    if (!file && !file.eof()) {
        result.error = path + " cannot be read";
        return result;
    }
    if (text.size() > kMaxProfileBytes) {
        result.error = path + " is larger than a sensor profile can be (" +
                       std::to_string(kMaxProfileBytes / 1024) + " KiB)";
        return result;
    }
    result = ParseProfile(text);
    if (!result.profile)
        result.error = path + " " + result.error;
    return result;
}

bool WriteProfileFile(const std::string& path, const SensorProfile& profile, std::string* error) {
    std::error_code ec;
    const fs::path target(path);
    if (fs::exists(fs::symlink_status(target, ec))) {
        const ProfileRead existing = ReadProfileFile(path);
        if (!existing.profile) {
            *error = path + " exists and is not a sensor profile this program reads; it is left "
                            "as it is";
            return false;
        }
    }
    std::string why;
    if (!ReplaceFileWhole(path, ProfileJson(profile), &why)) {
        *error = "Could not write the sensor profile " + path + ": " + why;
        return false;
    }
    return true;
}

// --- comparing --------------------------------------------------------------------

bool SameSetting(const SettingValue& a, const SettingValue& b) {
    if (a.unit != b.unit)
        return false;
    if (IsExactlyOneNumber(a.value) && IsExactlyOneNumber(b.value))
        return TextAsNumber(a.value) == TextAsNumber(b.value);
    return a.value == b.value;
}

std::string SettingDisplay(const SettingValue& s) {
    if (!s.unit.empty())
        return s.value + " " + s.unit;
    // The dialog's text says it better ("On", "Enabled", a mode's description), unless the
    // value has been edited since: then the text no longer tells it.
    if (s.text.empty() || s.text == s.value || IsExactlyOneNumber(s.text))
        return s.value;
    if (IsExactlyOneNumber(s.value) && s.text.rfind(s.value + ":", 0) != 0)
        return s.value;
    return s.text;
}

ProfileDifferences CompareProfiles(const SensorProfile& first, const SensorProfile& second) {
    ProfileDifferences d;
    const std::string none = "(none)";
    for (const SettingValue& a : first.settings) {
        const SettingValue* b = second.Find(a.name);
        if (!b)
            d.settings.push_back({a.name, SettingDisplay(a), none});
        else if (!SameSetting(a, *b))
            d.settings.push_back({a.name, SettingDisplay(a), SettingDisplay(*b)});
    }
    for (const SettingValue& b : second.settings)
        if (!first.Find(b.name))
            d.settings.push_back({b.name, none, SettingDisplay(b)});

    const ProfileIdentity& x = first.identity;
    const ProfileIdentity& y = second.identity;
    const auto field = [&](const char* name, const std::string& a, const std::string& b) {
        if (a != b)
            d.identity.push_back({name, a, b});
    };
    field("model string", x.modelString, y.modelString);
    field("model name", x.modelName, y.modelName);
    field("serial", x.serial, y.serial);
    field("firmware", x.firmware, y.firmware);
    field("fpga", x.fpga, y.fpga);
    field("address", std::to_string(x.address), std::to_string(y.address));
    field("speed", std::to_string(x.speed), std::to_string(y.speed));
    field("check method", CheckMethodName(x.method), CheckMethodName(y.method));
    return d;
}

} // namespace vk
