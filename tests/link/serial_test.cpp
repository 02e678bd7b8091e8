// The port layer on a real pseudo-terminal: open failures, the time-out of one read
// call, short reads, argument errors and a device that goes away.
#include "link/serial.h"
#include "tests/elapsed_ms.h"
#include "tests/link/pty_peer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <time.h>

using namespace vk;
using vk::test::ElapsedMs;
using vk::test::PtyPeer;

namespace {

struct OpenPort {
    explicit OpenPort(PtyPeer& peer, std::int32_t readTimeoutMs = 100,
                      std::int32_t writeTimeoutMs = 100) {
        handle = sc_OpenName(peer.ComName().c_str(), &err);
        PortSettings settings;
        settings.readTimeoutMs = readTimeoutMs;
        settings.writeTimeoutMs = writeTimeoutMs;
        ok = handle != kInvalidPortHandle && sc_SetSettings(handle, &settings, &err) &&
             sc_PurgeBuffers(handle, &err);
    }
    ~OpenPort() { sc_Close(handle, &err); }
    CommError err;
    PortHandle handle = kInvalidPortHandle;
    bool ok = false;
};

// Waits until the port reports at least `bytes` waiting to be read; false after `timeoutMs`.
bool WaitForInput(PortHandle handle, std::uint32_t bytes, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        std::uint32_t flags = 0, inQueue = 0;
        if (sc_GetCommErrors(handle, &flags, &inQueue) && inQueue >= bytes)
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

} // namespace

TEST(SerialPort, OpeningAMissingPortNamesItAndTheSystemsReason) {
    PtyPeer peer(1); // sets a private port directory without COM77 in it
    CommError err;
    EXPECT_EQ(sc_Open(77, &err), kInvalidPortHandle);
    EXPECT_EQ(err.code, kErrOpenFailed);
    // COM77 falls back to /dev/ttyACM12, which no test machine has.
    EXPECT_STREQ(err.text,
                 "sc_Open: could not open COM77 (/dev/ttyACM12) (No such file or directory)");
}

TEST(SerialPort, OnlyComNamesAndAbsolutePathsOpen) {
    PtyPeer peer;
    const std::string relative = "./" + peer.ComName();
    // A relative path is refused even where the working folder makes it name the device.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(peer.PortDir());
    CommError err;
    PortHandle handle = sc_OpenName(relative.c_str(), &err);
    std::filesystem::current_path(before);
    EXPECT_EQ(handle, kInvalidPortHandle);
    sc_Close(handle, &err);
    EXPECT_EQ(err.code, kErrOpenFailed);
    EXPECT_EQ(std::string(err.text),
              "sc_Open: could not open " + relative + " (No such file or directory)");

    handle = sc_OpenName((peer.PortDir() + "/" + peer.ComName()).c_str(), &err);
    EXPECT_NE(handle, kInvalidPortHandle) << err.text;
    EXPECT_EQ(sc_Close(handle, &err), 1);
}

TEST(SerialPort, AnotherProgramCannotOpenAnOpenPort) {
    PtyPeer peer;
    OpenPort first(peer);
    ASSERT_TRUE(first.ok) << first.err.text;
    CommError err;
    EXPECT_EQ(sc_OpenName(peer.ComName().c_str(), &err), kInvalidPortHandle);
    EXPECT_EQ(err.code, kErrOpenFailed);
}

TEST(SerialPort, InvalidArgumentsAndClosingNothing) {
    CommError err;
    std::uint8_t buffer[4];
    std::size_t count = 99;
    EXPECT_EQ(sc_Read(kInvalidPortHandle, buffer, 4, &count, 10, &err), 0);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(err.code, kErrInvalidArgument);
    EXPECT_STREQ(err.text, "sc_Read: an invalid argument was passed.");
    EXPECT_EQ(sc_Write(kInvalidPortHandle, buffer, 4, &count, 10, &err), 0);
    EXPECT_STREQ(err.text, "sc_Write: an invalid argument was passed.");
    EXPECT_EQ(sc_PurgeBuffers(kInvalidPortHandle, &err), 0);
    EXPECT_STREQ(err.text, "sc_PurgeBuffers: an invalid argument was passed.");
    EXPECT_EQ(sc_SetSettings(kInvalidPortHandle, nullptr, &err), 0);
    EXPECT_STREQ(err.text, "sc_SetSettings: an invalid argument was passed.");

    SetCommError(&err, 42, "untouched");
    EXPECT_EQ(sc_Close(kInvalidPortHandle, &err), 1);
    EXPECT_EQ(err.code, 42);
    EXPECT_STREQ(err.text, "untouched");
}

TEST(SerialPort, SettingsADeviceCannotTakeAreRefused) {
    PtyPeer peer;
    OpenPort port(peer);
    ASSERT_TRUE(port.ok);
    PortSettings settings;
    settings.dataBits = 4;
    EXPECT_EQ(sc_SetSettings(port.handle, &settings, &port.err), 0);
    EXPECT_EQ(port.err.code, kErrSystemCall);
    EXPECT_STREQ(port.err.text, "sc_SetSettings: SetCommState failed (Invalid argument)");
}

TEST(SerialPort, ReadTimeOutsFollowTheOneReadCallRule) {
    PtyPeer peer;
    OpenPort port(peer, 100);
    ASSERT_TRUE(port.ok) << port.err.text;
    std::uint8_t buffer[8];
    std::size_t count = 99;

    // A time-out of 0 still makes one read call, which waits up to the read time-out.
    double ms =
        ElapsedMs([&] { EXPECT_EQ(sc_Read(port.handle, buffer, 8, &count, 0, &port.err), 1); });
    EXPECT_EQ(count, 0u);
    EXPECT_GE(ms, 95);
    EXPECT_LT(ms, 200);

    // Silence for 1000 ms with 100 ms read calls: success, nothing read, about 1000-1100 ms.
    ms = ElapsedMs([&] { EXPECT_EQ(sc_Read(port.handle, buffer, 8, &count, 1000, &port.err), 1); });
    EXPECT_EQ(count, 0u);
    EXPECT_GE(ms, 995);
    EXPECT_LT(ms, 1250);

    // A device that stops halfway: success with the short count.
    peer.Send({1, 2, 3});
    ms = ElapsedMs([&] { EXPECT_EQ(sc_Read(port.handle, buffer, 8, &count, 300, &port.err), 1); });
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(buffer[2], 3);
    EXPECT_GE(ms, 295);
    EXPECT_LT(ms, 450);

    // Everything asked for: returns at once.
    peer.Send({9, 8, 7, 6});
    ms = ElapsedMs([&] { EXPECT_EQ(sc_Read(port.handle, buffer, 4, &count, 1000, &port.err), 1); });
    EXPECT_EQ(count, 4u);
    EXPECT_LT(ms, 50);
    // Silence and a short answer pass: the port is not lost.
    EXPECT_FALSE(sc_PortLost(port.handle));
}

TEST(SerialPort, WrittenBytesReachTheLineAndPurgeDropsInput) {
    PtyPeer peer;
    OpenPort port(peer);
    ASSERT_TRUE(port.ok);
    std::size_t count = 0;
    const std::uint8_t request[] = {0x02, 0x01, 0x01, 0x02, 0xFA};
    EXPECT_EQ(sc_Write(port.handle, request, 5, &count, 100, &port.err), 1);
    EXPECT_EQ(count, 5u);
    EXPECT_EQ(peer.Received(), (std::vector<std::uint8_t>{0x02, 0x01, 0x01, 0x02, 0xFA}));

    peer.Send({1, 2, 3});
    ASSERT_TRUE(WaitForInput(port.handle, 3, 1000));
    EXPECT_EQ(sc_PurgeBuffers(port.handle, &port.err), 1);
    std::uint8_t buffer[4];
    EXPECT_EQ(sc_Read(port.handle, buffer, 4, &count, 0, &port.err), 1);
    EXPECT_EQ(count, 0u);
}

// The other side reads nothing, so the line fills up and the write stalls.
TEST(SerialPort, AStalledWriteWithAZeroWriteTimeOutWaitsOutItsBudgetAsleep) {
    PtyPeer peer;
    OpenPort port(peer, 100, 0);
    ASSERT_TRUE(port.ok) << port.err.text;
    const std::vector<std::uint8_t> data(1 << 20, 0x55);
    std::size_t count = 0;
    timespec cpuBefore{}, cpuAfter{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuBefore);
    double ms = ElapsedMs([&] {
        EXPECT_EQ(sc_Write(port.handle, data.data(), data.size(), &count, 400, &port.err), 1);
    });
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuAfter);
    const double cpuMs =
        (cpuAfter.tv_sec - cpuBefore.tv_sec) * 1e3 + (cpuAfter.tv_nsec - cpuBefore.tv_nsec) / 1e6;
    EXPECT_GT(count, 0u);
    EXPECT_LT(count, data.size()); // short: the packet layer reports it
    EXPECT_GE(ms, 395);
    EXPECT_LT(ms, 1000);
    // Asleep it takes about 3% of the time; a spinning loop all the CPU it can get.
    EXPECT_LT(cpuMs, ms / 8) << "the write loop spun";
}

