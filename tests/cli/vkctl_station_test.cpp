// vkctl's test-station commands against simulated sensors: what they print (as text and
// as JSON), what they put on the line, how they exit.
#include "cli/vkctl_commands.h"
#include "cli/vkctl_options.h"
#include "panels/json_text.h"
#include "sim/sim_line.h"
#include "sim_test_support.h"
#include "vkctl_test_support.h"

#include <gtest/gtest.h>

#include <pty.h>
#include <termios.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace vk;
using namespace vk::cli;
using namespace vk::cli::test;

namespace {

// What a command writes to standard error when that is a terminal (a pseudo-terminal in
// raw mode here), beside its status and standard output.
struct TerminalRun {
    int status = -1;
    std::string out;
    std::string terminal;
};

TerminalRun RunOnTerminal(const std::vector<std::string>& args) {
    TerminalRun run;
    VkctlOptions options;
    std::string error;
    int master = -1, slave = -1;
    if (!ParseVkctlArguments(args, &options, &error) ||
        openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        return run;
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    std::FILE* out = std::tmpfile();
    std::FILE* err = fdopen(slave, "w");
    run.status = FindCommand(options.command)->run(options, out, err);
    std::fclose(err);
    std::rewind(out);
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, out))
        run.out.append(buffer, n);
    std::fclose(out);
    // The terminal holds what was written; with the writing end closed a read ends there.
    for (ssize_t n; (n = read(master, buffer, sizeof buffer)) > 0;)
        run.terminal.append(buffer, static_cast<std::size_t>(n));
    close(master);
    return run;
}

using VkctlStation = sim::test::SimLineFixture;

} // namespace

TEST(VkctlJson, EscapesUntrustedBytesAndKnowsItsNumbers) {
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString(std::string("\x01\n\x7f\xe9", 4)), "\"\\u0001\\u000a\\u007f\\u00e9\"");
    EXPECT_EQ(JsonQuery(JsonString(std::string("K\0\xff", 3)), "d == 'K\\x00\\xff'"), "True");
    for (const char* number : {"0", "-12", "3.25", "1e3", "-0.5E-2"})
        EXPECT_TRUE(IsJsonNumber(number)) << number;
    for (const char* text : {"", "007", "+1", ".5", "1.", "1.23C", " 2.5", "nan", "-", "1e"})
        EXPECT_FALSE(IsJsonNumber(text)) << text;
}

TEST_F(VkctlStation, SettingsAndSetOnAVkt02) {
    StartLine({sim::ConfigForModel("VKT02")});
    Outcome all = RunVkctl({"--checksum", "settings"});
    ASSERT_EQ(all.status, kOk) << all.err;
    EXPECT_EQ(Lines(all.out), 19u);
    EXPECT_EQ(all.out.rfind("mode: 0:  From 00.000 to  32.000 inch\nrange-offset: 0.000\n", 0), 0u)
        << all.out;
    // The names `set` takes; numbers as numbers, their unit apart, the dialog's text beside.
    Outcome json = RunVkctl({"--checksum", "--json", "settings"});
    EXPECT_EQ(JsonQuery(json.out, "len(d), d['threshold'], d['range-offset']['unit'], "
                                  "d['averaging-period']['value'], d['mode']['value']"),
              "(19, {'value': 40, 'row': 'Threshold', 'text': '40'}, 'inch', 15.0, 0)");

    Outcome set = RunVkctl({"--checksum", "set", "threshold", "77"});
    EXPECT_EQ(set.status, kOk) << set.err;
    EXPECT_EQ(set.out, "threshold: 77\n");
    EXPECT_EQ(line->Snapshot(1).settings.threshold, 77);
    // The range offset goes out with the multiplier and cosine the sensor holds.
    Outcome offset = RunVkctl({"--checksum", "--json", "set", "range-offset", "1.5"});
    EXPECT_EQ(JsonQuery(offset.out, "d['range-offset']"), "'1.500'");
    EXPECT_EQ(line->Snapshot(1).settings.rangeOffset, 1500);
    EXPECT_EQ(line->Snapshot(1).settings.cosine, 10000);

    // Refused as the dialog refuses: its warning, exit 1, no write on the line.
    line->TakeReceived();
    Outcome refused = RunVkctl({"--checksum", "set", "min-laser-power", "255"});
    EXPECT_EQ(refused.status, kSensorFailed);
    EXPECT_EQ(refused.err, "Min laser power must be between 1 and 254\n");
    EXPECT_EQ(refused.out, "");
    const std::vector<int> sent = PacketIds(line->TakeReceived(), CheckMethod::Checksum);
    EXPECT_TRUE(Contains(sent, 130)); // the reload read GetMinLP
    EXPECT_FALSE(Contains(sent, 84)); // SetMinLP never went out
    EXPECT_EQ(line->Snapshot(1).settings.minLaserPower, 20);

    // What the dialog's field could not hold is a usage error, as is an unknown name.
    EXPECT_EQ(RunVkctl({"--checksum", "set", "threshold", "-5"}).status, kUsageError);
    EXPECT_EQ(RunVkctl({"--checksum", "set", "hold-scans", "3"}).status, kUsageError);
    Outcome help = RunVkctl({"--checksum", "set", "--help"});
    EXPECT_NE(help.out.find("  averaging-period "), std::string::npos) << help.out;
    Outcome modes = RunVkctl({"--checksum", "set", "mode", "--help"});
    EXPECT_NE(modes.out.find("\n   2  2:  From 0000.0 to 3200.0mm\n"), std::string::npos)
        << modes.out;
    EXPECT_EQ(Lines(modes.out), 17u);
}

