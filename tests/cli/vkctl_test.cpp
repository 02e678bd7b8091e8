// vkctl against simulated sensors: what it prints, what it sends, how it exits.
#include "cli/vkctl_commands.h"
#include "cli/vkctl_options.h"
#include "sim/sim_line.h"
#include "sim_test_support.h"
#include "vkctl_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace vk;
using namespace vk::cli;
using namespace vk::cli::test;

namespace {

// Runs the real program, for what only main does.
Outcome RunProgram(const std::string& args) {
    std::string command = std::string(VKCTL_PATH) + " " + args + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    std::string text;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        text.append(buffer, n);
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text, ""};
}

using VkctlLine = sim::test::SimLineFixture;

} // namespace

TEST(VkctlArguments, DefaultsFlagsAndUsageErrors) {
    VkctlOptions options;
    std::string error;
    ASSERT_TRUE(ParseVkctlArguments({"identify"}, &options, &error));
    EXPECT_EQ(options.port, "COM1");
    EXPECT_EQ(options.baudRate, 57600);
    EXPECT_EQ(options.address, 1);
    EXPECT_FALSE(options.method);

    EXPECT_FALSE(options.verbose);

    ASSERT_TRUE(ParseVkctlArguments({"--port", "/dev/ttyUSB0", "--baud", "19200", "--address", "0",
                                     "--crc", "--verbose", "read-buffer", "0", "10"},
                                    &options, &error));
    EXPECT_TRUE(options.verbose);
    EXPECT_EQ(options.port, "/dev/ttyUSB0");
    EXPECT_EQ(options.baudRate, 19200);
    EXPECT_EQ(options.address, 0);
    EXPECT_EQ(options.method, CheckMethod::Crc16);
    EXPECT_EQ(options.arguments, (std::vector<std::string>{"0", "10"}));

    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{},
                                               {"--baud", "115200", "identify"},
                                               {"--address", "256", "identify"},
                                               {"--address", "-1", "identify"},
                                               {"--checksum", "--crc", "identify"},
                                               {"--port"},
                                               {"--silent", "identify"},
                                               {"ports", "all"},
                                               {"frobnicate"},
                                               {"set-threshold"},
                                               {"state", "extra"}}) {
        VkctlOptions o;
        EXPECT_FALSE(ParseVkctlArguments(bad, &o, &error)) << ::testing::PrintToString(bad);
    }
    EXPECT_EQ(RunVkctl({"set-threshold", "256"}).status, kUsageError);
    EXPECT_EQ(RunVkctl({"read-buffer", "8000", "193"}).status, kUsageError);
}

TEST_F(VkctlLine, IdentifyFindsTheCrcMethodQuietlyUnlessVerbose) {
    sim::SensorConfig config = sim::ConfigForModel("RMXL");
    config.method = CheckMethod::Crc16;
    config.revision = 'C';
    StartLine({config});
    Outcome r = RunVkctl({"identify"});
    EXPECT_EQ(r.status, kOk);
    EXPECT_EQ(r.out, "model type: 2\n"
                     "model name: Rmx Long\n"
                     "model string: 1 RMXLONG\n"
                     "serial: VK000001\n"
                     "firmware: 1.23C\n"
                     "fpga: 2.5\n"
                     "check method: crc\n");
    // The failed checksum try is how the method is found: a success says nothing.
    EXPECT_EQ(r.err, "");

    Outcome verbose = RunVkctl({"--verbose", "identify"});
    EXPECT_EQ(verbose.status, kOk);
    EXPECT_EQ(verbose.out, r.out);
    EXPECT_EQ(verbose.err, "Command GetModelName failed. dcs_ReadHeader timeout waiting for STX\n"
                           "Successfully connected to Rmx Long type sensor\n");
}

