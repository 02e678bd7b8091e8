// Sensor profiles and commissioning from vkctl against simulated sensors: a backup
// restored into a second sensor of the same model gives it the first one's values,
// hostile or foreign profiles send nothing, and each change of the line settings is
// proven by a reconnect.
#include "cli/vkctl_commands.h"
#include "sim/sim_line.h"
#include "sim_test_support.h"
#include "vkctl_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

using namespace vk;
using namespace vk::cli;
using namespace vk::cli::test;

namespace {

using VkctlProfile = sim::test::SimLineFixture;

sim::SensorConfig Config(const std::string& model, std::uint8_t address, char revision = 'B') {
    sim::SensorConfig c = sim::ConfigForModel(model);
    c.address = address;
    char serial[16];
    std::snprintf(serial, sizeof serial, "VK%06u", static_cast<unsigned>(address));
    c.serialNumber = serial;
    c.revision = revision;
    return c;
}

// Gives every setting a profile carries a value other than the factory's, each within
// what the model's dialog accepts.
void ChangeEverything(sim::SensorState& s) {
    sim::SensorSettings& t = s.settings;
    const std::string& model = s.config.modelString;
    const bool vkt02 = model == "0 VKT-02" || model == "1 RMXLONG";
    t.maxLaserPower = 180;
    t.minLaserPower = 30;
    t.threshold = 77;
    t.analog.voltsAtMinRange = 500;
    t.analog.voltsAtMaxRange = 9500;
    t.analog.voltsOutOfRange = 250;
    if (vkt02) {
        t.rangeMode = 8; // 10000 counts per inch: the offset's fourth decimal must survive
        t.rangeOffset = 12345;
        t.cosine = 9000;
        t.multiplier = 1100;
        t.laserOn = false;
        t.scanInterval = 25;
        t.dropoutFactor = 6;
        t.smoothFactor = 9;
        t.orderFactor = 5;
        t.analog.minRange = 1000;
        t.analog.maxRange = 30000;
        t.analog.offsetVoltage = 120;
        t.configWords[2] = 0;
        t.configWords[3] = 3000; // 30 ms at 100 ticks a millisecond
    } else if (model == "0 RMX2000") {
        t.analog.minRange = 4000;
        t.analog.maxRange = 24000;
    } else {
        t.rangeMode = 1; // mm
        t.analog.minRange = 5000;
        t.analog.maxRange = 15000;
    }
    if (model == "0 K4-D-4") {
        t.holdLastValidRange = 1;
        t.holdScans = 7;
    } else if (model == "0 K4-D-4BF") {
        t.wane.minHeight = 1250;
        t.wane.minWidth = 800;
        t.wane.conveyorSpeed = 750;
        t.wane.pulseDurationMs = 120;
        t.boardTimeoutMs = 2500;
    }
}

// What a profile carries of a sensor's state, as the sensor keeps it.
auto Kept(const sim::SensorState& s) {
    const sim::SensorSettings& t = s.settings;
    const sim::AnalogFactors& a = t.analog;
    return std::make_tuple(t.maxLaserPower, t.minLaserPower, t.threshold, t.rangeMode,
                           t.rangeOffset, t.cosine, t.multiplier, t.laserOn, t.scanInterval,
                           t.dropoutFactor, t.smoothFactor, t.orderFactor, a.minRange, a.maxRange,
                           a.voltsAtMinRange, a.voltsAtMaxRange, a.offsetVoltage, a.voltsOutOfRange,
                           t.holdLastValidRange, t.holdScans, t.wane.minHeight, t.wane.minWidth,
                           t.wane.conveyorSpeed, t.wane.pulseDurationMs, t.boardTimeoutMs);
}

std::string Slurp(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

// The codes of every command that changes a setting or a line setting.
bool AnySettingCommand(const std::vector<int>& ids) {
    for (int code : {1,  2,  5,  8,  9,  14, 18, 26, 33, 36, 40, 46, 48, 66,
                     67, 77, 80, 81, 82, 83, 84, 90, 91, 92, 93, 94, 146})
        if (Contains(ids, code))
            return true;
    return false;
}

} // namespace

TEST_F(VkctlProfile, EachModelRestoresIntoAnotherAndComparesClean) {
    // Pairs of one model: the old sensor (odd address) and its replacement. The Rmx Long
    // replacement has revision C firmware, whose ticks are ten times finer.
    const std::pair<const char*, char> models[] = {
        {"VKT02", 'B'}, {"VKT04", 'B'}, {"RMXS", 'B'}, {"RMXL", 'C'}, {"BF", 'B'}};
    std::vector<sim::SensorConfig> sensors;
    for (std::uint8_t i = 0; i < 5; ++i) {
        sensors.push_back(Config(models[i].first, static_cast<std::uint8_t>(2 * i + 1)));
        sensors.push_back(
            Config(models[i].first, static_cast<std::uint8_t>(2 * i + 2), models[i].second));
    }
    StartLine(sensors);
    const std::string path = TemporaryFile("");
    std::remove(path.c_str());
    for (std::uint8_t i = 0; i < 5; ++i) {
        const std::string from = std::to_string(2 * i + 1);
        const std::string to = std::to_string(2 * i + 2);
        SCOPED_TRACE(models[i].first);
        line->Modify(static_cast<std::uint8_t>(2 * i + 1), ChangeEverything);

        Outcome backup = RunVkctl({"--checksum", "--address", from, "backup", path});
        ASSERT_EQ(backup.status, kOk) << backup.err;
        if (i == 0) { // read by another JSON reader; the offset's fourth decimal is kept
            EXPECT_EQ(JsonQuery(Slurp(path), "d['settings']['range-offset']"),
                      "{'value': 1.2345, 'unit': 'inch', 'row': 'Range Offset', 'text': '1.234'}");
        }
        Outcome restore = RunVkctl({"--checksum", "--address", to, "restore", path});
        EXPECT_EQ(restore.status, kOk) << restore.out << restore.err;
        EXPECT_EQ(restore.err, "");
        EXPECT_NE(restore.out.find(",verified,"), std::string::npos) << restore.out;
        EXPECT_EQ(Kept(line->Snapshot(static_cast<std::uint8_t>(2 * i + 1))),
                  Kept(line->Snapshot(static_cast<std::uint8_t>(2 * i + 2))));
        // Only the identity differs now: serial number (firmware) and address.
        Outcome diff = RunVkctl({"--checksum", "--address", to, "diff", path});
        EXPECT_EQ(diff.status, kOk) << diff.out << diff.err;
        const std::string firmware =
            models[i].second == 'C' ? "identity,firmware,1.23C,1.23B\n" : "";
        EXPECT_EQ(diff.out, "kind,name,sensor,profile\nidentity,serial," +
                                sensors[2 * i + 1].serialNumber + "," +
                                sensors[2 * i].serialNumber + "\n" + firmware +
                                "identity,address," + to + "," + from + "\n");
    }
    // The averaging period travels in milliseconds: 3000 ticks of 10 us are 30000 of 1 us.
    EXPECT_EQ(line->Snapshot(7).settings.configWords[3], 3000);
    EXPECT_EQ(line->Snapshot(8).settings.configWords[3], 30000);

    // Inch at 100 counts into inch at 1000: the ranges read alike before the mode changes
    // and a hundred inch apart after it, so every one of them is written.
    line->Modify(1, [](sim::SensorState& s) {
        s.settings.rangeMode = 4;
        s.settings.rangeOffset = 1234;
        s.settings.analog.minRange = 500;
        s.settings.analog.maxRange = 1000;
    });
    line->Modify(2, [](sim::SensorState& s) {
        s.settings.rangeMode = 0;
        s.settings.rangeOffset = 12340;
        s.settings.analog.minRange = 5000;
        s.settings.analog.maxRange = 10000;
    });
    ASSERT_EQ(RunVkctl({"--checksum", "--address", "1", "backup", path}).status, kOk);
    Outcome rescaled = RunVkctl({"--checksum", "--address", "2", "restore", path});
    EXPECT_EQ(rescaled.status, kOk) << rescaled.out << rescaled.err;
    EXPECT_NE(rescaled.out.find("\nanalog-max-range,verified,10.00 inch,10.00 inch,\n"),
              std::string::npos)
        << rescaled.out;
    EXPECT_EQ(Kept(line->Snapshot(1)), Kept(line->Snapshot(2)));
    std::remove(path.c_str());
}

TEST_F(VkctlProfile, RefusedValuesDryRunsForeignModelsAndDamagedFilesSendNothing) {
    StartLine({Config("VKT02", 1), Config("VKT02", 2), Config("VKT04", 3)});
    line->Modify(1, ChangeEverything);
    const std::string path = TemporaryFile("");
    std::remove(path.c_str());
    ASSERT_EQ(RunVkctl({"--checksum", "backup", path}).status, kOk);
    const std::string profile = Slurp(path);

    // A dry run reads and says what it would write; no setting command goes out.
    line->TakeReceived();
    Outcome dry =
        RunVkctl({"--checksum", "--address", "2", "--json", "restore", path, "--dry-run"});
    EXPECT_EQ(dry.status, kOk) << dry.err;
    EXPECT_EQ(JsonQuery(dry.out, "[r['outcome'] for r in d if r['name'] == 'threshold'], "
                                 "[r['outcome'] for r in d if r['name'] == 'address']"),
              "(['would write'], ['skipped'])");
    EXPECT_FALSE(AnySettingCommand(PacketIds(line->TakeReceived(), CheckMethod::Checksum)));
    EXPECT_EQ(line->Snapshot(2).settings.threshold, 40);

    // A value out of its dialog's bounds is refused with the dialog's text; the rest goes in.
    const std::string edited = TemporaryFile(
        Replaced(profile, "\"threshold\": {\"value\": 77", "\"threshold\": {\"value\": 300"));
    Outcome refused = RunVkctl({"--checksum", "--address", "2", "restore", edited});
    EXPECT_EQ(refused.status, kSensorFailed);
    EXPECT_EQ(refused.err, "threshold: Thresholdmust be between 0 and 255\n");
    EXPECT_NE(refused.out.find("\nthreshold,refused,300,40,Thresholdmust be between 0 and 255\n"),
              std::string::npos)
        << refused.out;
    EXPECT_EQ(line->Snapshot(2).settings.threshold, 40);
    EXPECT_EQ(line->Snapshot(2).settings.rangeOffset, 12345);
    // A unit the file brings is quoted on the terminal, but never as an escape sequence.
    const std::string hostile =
        TemporaryFile(Replaced(profile, "\"threshold\": {\"value\": 77",
                               "\"threshold\": {\"unit\": \"\\u001b[2J\", \"value\": 77"));
    Outcome escaped = RunVkctl({"--checksum", "--address", "2", "restore", hostile});
    EXPECT_EQ(escaped.status, kSensorFailed);
    EXPECT_EQ(escaped.err.find('\x1b'), std::string::npos) << escaped.err;
    EXPECT_NE(escaped.err.find("threshold is in \\x1b[2J"), std::string::npos) << escaped.err;

    // Before its firmware revision is known a sensor takes no period in milliseconds.
    line->InjectFault(2, {sim::FaultKind::Silence, 1, 0, 0, {}, 30});
    Outcome unknown = RunVkctl({"--checksum", "--address", "2", "restore", path});
    EXPECT_EQ(unknown.status, kSensorFailed);
    EXPECT_NE(unknown.err.find("averaging-period cannot be converted while the sensor shows "
                               "\"Unknown version\"\n"),
              std::string::npos)
        << unknown.err;
    EXPECT_EQ(line->Snapshot(2).settings.configWords[3], 3000); // not 30 ticks

    // A profile without a mode leaves the sensor in its own, whose unit its ranges must have.
    std::string modeless = profile;
    const std::size_t modeAt = modeless.find("\"mode\": {");
    ASSERT_NE(modeAt, std::string::npos);
    modeless.erase(modeAt, modeless.find('\n', modeAt) + 1 - modeAt);
    const std::string noMode = TemporaryFile(modeless);
    line->Modify(2, [](sim::SensorState& s) { s.settings.rangeMode = 2; }); // mm
    const sim::AnalogFactors analog = line->Snapshot(2).settings.analog;
    Outcome inMm = RunVkctl({"--checksum", "--address", "2", "restore", noMode});
    EXPECT_EQ(inMm.status, kSensorFailed);
    EXPECT_NE(
        inMm.err.find("analog-max-range: analog-max-range is in inch, where the sensor's mode "
                      "counts in mm\n"),
        std::string::npos)
        << inMm.err;
    EXPECT_EQ(std::make_tuple(line->Snapshot(2).settings.analog.minRange,
                              line->Snapshot(2).settings.analog.maxRange),
              std::make_tuple(analog.minRange, analog.maxRange));

    // A sensor that falls back to its old mode gets no value typed in the new one. (It
    // acknowledges the mode, with the CRC, once it has fallen back.)
    line->Modify(2, [](sim::SensorState& s) { s.config.method = CheckMethod::Crc16; });
    line->InjectFault(2, {sim::FaultKind::ExtraDelay, 1, 200, 0, {}, 9});
    Outcome fellBack;
    std::thread run([&] { fellBack = RunVkctl({"--crc", "--address", "2", "restore", path}); });
    ASSERT_TRUE(line->WaitForState(
        2, [](const sim::SensorState& s) { return s.settings.rangeMode == 8; }, 5000));
    line->Modify(2, [](sim::SensorState& s) { s.settings.rangeMode = 2; });
    run.join();
    EXPECT_EQ(fellBack.status, kSensorFailed);
    EXPECT_NE(fellBack.err.find("analog-max-range: not written: the mode did not take\n"),
              std::string::npos)
        << fellBack.out << fellBack.err;
    EXPECT_EQ(std::make_tuple(line->Snapshot(2).settings.analog.minRange,
                              line->Snapshot(2).settings.analog.maxRange),
              std::make_tuple(analog.minRange, analog.maxRange));
    line->Modify(2, [](sim::SensorState& s) { s.config.method = CheckMethod::Checksum; });

    // Another model's profile: exit 2 after the connect's reads alone.
    line->TakeReceived();
    Outcome foreign = RunVkctl({"--checksum", "--address", "3", "restore", path});
    EXPECT_EQ(foreign.status, kUsageError);
    EXPECT_EQ(foreign.err, "vkctl: " + path +
                               ": The profile is of a VKT02; this sensor is a VKT04. Nothing was "
                               "written.\n");
    EXPECT_FALSE(AnySettingCommand(PacketIds(line->TakeReceived(), CheckMethod::Checksum)));

    // A damaged file is refused before the line is touched.
    const std::string damaged = TemporaryFile(profile.substr(0, profile.size() - 40));
    Outcome broken = RunVkctl({"--checksum", "--address", "2", "restore", damaged});
    EXPECT_EQ(broken.status, kUsageError);
    EXPECT_EQ(broken.err.rfind("vkctl: " + damaged + " is not a sensor profile (", 0), 0u)
        << broken.err;
    EXPECT_TRUE(line->TakeReceived().empty());
    // And a backup never replaces what is not a profile.
    EXPECT_EQ(RunVkctl({"--checksum", "backup", damaged}).status, kUsageError);
    EXPECT_TRUE(line->TakeReceived().empty());
    for (const std::string& p : {path, edited, hostile, damaged, noMode})
        std::remove(p.c_str());
}

TEST_F(VkctlProfile, LineSettingsMoveOnlyWhereTheSensorProvesToAnswer) {
    StartLine({Config("VKT02", 1)});
    const std::string path = TemporaryFile("");
    std::remove(path.c_str());
    ASSERT_EQ(RunVkctl({"backup", path}).status, kOk);

    line->TakeReceived();
    Outcome address = RunVkctl({"--checksum", "set-address", "7"});
    EXPECT_EQ(address.status, kOk) << address.err;
    EXPECT_EQ(address.out, "address: 7\nspeed: 57600\ncheck method: checksum\n");
    EXPECT_EQ(line->Snapshot(7).config.serialNumber, "VK000001");
    // By serial number through the global address, as the address dialog does.
    std::vector<std::uint8_t> record = {'V', 'K', '0', '0', '0', '0', '0', '1', 7};
    const std::vector<std::uint8_t> sent = line->TakeReceived();
    const std::vector<std::uint8_t> frame = sim::test::Frame(CheckMethod::Checksum, 0, 18, record);
    EXPECT_NE(std::search(sent.begin(), sent.end(), frame.begin(), frame.end()), sent.end());

    Outcome baud = RunVkctl({"--checksum", "--address", "7", "--json", "set-baud", "19200"});
    EXPECT_EQ(JsonQuery(baud.out, "d['speed']"), "19200") << baud.err;
    EXPECT_EQ(line->Snapshot(7).config.baudRate, 19200);
    Outcome method = RunVkctl({"--baud", "19200", "--address", "7", "set-check-method", "crc"});
    EXPECT_EQ(method.out, "address: 7\nspeed: 19200\ncheck method: crc\n") << method.err;
    EXPECT_EQ(line->Snapshot(7).config.method, CheckMethod::Crc16);
    const std::vector<std::uint8_t> sent2 = line->TakeReceived();
    for (const auto& f : {sim::test::Frame(CheckMethod::Checksum, 7, 92, {1}),
                          sim::test::Frame(CheckMethod::Checksum, 7, 77, {0})})
        EXPECT_NE(std::search(sent2.begin(), sent2.end(), f.begin(), f.end()), sent2.end());

    // The sensor takes the new speed but is not to be found there: exit 1, and the line
    // says where it answered before.
    Outcome lost;
    std::thread run([&] {
        lost = RunVkctl({"--baud", "19200", "--address", "7", "--crc", "set-baud", "57600"});
    });
    ASSERT_TRUE(line->WaitForState(
        7, [](const sim::SensorState& s) { return s.config.baudRate == 57600; }, 5000));
    line->Modify(7, [](sim::SensorState& s) { s.config.baudRate = 9600; });
    run.join();
    EXPECT_EQ(lost.status, kSensorFailed);
    EXPECT_NE(lost.err.find("The sensor does not answer at address 7, 57600 baud, crc; before the "
                            "change it answered at address 7, 19200 baud, crc.\n"),
              std::string::npos)
        << lost.err;

    // A restore with --line-settings brings it back to the profile's, last.
    Outcome back =
        RunVkctl({"--baud", "9600", "--address", "7", "--crc", "restore", path, "--line-settings"});
    EXPECT_EQ(back.status, kOk) << back.out << back.err;
    EXPECT_NE(back.out.find("\naddress,verified,1,1,\nspeed,verified,57600,57600,\n"
                            "check method,verified,checksum,checksum,\n"),
              std::string::npos)
        << back.out;
    const sim::SensorState home = line->Snapshot(1);
    EXPECT_EQ(std::make_tuple(home.config.baudRate, home.config.method),
              std::make_tuple(57600, CheckMethod::Checksum));

    // Lost after its new address: the speed and the method after it were never sent.
    line->Modify(1, [](sim::SensorState& s) {
        s.config.address = 7;
        s.config.baudRate = 9600;
        s.config.method = CheckMethod::Crc16;
    });
    Outcome cut;
    std::thread restore([&] {
        cut = RunVkctl(
            {"--baud", "9600", "--address", "7", "--crc", "restore", path, "--line-settings"});
    });
    ASSERT_TRUE(line->WaitForState(
        1, [](const sim::SensorState&) { return true; }, 5000));
    line->Modify(1, [](sim::SensorState& s) { s.config.address = 9; });
    restore.join();
    EXPECT_EQ(cut.status, kSensorFailed);
    EXPECT_NE(
        cut.out.find("\naddress,different,1,no answer,\n"
                     "speed,skipped,57600,9600,not sent: an earlier change failed\n"
                     "check method,skipped,checksum,crc,not sent: an earlier change failed\n"),
        std::string::npos)
        << cut.out;
    EXPECT_EQ(cut.err.find("speed: written as"), std::string::npos) << cut.err;
    std::remove(path.c_str());
}