TEST_F(VkctlStation, SetOnTheVkt04FamilyFollowsEachModelsRules) {
    sim::SensorConfig vkt04 = sim::ConfigForModel("VKT04");
    sim::SensorConfig rmxs = sim::ConfigForModel("RMXS");
    rmxs.address = 2;
    sim::SensorConfig bf = sim::ConfigForModel("BF");
    bf.address = 3;
    StartLine({vkt04, rmxs, bf});
    Outcome hold = RunVkctl({"--checksum", "set", "hold-last-valid", "on"});
    EXPECT_EQ(hold.out, "hold-last-valid: Enabled\n") << hold.err;
    EXPECT_EQ(line->Snapshot(1).settings.holdLastValidRange, 1);
    EXPECT_EQ(RunVkctl({"--checksum", "set", "min-laser-power", "255"}).err,
              "Min laser power must be between 0 and 255\n");
    // Its power fields take a minus sign, for the check to refuse in its own words; the
    // Rmx Short's take digits only.
    EXPECT_EQ(RunVkctl({"--checksum", "set", "min-laser-power", "-5"}).err,
              "Min laser power must be between 0 and 255\n");
    EXPECT_EQ(RunVkctl({"--checksum", "--address", "3", "set", "max-laser-power", "-5"}).err,
              "Max laser power must be between 0 and 254\n");
    EXPECT_EQ(RunVkctl({"--checksum", "--address", "2", "set", "min-laser-power", "-5"}).status,
              kUsageError);
    // The Rmx Short checks nothing: 300 goes out in its low byte.
    Outcome rmx = RunVkctl({"--checksum", "--address", "2", "set", "max-laser-power", "300"});
    EXPECT_EQ(rmx.out, "max-laser-power: 44\n") << rmx.err;
    Outcome wane = RunVkctl({"--checksum", "--address", "3", "set", "board-timeout", "1234"});
    EXPECT_EQ(wane.out, "board-timeout: 1234\n") << wane.err;
    EXPECT_EQ(line->Snapshot(3).settings.boardTimeoutMs, 1234);
    Outcome bfSettings = RunVkctl({"--checksum", "--address", "3", "settings"});
    EXPECT_EQ(Lines(bfSettings.out), 14u) << bfSettings.out;
    // A command whose page the model's panel lacks says so instead of asking the sensor
    // something it does not know.
    EXPECT_EQ(RunVkctl({"--checksum", "state"}).err,
              "state is for VKT02 and Rmx Long sensors; this is a VKT04\n");
    EXPECT_EQ(RunVkctl({"--checksum", "--address", "2", "read-buffer", "0", "10"}).err,
              "read-buffer is for VKT02, Rmx Long and VKT04 Vezir Orududu sensors; this is a Rmx "
              "Short\n");
}

