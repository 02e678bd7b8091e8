// Sensors behind a serial device server: Debian's ser2net in front of a simulated line,
// reached with rfc2217:// and tcp:// port names. Every command must put the same bytes on
// the line and print the same as through the COM port, and a server that goes away must
// end the exchange at once.
#include "link/dcs_link.h"
#include "link/serial.h"
#include "sensor/log_sink.h"
#include "sensor/scan_buffer_read.h"
#include "sensor/sensor_device.h"
#include "ser2net/ser2net_process.h"
#include "sim/net_server.h"
#include "sim/sim_line.h"
#include "sim_test_support.h"
#include "tests/link/pty_peer.h"
#include "vkctl_test_support.h"

#include "cli/vkctl_commands.h"
#include "elapsed_ms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <future>
#include <netinet/in.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace vk;
using namespace vk::cli;
using namespace vk::cli::test;
using vk::test::ElapsedMs;

namespace {

struct LogLines : LogSink {
    void LogMessage(const char* text, LogIcon) override { all += std::string(text) + "\n"; }
    std::string all;
};

class ThroughSer2net : public sim::test::SimLineFixture {
protected:
    void StartServer(const std::vector<sim::SensorConfig>& sensors, bool pace = false) {
        if (!vk::test::Ser2net::Installed())
            GTEST_SKIP() << "ser2net is not installed (scripts/setup installs it)";
        StartLine(sensors, pace);
        std::string error;
        ASSERT_TRUE(server.Start(line->DevicePath(), &error)) << error;
    }
    // The command layer on a link to the server's RFC 2217 port, sensor address 1.
    void OpenSensor() {
        sensor.SetLink(&link);
        sensor.SetAddress(1);
        ASSERT_TRUE(link.OpenPortName(server.TelnetUrl(), 57600, 0, 0, 8, 100, 100))
            << link.ErrorText();
    }

    vk::test::Ser2net server;
    LogLines log;
    DcsLink link;
    SensorDevice sensor{&log};
};

double ThreadCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 +
           usage.ru_stime.tv_sec * 1e3 + usage.ru_stime.tv_usec / 1e3;
}

} // namespace