TEST(SerialPort, AVanishedDeviceFailsPromptlyAndIsJudgedLost) {
    PtyPeer peer;
    OpenPort port(peer);
    ASSERT_TRUE(port.ok);
    EXPECT_FALSE(sc_PortLost(kInvalidPortHandle));
    EXPECT_FALSE(sc_PortLost(port.handle));
    peer.Hangup();
    std::uint8_t buffer[4];
    std::size_t count = 0;
    double ms =
        ElapsedMs([&] { EXPECT_EQ(sc_Read(port.handle, buffer, 4, &count, 1000, &port.err), 0); });
    EXPECT_LT(ms, 200);
    // The error flags cannot be read from a device that is gone: the system's reason.
    EXPECT_EQ(port.err.code, kErrSystemCall);
    EXPECT_STREQ(port.err.text, "::sc_Read ReadFile failed (Input/output error)");
    EXPECT_TRUE(sc_PortLost(port.handle));

    // A write finds it just as well, without a read before it.
    PtyPeer other(2);
    OpenPort second(other);
    ASSERT_TRUE(second.ok);
    other.Hangup();
    const std::uint8_t request[] = {0x02, 0x01, 0x01, 0x02, 0xFA};
    EXPECT_EQ(sc_Write(second.handle, request, 5, &count, 100, &second.err), 0);
    EXPECT_TRUE(sc_PortLost(second.handle));
}