TEST_F(VkctlStation, ScanFilterAndErrors) {
    StartLine({sim::ConfigForModel("VKT02")});
    EXPECT_EQ(RunVkctl({"--checksum", "start-scan"}).status, kOk);
    EXPECT_TRUE(line->WaitForState(
        1, [](const sim::SensorState& s) { return s.scanning; }, 1000));
    Outcome stop = RunVkctl({"--checksum", "--json", "stop-scan"});
    EXPECT_EQ(stop.out, "{}\n");
    EXPECT_TRUE(line->WaitForState(
        1, [](const sim::SensorState& s) { return !s.scanning; }, 1000));

    Outcome filter = RunVkctl({"--checksum", "filter"});
    ASSERT_EQ(filter.status, kOk) << filter.err;
    EXPECT_EQ(Lines(filter.out), 5u);
    EXPECT_EQ(filter.out.rfind("High scan number: ", 0), 0u) << filter.out;
    EXPECT_NE(filter.out.find(" inch\nAverage scan value: "), std::string::npos) << filter.out;

    Outcome errors = RunVkctl({"--checksum", "--json", "errors"});
    ASSERT_EQ(errors.status, kOk) << errors.err;
    EXPECT_EQ(JsonQuery(errors.out, "len(d), d['Callibration status'], d['PowerUp count']"),
              "(6, 'Callibration OK', 1)");
}

TEST_F(VkctlStation, UploadDeliversTheImageAndAsksAboutUnusualSizes) {
    StartLine({sim::ConfigForModel("VKT02")});
    std::string bytes(300, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7);
    const std::string path = TemporaryFile(bytes);
    ASSERT_FALSE(path.empty());
    const std::vector<std::uint8_t> image(bytes.begin(), bytes.end());

    // 300 bytes is no FPGA image: without --yes nothing goes out, not even the connect.
    Outcome asked = RunVkctl({"--checksum", "upload", "fpga", path});
    EXPECT_EQ(asked.status, kSensorFailed);
    EXPECT_EQ(asked.err, "The file size is unusual for the type of upload you are trying to do. "
                         "Continue anyway? (--yes answers yes)\n");
    EXPECT_TRUE(line->TakeReceived().empty());

    Outcome cal = RunVkctl({"--checksum", "--json", "upload", "cal", path});
    ASSERT_EQ(cal.status, kOk) << cal.err;
    EXPECT_EQ(JsonQuery(cal.out, "d['bytes'], d['status']"), "(300, 'Successfully completed')");
    const sim::SensorState after = line->Snapshot(1);
    const std::vector<std::uint8_t>& received = after.flash.Image(sim::UploadKind::Calibration);
    ASSERT_EQ(received.size(), 384u);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), received.begin()));
    EXPECT_FALSE(after.flash.Unlocked());
    // A refused file is named, with the reason.
    EXPECT_EQ(RunVkctl({"upload", "dsp", "/nonexistent"}).err,
              "Error reading file /nonexistent: No such file or directory\n");
    EXPECT_EQ(RunVkctl({"upload", "cal", "/tmp"}).err, "Error reading file /tmp: a folder\n");
    std::remove(path.c_str());
}

TEST_F(VkctlStation, SerialAndModelWrites) {
    StartLine({sim::ConfigForModel("VKT02")});
    Outcome serial = RunVkctl({"--checksum", "set-serial", "SN4711"});
    EXPECT_EQ(serial.out, "model string: 0 VKT-02\nserial: SN4711\n") << serial.err;
    Outcome model = RunVkctl({"--checksum", "--json", "set-model", "1 RMXLONG"});
    EXPECT_EQ(JsonQuery(model.out, "d['model string']"), "'1 RMXLONG'") << model.err;
    line->TakeReceived();
    EXPECT_EQ(RunVkctl({"set-model", "9 NOSUCH"}).status, kUsageError);
    EXPECT_EQ(RunVkctl({"set-serial", "SIXTEEN-CHARS-XX"}).status, kUsageError);
    EXPECT_TRUE(line->TakeReceived().empty());
}

