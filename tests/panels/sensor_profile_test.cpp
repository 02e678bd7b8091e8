// Sensor profile files without a sensor: what is written reads back, what is damaged,
// foreign or too new is refused with its reason, and a file is replaced whole or not at all.
#include "panels/sensor_profile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

using namespace vk;
namespace fs = std::filesystem;

namespace {

SensorProfile Sample() {
    SensorProfile p;
    p.saved = "2024-05-31T12:03:07Z";
    p.program = "vkctl 1.0.1";
    p.identity = {"0 VKT-02\xe9", ModelType::VKT02,   "VKT02", "VK000001", "1.23B", "B",
                  "2.5",          CheckMethod::Crc16, 7,       19200};
    p.settings = {
        {"mode", "Mode", "8:  From 0.0000 to 3.2000 inch", "8", ""},
        {"range-offset", "Range Offset", "1.234", "1.2345", "inch"},
        {"laser", "Laser", "Off", "off", ""},
        {"averaging-period", "Averaging Period(ms)", "Unknown version", "Unknown version", "ms"}};
    p.records = {{"GetSensorSetup", "0102ff"}};
    return p;
}

std::string Slurp(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

struct TempDir {
    TempDir() {
        fs::path made =
            fs::temp_directory_path() / ("vk-profile-" + std::to_string(std::random_device{}()));
        fs::create_directories(made);
        path = made.string();
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    std::string path;
};

} // namespace

TEST(SensorProfile, ReadsBackWhatItWrites) {
    const SensorProfile sample = Sample();
    const std::string json = ProfileJson(sample);
    // Numbers go out as JSON numbers, as they were formatted; the sensor's byte as an escape.
    EXPECT_NE(json.find("\"range-offset\": {\"value\": 1.2345, \"unit\": \"inch\""),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"model string\": \"0 VKT-02\\u00e9\""), std::string::npos);
    const ProfileRead read = ParseProfile(json);
    ASSERT_TRUE(read.profile) << read.error;
    const SensorProfile& p = *read.profile;
    EXPECT_EQ(p.identity.modelString, sample.identity.modelString);
    EXPECT_EQ(p.identity.method, CheckMethod::Crc16);
    EXPECT_EQ(p.identity.address, 7);
    EXPECT_EQ(p.identity.speed, 19200);
    ASSERT_EQ(p.settings.size(), sample.settings.size());
    for (std::size_t i = 0; i < p.settings.size(); ++i) {
        EXPECT_EQ(p.settings[i].name, sample.settings[i].name);
        EXPECT_EQ(p.settings[i].value, sample.settings[i].value);
        EXPECT_EQ(p.settings[i].unit, sample.settings[i].unit);
        EXPECT_EQ(p.settings[i].text, sample.settings[i].text);
    }
    EXPECT_EQ(p.records[0].hex, "0102ff");
}

TEST(SensorProfile, RefusesWhatIsDamagedForeignOrNewer) {
    const std::string good = ProfileJson(Sample());
    const auto edited = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::pair<std::string, std::string> cases[] = {
        {good.substr(0, good.size() / 2), "is not a sensor profile ("},
        {"{\"format\": \"something else\"}", "is not a Korvel sensor profile"},
        {"\x89PNG\r\n", "is not a sensor profile (not a JSON value at byte 0)"},
        {edited("\"version\": 1", "\"version\": 2"),
         "was saved by a newer program (profile version 2; this one reads version 1)"},
        {edited("\"model type\": 0", "\"model type\": 9"),
         "is damaged: \"sensor\" has a \"model type\" out of its range"},
        {edited("\"speed\": 19200", "\"speed\": 12345"),
         "is damaged: \"speed\" is no speed the sensors know"},
        {edited("\"serial\": ", "\"serial number\": "), "is damaged: \"sensor\" lacks \"serial\""},
        {edited("{\"value\": 1.2345", "{\"value\": 1e300"),
         "is damaged: the setting \"range-offset\" holds a number no setting takes"},
        {edited("{\"value\": \"off\"", "{\"value\": [1]"),
         "is damaged: the setting \"laser\" has no value"},
        {edited("\"0102ff\"", "\"01zz\""), "is damaged: the record \"GetSensorSetup\" is not hex"},
    };
    for (const auto& [text, error] : cases) {
        const ProfileRead read = ParseProfile(text);
        EXPECT_FALSE(read.profile) << error;
        EXPECT_EQ(read.error.substr(0, error.size()), error);
    }
}

TEST(SensorProfile, FilesAreReadBoundedAndReplacedWholeOrNotAtAll) {
    TempDir dir;
    const std::string path = dir.path + "/old.json";
    std::string error;
    ASSERT_TRUE(WriteProfileFile(path, Sample(), &error)) << error;
    EXPECT_TRUE(ReadProfileFile(path).profile);
    // A profile is replaced; any other file stays as it is.
    SensorProfile other = Sample();
    other.identity.serial = "VK000002";
    ASSERT_TRUE(WriteProfileFile(path, other, &error)) << error;
    EXPECT_EQ(ReadProfileFile(path).profile->identity.serial, "VK000002");
    const std::string notes = dir.path + "/notes.json";
    std::ofstream(notes) << "my notes";
    EXPECT_FALSE(WriteProfileFile(notes, Sample(), &error));
    EXPECT_EQ(error, notes + " exists and is not a sensor profile this program reads; it is "
                             "left as it is");
    EXPECT_EQ(Slurp(notes), "my notes");
    EXPECT_FALSE(fs::exists(notes + ".new"));

    // 100 MB (a sparse file) is refused after reading one byte more than a profile may have.
    const std::string huge = dir.path + "/huge.json";
    std::ofstream{huge};
    fs::resize_file(huge, 100 << 20);
    EXPECT_EQ(ReadProfileFile(huge).error,
              huge + " is larger than a sensor profile can be (1024 KiB)");
    EXPECT_EQ(ReadProfileFile(dir.path + "/none.json").error,
              dir.path + "/none.json does not exist");
}

TEST(SensorProfile, ComparesValuesNotTheirSpelling) {
    const SettingValue a{"averaging-period", "", "9.60", "9.60", "ms"};
    SettingValue b = a;
    b.value = "9.600";
    EXPECT_TRUE(SameSetting(a, b));
    b.unit = "s";
    EXPECT_FALSE(SameSetting(a, b));

    SensorProfile first = Sample();
    SensorProfile second = Sample();
    second.identity.serial = "VK000002";
    second.settings[1].value = "1.2340";
    second.settings.pop_back();
    const ProfileDifferences d = CompareProfiles(first, second);
    ASSERT_EQ(d.settings.size(), 2u);
    EXPECT_EQ(d.settings[0].name, "range-offset");
    EXPECT_EQ(d.settings[0].first, "1.2345 inch");
    EXPECT_EQ(d.settings[0].second, "1.2340 inch");
    EXPECT_EQ(d.settings[1].second, "(none)");
    ASSERT_EQ(d.identity.size(), 1u);
    EXPECT_EQ(d.identity[0].name, "serial");
}
