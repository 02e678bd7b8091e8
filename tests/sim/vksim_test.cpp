// The vksim program: its command line, what it prints, and a clean stop.

#include "sim/vksim_options.h"
#include "sim_test_support.h"

#include <csignal>
#include <filesystem>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vk::sim::test {
namespace {

// vksim started with `args`, its standard output and error read through pipes.
class VksimProcess {
public:
    explicit VksimProcess(const std::vector<std::string>& args) {
        int out[2], err[2];
        if (pipe(out) != 0 || pipe(err) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            dup2(err[1], 2);
            close(out[0]);
            close(err[0]);
            close(out[1]);
            close(err[1]);
            std::vector<char*> argv;
            std::string program = VKSIM_PATH;
            argv.push_back(program.data());
            std::vector<std::string> copy = args;
            for (auto& a : copy)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~VksimProcess() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
        close(err_);
    }

    // Everything on `fd` until a newline (stdout) or the end, within `timeoutMs`.
    std::string Read(bool untilNewline, int timeoutMs = 3000) {
        int fd = untilNewline ? out_ : err_;
        std::string text;
        auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < deadline) {
            pollfd p{fd, POLLIN, 0};
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (poll(&p, 1, static_cast<int>(left.count())) <= 0)
                break;
            char c;
            if (read(fd, &c, 1) != 1)
                break;
            if (untilNewline && c == '\n')
                break;
            text.push_back(c);
        }
        return text;
    }
    std::string Line() { return Read(true); }
    std::string Errors() { return Read(false); }

    // Exit status after `signal` (0: none sent), or -1 when it did not end in time.
    int Finish(int signal) {
        if (signal)
            kill(pid_, signal);
        for (int i = 0; i < 300; ++i) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            // Nothing to wait on but the child itself.
            usleep(10000);
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    bool exited_ = false;
};

TEST(Vksim, ServesUntilSigtermAndRemovesItsLink) {
    ScopedPortDir dir;
    VksimProcess vksim({"--com", "4", "--port-dir", dir.Path(), "--sensor",
                        "model=VKT04,crc,address=3", "--sensor", "model=0 KR1-A-1,address=9"});
    std::string line = vksim.Line();
    ASSERT_EQ(line.rfind("COM4 /dev/", 0), 0u) << line << vksim.Errors();
    std::string link = dir.Path() + "/COM4";
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), line.substr(5));

    DcsLink dcs;
    ASSERT_TRUE(dcs.OpenPortName("COM4", 57600, kParityNone, kStopOne, 8, 100, 100));
    std::uint8_t name[16] = {};
    ASSERT_TRUE(dcs.dcs_Transact(3, CheckMethod::Crc16, 127, nullptr, 0, name, 16))
        << dcs.ErrorText();
    EXPECT_STREQ(reinterpret_cast<char*>(name), "0 K4-D-4");
    ASSERT_TRUE(dcs.dcs_Transact(9, CheckMethod::Checksum, 127, nullptr, 0, name, 16))
        << dcs.ErrorText();
    EXPECT_STREQ(reinterpret_cast<char*>(name), "0 KR1-A-1");
    dcs.ClosePort();

    EXPECT_EQ(vksim.Finish(SIGTERM), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST(Vksim, BackgroundReturnsOnceThePortExistsAndStopEndsIt) {
    ScopedPortDir dir;
    const std::vector<std::string> where = {"--com", "5", "--port-dir", dir.Path()};
    auto with = [&where](std::vector<std::string> args) {
        args.insert(args.end(), where.begin(), where.end());
        return args;
    };
    VksimProcess start(with({"--background"}));
    std::string line = start.Line();
    EXPECT_EQ(start.Finish(0), 0);
    ASSERT_EQ(line.rfind("COM5 /dev/", 0), 0u) << line << start.Errors();
    // The port is there the moment the command returned, and it answers.
    DcsLink dcs;
    ASSERT_TRUE(dcs.OpenPortName("COM5", 57600, kParityNone, kStopOne, 8, 100, 100))
        << dcs.ErrorText();
    std::uint8_t name[16] = {};
    EXPECT_TRUE(dcs.dcs_Transact(1, CheckMethod::Checksum, 127, nullptr, 0, name, 16))
        << dcs.ErrorText();
    dcs.ClosePort();

    VksimProcess second(with({}));
    EXPECT_NE(second.Errors().find("is served by vksim"), std::string::npos);
    EXPECT_EQ(second.Finish(0), 1);

    VksimProcess stop(with({"--stop"}));
    EXPECT_EQ(stop.Finish(0), 0) << stop.Errors();
    namespace fs = std::filesystem;
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.Path() + "/COM5")));
    EXPECT_FALSE(fs::exists(dir.Path() + "/COM5.pid"));
    VksimProcess again(with({"--stop"}));
    EXPECT_NE(again.Errors().find("no background vksim is recorded for COM5"), std::string::npos);
    EXPECT_EQ(again.Finish(0), 1);
}

