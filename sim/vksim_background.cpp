#include "sim/vksim_background.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vk::sim {

namespace fs = std::filesystem;

namespace {

std::string BesideLink(const std::string& portDir, int comNumber, const char* suffix) {
    return (fs::path(portDir) / ("COM" + std::to_string(comNumber) + suffix)).string();
}

std::optional<int> ReadPid(const std::string& path) {
    std::ifstream in(path);
    char text[16] = {};
    in.read(text, sizeof text - 1);
    int pid = 0;
    for (const char* c = text; *c >= '0' && *c <= '9'; ++c) {
        pid = pid * 10 + (*c - '0');
        if (pid > 99'999'999)
            return std::nullopt;
    }
    return pid > 1 ? std::optional<int>(pid) : std::nullopt;
}

// A record may outlive its process, and the number may have gone to another program
// since: only a live vksim that runs in the background is ever signalled.
bool IsBackgroundVksim(int pid) {
    const std::string proc = "/proc/" + std::to_string(pid);
    std::string name;
    if (!std::getline(std::ifstream(proc + "/comm"), name) || name != "vksim")
        return false;
    std::string stat;
    std::getline(std::ifstream(proc + "/stat"), stat);
    std::size_t close = stat.rfind(')');
    if (close == std::string::npos || close + 2 >= stat.size() || stat[close + 2] == 'Z')
        return false; // ended; only not reaped yet
    std::ifstream cmdline(proc + "/cmdline", std::ios::binary);
    for (std::string arg; std::getline(cmdline, arg, '\0');) {
        if (arg == "--background")
            return true;
    }
    return false;
}

bool WriteWhole(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::string PidFilePath(const std::string& portDir, int comNumber) {
    return BesideLink(portDir, comNumber, ".pid");
}

std::string LogFilePath(const std::string& portDir, int comNumber) {
    return BesideLink(portDir, comNumber, ".log");
}

std::optional<int> RecordedVksim(const std::string& portDir, int comNumber) {
    std::optional<int> pid = ReadPid(PidFilePath(portDir, comNumber));
    return pid && IsBackgroundVksim(*pid) ? pid : std::nullopt;
}

int StopBackgroundVksim(const std::string& portDir, int comNumber) {
    const std::string record = PidFilePath(portDir, comNumber);
    std::optional<int> pid = ReadPid(record);
    if (!pid) {
        std::fprintf(stderr, "vksim: no background vksim is recorded for COM%d in %s\n", comNumber,
                     portDir.c_str());
        return 1;
    }
    if (!IsBackgroundVksim(*pid)) {
        std::error_code ec;
        fs::remove(record, ec);
        std::fprintf(stderr,
                     "vksim: the background vksim recorded for COM%d (process %d) had "
                     "ended already\n",
                     comNumber, *pid);
        return 1;
    }
    if (kill(*pid, SIGTERM) != 0) {
        std::fprintf(stderr, "vksim: cannot stop process %d (%s)\n", *pid, std::strerror(errno));
        return 1;
    }
    // It removes its link and its record on the way out; returning before that would let
    // the next command find a link with nobody behind it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (IsBackgroundVksim(*pid)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            std::fprintf(stderr, "vksim: process %d did not end within 10 s\n", *pid);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
}

std::optional<int> BackgroundStart::Fork() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        std::fprintf(stderr, "vksim: cannot start in the background (%s)\n", std::strerror(errno));
        return 1;
    }
    std::fflush(nullptr);
    pid_t child = fork();
    if (child < 0) {
        std::fprintf(stderr, "vksim: cannot start in the background (%s)\n", std::strerror(errno));
        return 1;
    }
    if (child == 0) {
        close(fds[0]);
        pipe_ = fds[1];
        // What the caller had open (a shell's or a test's pipes) is not the server's to
        // keep: whoever waits for such a pipe to close would wait as long as it serves.
        if (pipe_ > 3)
            close_range(3, static_cast<unsigned>(pipe_) - 1, 0);
        close_range(static_cast<unsigned>(std::max(pipe_, 2)) + 1, ~0U, 0);
        setsid(); // no hang-up or Ctrl-C of the terminal it was started from reaches it
        return std::nullopt;
    }
    close(fds[1]);
    std::string report;
    char buffer[512];
    for (;;) {
        ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || report.size() > 4096)
            break;
        report.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    if (report.rfind("ok ", 0) == 0) {
        std::fputs(report.c_str() + 3, stdout);
        return 0;
    }
    waitpid(child, nullptr, 0);
    if (report.rfind("error ", 0) == 0)
        std::fprintf(stderr, "vksim: %s", report.c_str() + 6);
    else
        std::fprintf(stderr, "vksim: the background simulator ended before its port existed\n");
    return 1;
}

void BackgroundStart::Report(const std::string& line) {
    if (pipe_ < 0)
        return;
    WriteWhole(pipe_, line);
    close(pipe_);
    pipe_ = -1;
}

void BackgroundStart::Failed(const std::string& reason) {
    Report("error " + reason + "\n");
}

bool BackgroundStart::Ready(const std::string& announce, const std::string& pidFile,
                            const std::string& logFile, std::string* error) {
    auto fail = [&](const std::string& path) {
        *error = "cannot write " + path + " (" + std::strerror(errno) + ")";
        Failed(*error);
        return false;
    };
    // Written whole or not at all: --stop never reads half a number.
    const std::string partial = pidFile + ".new";
    int fd = open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return fail(partial);
    bool written = WriteWhole(fd, std::to_string(getpid()) + "\n");
    if (close(fd) != 0 || !written || rename(partial.c_str(), pidFile.c_str()) != 0) {
        int saved = errno;
        unlink(partial.c_str());
        errno = saved;
        return fail(pidFile);
    }
    pidFile_ = pidFile;
    int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (log < 0) {
        Finished();
        return fail(logFile);
    }
    int null = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (null < 0) {
        close(log);
        Finished();
        return fail("/dev/null");
    }
    // Whoever started it may wait for the end of its output (a pipe, $(...)): nothing of
    // the caller's stays open.
    dup2(null, 0);
    dup2(null, 1);
    dup2(log, 2);
    close(null);
    close(log);
    Report("ok " + announce + "\n");
    return true;
}

void BackgroundStart::Finished() {
    if (pidFile_.empty())
        return;
    if (ReadPid(pidFile_) == getpid()) {
        std::error_code ec;
        fs::remove(pidFile_, ec);
    }
    pidFile_.clear();
}

} // namespace vk::sim