TEST_F(VkctlStation, ScanLineFindsSensorsItWasNeverToldAbout) {
    sim::SensorConfig a = sim::ConfigForModel("VKT02");
    a.address = 3;
    a.serialNumber = "VK000003";
    sim::SensorConfig b = sim::ConfigForModel("RMXL");
    b.address = 5;
    b.method = CheckMethod::Crc16;
    b.baudRate = 19200;
    b.serialNumber = "VK000005";
    sim::SensorConfig c = sim::ConfigForModel("VKT04");
    c.address = 6;
    c.baudRate = 9600;
    c.serialNumber = "VK000006";
    StartLine({a, b, c});
    Outcome r = RunVkctl({"scan-line", "--address-range", "2-7", "--timeout", "60"});
    EXPECT_EQ(r.status, kOk) << r.err;
    EXPECT_EQ(r.out, "port,speed,check method,address,model,serial,firmware\n"
                     "COM1,57600,checksum,3,VKT02,VK000003,1.23B\n"
                     "COM1,19200,crc,5,Rmx Long,VK000005,1.23B\n"
                     "COM1,9600,checksum,6,VKT04,VK000006,1.23B\n");
    Outcome quick = RunVkctl({"--json", "--crc", "scan-line", "--quick", "--timeout", "60"});
    EXPECT_EQ(JsonQuery(quick.out, "[(s['address'], s['speed']) for s in d]"), "[(5, 19200)]")
        << quick.err;
}

TEST_F(VkctlStation, QuickScanSaysWhenAnswersCollide) {
    line = std::make_unique<sim::SimLine>(sim::LineOptions{1, "", false, true});
    line->AddSensor(sim::test::Sensor(2));
    line->AddSensor(sim::test::Sensor(9, "RMXS"));
    std::string error;
    ASSERT_TRUE(line->Start(&error)) << error;
    const Outcome r = RunVkctl({"--checksum", "scan-line", "--quick"});
    EXPECT_EQ(r.status, kSensorFailed);
    EXPECT_EQ(r.out, "port,speed,check method,address,model,serial,firmware\n");
    EXPECT_EQ(r.err, "answers to the global address collided at 57600 baud, checksum (more than "
                     "one sensor); scan-line without --quick finds them\n");
}

TEST_F(VkctlStation, ProgressOnlyOnATerminalAndTheResultsUnchanged) {
    StartLine({sim::test::Sensor(2)});
    const std::vector<std::string> scan = {"--checksum", "scan-line", "--address-range", "1-3",
                                           "--first"};
    const TerminalRun shown = RunOnTerminal(scan);
    const Outcome piped = RunVkctl(scan);
    EXPECT_EQ(shown.status, kOk);
    EXPECT_EQ(shown.out, "port,speed,check method,address,model,serial,firmware\n"
                         "COM1,57600,checksum,2,VKT02,VK000001,1.23B\n");
    EXPECT_EQ(piped.out, shown.out);
    EXPECT_EQ(piped.err, "");
    // The place --address names first, then the rest; the line is gone before the row.
    EXPECT_EQ(shown.terminal.rfind("\r57600 baud, checksum: address 1 of 3, 0 found", 0), 0u)
        << shown.terminal;
    EXPECT_NE(shown.terminal.find("address 2 of 3, 0 found"), std::string::npos);
    EXPECT_EQ(shown.terminal.find("address 3 of 3"), std::string::npos);
    EXPECT_EQ(shown.terminal.back(), '\r');
    EXPECT_EQ(
        RunOnTerminal({"--quiet", "--checksum", "scan-line", "--address-range", "2-2"}).terminal,
        "");

    const std::string path = TemporaryFile(std::string(300, 'x'));
    ASSERT_FALSE(path.empty());
    const TerminalRun upload =
        RunOnTerminal({"--checksum", "--address", "2", "upload", "cal", path});
    ASSERT_EQ(upload.status, kOk);
    EXPECT_EQ(upload.terminal.rfind("\rUploading: 0 of 3 blocks", 0), 0u) << upload.terminal;
    EXPECT_EQ(upload.terminal.substr(upload.terminal.rfind('\r')), "\rUploading: 3 of 3 blocks\n");
    std::remove(path.c_str());
}