TEST_F(ThroughSer2net, EveryCommandPutsTheComPortsBytesOnTheLine) {
    sim::SensorConfig crc = sim::test::Sensor(7, "VKT04", CheckMethod::Crc16, "VK000007");
    StartServer({sim::ConfigForModel("VKT02"), crc});
    if (IsSkipped())
        return;
    // Each command once through COM1 and once through each URL: same output, same bytes.
    const std::vector<std::vector<std::string>> commands = {
        {"identify"},
        {"--address", "7", "--crc", "settings"},
        {"set", "laser", "on"}, // its payload is FF FF
        {"read-buffer", "0", "8192"},
    };
    for (const std::string& url : {server.RawUrl(), server.TelnetUrl()}) {
        for (std::vector<std::string> args : commands) {
            line->TakeReceived();
            const Outcome direct = RunVkctl(args);
            const std::vector<std::uint8_t> directBytes = line->TakeReceived();
            args.insert(args.begin(), {"--port", url});
            const Outcome served = RunVkctl(args);
            EXPECT_EQ(served.status, kOk) << url << " " << args[2] << ": " << served.err;
            EXPECT_EQ(served.out, direct.out) << url << " " << args[2];
            EXPECT_EQ(line->TakeReceived(), directBytes) << url << " " << args[2];
        }
    }

    // A calibration table full of 0xFF arrives byte for byte.
    std::string image(1000, '\xFF');
    for (std::size_t i = 0; i < image.size(); i += 3)
        image[i] = static_cast<char>(i);
    char path[] = "/tmp/vkctl_network_XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, image.data(), image.size()), static_cast<ssize_t>(image.size()));
    close(fd);
    const Outcome upload =
        RunVkctl({"--port", server.TelnetUrl(), "--checksum", "upload", "cal", path});
    std::remove(path);
    EXPECT_EQ(upload.status, kOk) << upload.err;
    const sim::SensorState after = line->Snapshot(1);
    const std::vector<std::uint8_t>& received = after.flash.Image(sim::UploadKind::Calibration);
    ASSERT_GE(received.size(), image.size());
    EXPECT_TRUE(
        std::equal(image.begin(), image.end(), received.begin(),
                   [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));
}

TEST_F(ThroughSer2net, ASpeedChangeReachesTheServersLineAndHoldsAfterAReconnect) {
    StartServer({sim::ConfigForModel("VKT02")});
    if (IsSkipped())
        return;
    ASSERT_NO_FATAL_FAILURE(OpenSensor());
    // As the utility changes it: the sensor first, then the port.
    sensor.SetBaudRate(19200);
    ASSERT_TRUE(line->WaitForState(
        1, [](const sim::SensorState& s) { return s.config.baudRate == 19200; }, 2000));
    ASSERT_TRUE(link.SetPortBaudRate(19200)) << link.ErrorText();
    EXPECT_TRUE(sensor.GetModelName()) << log.all;

    // A new connection at the old speed meets a silent sensor; at the new one it answers.
    ASSERT_TRUE(link.OpenPortName(server.TelnetUrl(), 57600, 0, 0, 8, 100, 100))
        << link.ErrorText();
    EXPECT_FALSE(sensor.GetModelName());
    ASSERT_TRUE(link.OpenPortName(server.TelnetUrl(), 19200, 0, 0, 8, 100, 100))
        << link.ErrorText();
    EXPECT_TRUE(sensor.GetModelName()) << log.all;

    // ser2net in front of a pseudo-terminal takes any speed at all; vksim's own server, as
    // one in front of a real UART, refuses a speed its line cannot take, and so does the
    // configure call, with the server's answer.
    link.ClosePort();
    server.Stop(); // it would put its own settings back on the line when it lets go
    sim::NetServer own;
    std::string error;
    ASSERT_TRUE(own.Start({NetProtocol::Rfc2217, "127.0.0.1", 0}, line->DevicePath(), &error))
        << error;
    ASSERT_TRUE(link.OpenPortName(own.Url(), 19200, 0, 0, 8, 100, 100)) << link.ErrorText();
    EXPECT_FALSE(link.SetPortBaudRate(12345));
    EXPECT_EQ(link.Error().code, kErrSystemCall);
    EXPECT_STREQ(link.ErrorText(),
                 "sc_SetSettings: SetCommState failed (the server answered 19200 baud to 12345 "
                 "baud)");
}

TEST_F(ThroughSer2net, AServerThatDiesMidReadEndsTheExchangeAtOnceAsAPulledAdapterDoes) {
    StartServer({sim::ConfigForModel("VKT02")}, true);
    if (IsSkipped())
        return;
    ASSERT_NO_FATAL_FAILURE(OpenSensor());
    struct Result {
        ScanRead read;
        double cpuMs;
        std::chrono::steady_clock::time_point ended;
    };
    std::future<Result> reading = std::async(std::launch::async, [&] {
        const double cpu = ThreadCpuMs();
        ScanRead read = ReadScanRanges(sensor, 0, 8192);
        return Result{read, ThreadCpuMs() - cpu, std::chrono::steady_clock::now()};
    });
    // Some packets into the 3-second read, the server is gone.
    ASSERT_TRUE(line->WaitReceived(200, 3000));
    server.Kill();
    const auto killed = std::chrono::steady_clock::now();
    ASSERT_EQ(reading.wait_for(std::chrono::seconds(5)), std::future_status::ready)
        << "the read hangs";
    const Result r = reading.get();
    EXPECT_NE(r.read.outcome, ScanReadOutcome::Complete);
    // One recovery pause (250 ms) after the failure, nothing more.
    const double endedMs = std::chrono::duration<double, std::milli>(r.ended - killed).count();
    EXPECT_LT(endedMs, 1000);
    EXPECT_LT(r.cpuMs, 300) << "the reader spun";
    // What a hung-up terminal leaves: the system call's code and its reason, whether the
    // read or the next request's write found the connection gone.
    EXPECT_EQ(link.Error().code, kErrSystemCall);
    const std::string text = link.ErrorText();
    EXPECT_TRUE(text == "::sc_Read ReadFile failed (Input/output error)" ||
                text == "::sc_Write WriteFile failed (Input/output error)")
        << text;
    std::uint32_t flags = 0, queued = 0;
    EXPECT_FALSE(link.GetCommErrors(&flags, &queued));
    EXPECT_TRUE(link.PortLost()) << "a closed connection is a lost port, as a pulled adapter is";
}

TEST(NetworkPorts, AServerThatCannotBeReachedSaysWhy) {
    const std::uint16_t unused = vk::test::FreeLoopbackPort();
    const std::string refused = "rfc2217://127.0.0.1:" + std::to_string(unused);
    Outcome r = RunVkctl({"--port", refused, "identify"});
    EXPECT_EQ(r.status, kSensorFailed);
    EXPECT_NE(r.err.find("sc_Open: could not connect to " + refused + " (Connection refused)"),
              std::string::npos)
        << r.err;

    CommError err;
    EXPECT_EQ(sc_OpenName("tcp://no-such-host.invalid:4001", &err), kInvalidPortHandle);
    EXPECT_EQ(err.code, kErrOpenFailed);
    EXPECT_EQ(std::string(err.text).rfind("sc_Open: could not connect to "
                                          "tcp://no-such-host.invalid:4001 (",
                                          0),
              0u)
        << err.text;
    EXPECT_EQ(sc_OpenName("tcp://server", &err), kInvalidPortHandle);
    EXPECT_STREQ(err.text, "sc_Open: could not open tcp://server (no port number)");

    // A server that takes the connection and never speaks Telnet (a raw port named as an
    // RFC 2217 one) is given up on in bounded time.
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    const std::string silent = "rfc2217://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    const double ms = ElapsedMs([&] { EXPECT_EQ(sc_OpenName(silent.c_str(), &err), nullptr); });
    close(listener);
    EXPECT_GE(ms, 1900);
    EXPECT_LT(ms, 2500);
    EXPECT_EQ(std::string(err.text), "sc_Open: could not connect to " + silent +
                                         " (the server did not answer the Telnet negotiation "
                                         "within 2 s)");
}

// A line that streams while nobody reads fills the port's queue; the server's answers to
// a speed change behind that data must still be read, as a driver's queue overflows.
TEST(NetworkPorts, DataNobodyReadsNeverHidesTheServersAnswers) {
    if (!vk::test::Ser2net::Installed())
        GTEST_SKIP() << "ser2net is not installed (scripts/setup installs it)";
    vk::test::PtyPeer device(7);
    vk::test::Ser2net server;
    std::string error;
    ASSERT_TRUE(server.Start(device.PortDir() + "/" + device.ComName(), &error)) << error;
    DcsLink link;
    ASSERT_TRUE(link.OpenPortName(server.TelnetUrl(), 57600, 0, 0, 8, 100, 100))
        << link.ErrorText();
    device.Send(std::vector<std::uint8_t>(90000, 0x55));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    bool changed = false;
    const double ms = ElapsedMs([&] { changed = link.SetPortBaudRate(19200); });
    EXPECT_TRUE(changed) << link.ErrorText();
    EXPECT_LT(ms, 1000);
    std::uint32_t flags = 0, queued = 0;
    ASSERT_TRUE(link.GetCommErrors(&flags, &queued)) << link.ErrorText();
    EXPECT_TRUE(flags & kCeRxOver) << "the oldest bytes were dropped: an overrun";
    EXPECT_LE(queued, 64u * 1024u);
}