TEST_F(VkctlLine, StateSetThresholdAndReadBuffer) {
    StartLine({sim::ConfigForModel("VKT02")});
    Outcome state = RunVkctl({"--checksum", "state"});
    ASSERT_EQ(state.status, kOk) << state.err;
    EXPECT_EQ(Lines(state.out), 7u);
    EXPECT_EQ(state.out.rfind("base pixel: ", 0), 0u);
    EXPECT_NE(state.out.find("\nscanning flag: 0\n"), std::string::npos);

    Outcome set = RunVkctl({"set-threshold", "77"});
    EXPECT_EQ(set.status, kOk);
    EXPECT_EQ(set.out, "");
    EXPECT_TRUE(line->WaitForState(
        1, [](const sim::SensorState& s) { return s.settings.threshold == 77; }, 1000));

    // 193 samples: two requests of 126 and 67, one CSV line each plus the header.
    Outcome read = RunVkctl({"read-buffer", "7999", "193"});
    ASSERT_EQ(read.status, kOk) << read.err;
    EXPECT_EQ(Lines(read.out), 194u);
    std::vector<std::uint16_t> buffer = line->Snapshot(1).scanBuffer;
    std::string expectedStart = "index,raw\n7999," + std::to_string(buffer[7999]) + "\n";
    EXPECT_EQ(read.out.substr(0, expectedStart.size()), expectedStart);
    std::string expectedEnd = "8191," + std::to_string(buffer[8191]) + "\n";
    EXPECT_EQ(read.out.substr(read.out.size() - expectedEnd.size()), expectedEnd);
}

TEST_F(VkctlLine, ASensorThatStopsAnsweringExitsOneWithTheFailureLine) {
    StartLine({sim::ConfigForModel("VKT02")});
    line->InjectFault(1, {sim::FaultKind::Silence, -1});
    Outcome r = RunVkctl({"--checksum", "identify"});
    EXPECT_EQ(r.status, kSensorFailed);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Command GetModelName failed. dcs_ReadHeader timeout waiting for STX\n"
                     "hint: tried COM1 (" +
                         line->DevicePath() +
                         ") at 57600 baud, address 1, with checksum only; no answer: check the "
                         "cable and the sensor's power, or use vkctl scan-line\n"
                         "Cannot connect to the sensor...\n");
}

TEST_F(VkctlLine, AReadOutWithAFailedReadPrintsWhatItHasAndExitsOne) {
    StartLine({sim::ConfigForModel("VKT02")});
    line->InjectFault(1, {.kind = sim::FaultKind::Silence, .packetId = 128}); // serial number
    Outcome r = RunVkctl({"--checksum", "identify"});
    EXPECT_EQ(r.status, kSensorFailed);
    EXPECT_NE(r.out.find("model string: 0 VKT-02\nserial: \nfirmware: "), std::string::npos)
        << r.out;
    EXPECT_EQ(r.err, "Command GetSerialNum failed. dcs_ReadHeader timeout waiting for STX\n");
}

TEST_F(VkctlLine, PortsListsTheLinkedLineAsTextOrJson) {
    StartLine({sim::ConfigForModel("VKT02")});
    Outcome r = RunVkctl({"ports"});
    EXPECT_EQ(r.status, kOk);
    EXPECT_EQ(r.err, "");
    const std::string device = std::filesystem::canonical(line->DevicePath()).string();
    EXPECT_NE(r.out.find("COM1  " + device + "\n"), std::string::npos) << r.out;
    Outcome json = RunVkctl({"--json", "ports"});
    EXPECT_EQ(json.status, kOk);
    EXPECT_NE(json.out.find("{\"name\": \"COM1\", \"device\": \"" + device +
                            "\", \"description\": \"\"}"),
              std::string::npos)
        << json.out;
    EXPECT_EQ(json.out.front(), '[');
    // COM names ignore case, as on Windows.
    EXPECT_EQ(RunVkctl({"--port", "com1", "--checksum", "state"}).status, kOk);
}

// A sensor's texts are untrusted: a line end in a serial number must not forge an output
// line, nor an escape sequence reach the terminal.
TEST_F(VkctlLine, TextsFromTheSensorAreShownEscaped) {
    sim::SensorConfig config = sim::ConfigForModel("VKT02");
    config.serialNumber = std::string("A\n\xe9\x1b[1m\\Z");
    StartLine({config});
    Outcome r = RunVkctl({"--checksum", "identify"});
    EXPECT_EQ(r.status, kOk) << r.err;
    EXPECT_EQ(Lines(r.out), 7u);
    EXPECT_NE(r.out.find("\nserial: A\\x0a\\xe9\\x1b[1m\\\\\n"), std::string::npos) << r.out;
}