TEST_F(VkctlStation, MonitorWritesOneRowPerPollToTheScreenAndTheFile) {
    StartLine({sim::ConfigForModel("VKT04")});
    const std::string path = TemporaryFile("");
    ASSERT_FALSE(path.empty());
    Outcome r =
        RunVkctl({"--checksum", "monitor", "--count", "3", "--interval", "20", "--csv", path});
    ASSERT_EQ(r.status, kOk) << r.err;
    EXPECT_EQ(Lines(r.out), 4u);
    EXPECT_EQ(
        r.out.rfind("time,Base pix.,Sum pix.,Num pix.,Sub pix.,Laser power,Peak,Range (inch)\n", 0),
        0u)
        << r.out;
    // "2024-05-31T14:03:07.042" and the offset from UTC.
    const std::string firstRow = r.out.substr(r.out.find('\n') + 1);
    EXPECT_EQ(firstRow[4], '-');
    EXPECT_EQ(firstRow[10], 'T');
    EXPECT_EQ(firstRow[19], '.');
    std::ifstream file(path);
    std::stringstream written;
    written << file.rdbuf();
    EXPECT_EQ(written.str(), r.out);

    // A second run adds its rows under the same header.
    Outcome json = RunVkctl(
        {"--checksum", "--json", "monitor", "--count", "2", "--interval", "20", "--csv", path});
    EXPECT_EQ(JsonQuery(json.out, "len(d), sorted(d[0])[0]"), "(2, 'Base pix.')") << json.out;
    std::ifstream again(path);
    std::stringstream appended;
    appended << again.rdbuf();
    EXPECT_EQ(Lines(appended.str()), 6u);

    // A file whose last line has no line end: the next row starts a line of its own.
    std::ofstream(path, std::ios::app) << "edited by hand";
    ASSERT_EQ(RunVkctl({"--checksum", "monitor", "--count", "1", "--csv", path}).status, kOk);
    std::ifstream edited(path);
    std::stringstream after;
    after << edited.rdbuf();
    EXPECT_EQ(Lines(after.str()), 8u);
    EXPECT_NE(after.str().find("edited by hand\n20"), std::string::npos) << after.str();
    std::remove(path.c_str());
}

TEST_F(VkctlStation, MonitorStopsAtALostPortWithOneLineSayingSo) {
    StartLine({sim::ConfigForModel("VKT04")});
    const std::string lost = "Port lost: COM1 (" + line->DevicePath() + ")\n";
    Outcome r;
    std::thread monitor([&] {
        r = RunVkctl({"--checksum", "monitor", "--count", "1000", "--interval", "20"});
    });
    // Pulled once the polls are under way.
    std::vector<std::uint8_t> sent;
    for (int i = 0; i < 100; ++i) {
        const std::vector<int> ids = PacketIds(sent, CheckMethod::Checksum);
        if (std::count(ids.begin(), ids.end(), 41) >= 3)
            break;
        line->WaitReceived(1, 100);
        const std::vector<std::uint8_t> more = line->TakeReceived();
        sent.insert(sent.end(), more.begin(), more.end());
    }
    line->Unplug();
    monitor.join();
    EXPECT_EQ(r.status, kSensorFailed);
    EXPECT_LT(Lines(r.out), 100u);
    // The poll that failed says why, and then the run stops instead of failing 1000 times.
    EXPECT_EQ(Lines(r.err), 2u) << r.err;
    EXPECT_EQ(r.err.rfind("Command GetSensorState failed. ", 0), 0u) << r.err;
    EXPECT_TRUE(r.err.ends_with(lost)) << r.err;
}