TEST(Vksim, UsageErrorsExitWithTwo) {
    VksimProcess vksim({"--address", "0"});
    std::string errors = vksim.Errors();
    // One line that names the problem, not the whole usage.
    EXPECT_EQ(errors, "vksim: address must be 1 to 255: 0; see vksim --help\n");
    EXPECT_EQ(vksim.Finish(0), 2);
}

TEST(VksimArguments, DefaultsAndExtraSensors) {
    VksimOptions options;
    bool help = true;
    std::string error;
    ASSERT_TRUE(ParseVksimArguments({}, &options, &help, &error)) << error;
    EXPECT_FALSE(help);
    EXPECT_EQ(options.line.comNumber, 1);
    EXPECT_FALSE(options.line.pace);
    ASSERT_EQ(options.sensors.size(), 1u);
    EXPECT_EQ(options.sensors[0].modelString, "0 VKT-02");
    EXPECT_EQ(options.sensors[0].address, 1);
    EXPECT_EQ(options.sensors[0].method, CheckMethod::Checksum);
    EXPECT_EQ(options.sensors[0].baudRate, 57600);
    EXPECT_EQ(options.sensors[0].calibrationMarker, 0x5555);

    ASSERT_TRUE(ParseVksimArguments(
        {"--pace", "--baud", "19200", "--model", "O RMX2000", "--calibration", "0"}, &options,
        &help, &error))
        << error;
    EXPECT_TRUE(options.line.pace);
    ASSERT_EQ(options.sensors.size(), 1u);
    EXPECT_EQ(options.sensors[0].modelString, "O RMX2000");
    EXPECT_EQ(options.sensors[0].baudRate, 19200);
    EXPECT_EQ(options.sensors[0].calibrationMarker, 0);

    // With --sensor the line holds exactly the sensors described.
    ASSERT_TRUE(ParseVksimArguments({"--background", "--sensor",
                                     "model=BF,address=2,crc,baud=9600,calibration=0xAAAA",
                                     "--sensor", "address=3,serial=SN123456"},
                                    &options, &help, &error))
        << error;
    EXPECT_TRUE(options.background);
    ASSERT_EQ(options.sensors.size(), 2u);
    EXPECT_EQ(options.sensors[0].modelString, "0 K4-D-4BF");
    EXPECT_EQ(options.sensors[0].address, 2);
    EXPECT_EQ(options.sensors[0].method, CheckMethod::Crc16);
    EXPECT_EQ(options.sensors[0].baudRate, 9600);
    EXPECT_EQ(options.sensors[0].serialNumber, "VK000001");
    EXPECT_EQ(options.sensors[0].calibrationMarker, 0xAAAA);
    EXPECT_EQ(options.sensors[1].address, 3);
    EXPECT_EQ(options.sensors[1].serialNumber, "SN123456");
    EXPECT_EQ(options.sensors[1].calibrationMarker, 0x5555);
}

TEST(VksimArguments, RefusesWhatCannotBeServed) {
    VksimOptions options;
    bool help = false;
    std::string error;
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"--baud", "115200"},
                                               {"--sensor", "address=1", "--sensor", "address=1"},
                                               {"--sensor", "model=VKT02,colour=red,address=2"},
                                               {"--sensor", "model=VKT04"},
                                               {"--crc", "--sensor", "address=2"},
                                               {"--stop", "--model", "VKT04"},
                                               {"--com"},
                                               {"--com", "0"},
                                               {"--calibration", "65536"},
                                               {"--calibration", "0x"},
                                               {"--model", "a model string too long"},
                                               {"stray"}}) {
        EXPECT_FALSE(ParseVksimArguments(args, &options, &help, &error)) << args[0];
    }
}

} // namespace
} // namespace vk::sim::test