TEST(VkctlProgram, ExitStatusesOfTheRealProgram) {
    sim::test::ScopedPortDir dir; // an empty port directory: COM1 resolves to no device here
    Outcome missing = RunProgram("--port COM40 identify");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("sc_Open: could not open COM40 (/dev/ttyUSB7) ("), std::string::npos)
        << missing.out;

    // A usage error is one line that names the problem, not the whole usage.
    Outcome usage = RunProgram("--baud 1200 state");
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(usage.out, "vkctl: --baud takes 9600, 19200, 38400 or 57600; see vkctl --help\n");
    Outcome argument = RunProgram("set-threshold 256");
    EXPECT_EQ(argument.status, 2);
    EXPECT_EQ(argument.out, "vkctl: set-threshold takes 0 to 255; see vkctl --help\n");
    EXPECT_EQ(RunProgram("--help").status, 0);
}

// A technician's account outside the group that owns the adapter. Changing owners and
// accounts needs root; elsewhere the case is skipped.
TEST_F(VkctlLine, APortRefusedByItsPermissionsNamesTheGroupToJoin) {
    const group* dialout = getgrnam("dialout");
    const passwd* nobody = getpwnam("nobody");
    if (geteuid() != 0 || !dialout || !nobody)
        GTEST_SKIP() << "needs root, a group dialout and a user nobody";
    const gid_t dialoutGid = dialout->gr_gid;
    const uid_t nobodyUid = nobody->pw_uid;
    const gid_t nobodyGid = nobody->pw_gid;
    StartLine({sim::ConfigForModel("VKT02")});
    const std::string device = line->DevicePath();
    ASSERT_EQ(chown(device.c_str(), 0, dialoutGid), 0);
    ASSERT_EQ(chmod(device.c_str(), 0660), 0);
    // The build and the test's own folders may lie where nobody cannot go (a checkout in
    // a private folder): the program and a port folder of its own go where anyone can.
    namespace fs = std::filesystem;
    char reachable[] = "/tmp/vkctl-nobody-XXXXXX";
    ASSERT_NE(mkdtemp(reachable), nullptr);
    const fs::path shared = reachable;
    const std::string program = (shared / "vkctl").string();
    fs::copy_file(VKCTL_PATH, program);
    fs::create_symlink(device, shared / "COM1");
    ASSERT_EQ(chmod(reachable, 0755), 0);
    ASSERT_EQ(chmod(program.c_str(), 0755), 0);

    // The child of a process with threads may only make async-signal-safe calls, which
    // setenv is not: its environment is made here.
    std::vector<std::string> environment = {std::string("KORVEL_PORT_DIR=") + reachable};
    for (char** e = environ; *e; ++e)
        if (std::string_view(*e).rfind("KORVEL_PORT_DIR=", 0) != 0)
            environment.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    int out[2];
    ASSERT_EQ(pipe(out), 0);
    pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 2);
        close(out[0]);
        if (setgroups(0, nullptr) != 0 || setgid(nobodyGid) != 0 || setuid(nobodyUid) != 0 ||
            chdir("/") != 0)
            _exit(99);
        execle(program.c_str(), program.c_str(), "--port", "COM1", "identify",
               static_cast<char*>(nullptr), envp.data());
        _exit(98);
    }
    close(out[1]);
    std::string err;
    char buffer[1024];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        err.append(buffer, static_cast<std::size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    std::error_code ec;
    fs::remove_all(shared, ec);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(err, "sc_Open: could not open COM1 (" + device +
                       ") (Permission denied)\n"
                       "hint: only group dialout may use " +
                       device +
                       ", and you are not in it: sudo usermod -aG dialout nobody, then log out and "
                       "in again\n"
                       "Cannot connect to the sensor...\n");
}
