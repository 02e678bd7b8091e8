#include "ser2net/ser2net_process.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace vk::test {

namespace {

constexpr const char* kProgram = "/usr/sbin/ser2net";

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

// Whether something listens on 127.0.0.1:`port`, asked of the kernel's table rather than
// by connecting: a connection would make ser2net open the device, which the test's own
// connection might then find still busy.
bool Listening(std::uint16_t port) {
    std::ifstream table("/proc/net/tcp");
    std::string line;
    char wanted[32];
    std::snprintf(wanted, sizeof wanted, "0100007F:%04X", port);
    while (std::getline(table, line)) {
        // "  sl  local_address rem_address   st ...": LISTEN is state 0A.
        if (line.find(wanted) != std::string::npos && line.find(" 0A ") != std::string::npos)
            return true;
    }
    return false;
}

} // namespace

std::uint16_t FreeLoopbackPort() {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return 0;
    sockaddr_in a = Loopback(0);
    socklen_t length = sizeof a;
    std::uint16_t port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) == 0)
        port = ntohs(a.sin_port);
    close(fd);
    return port;
}

bool Ser2net::Installed() {
    return access(kProgram, X_OK) == 0;
}

Ser2net::~Ser2net() {
    Stop();
}

bool Ser2net::Start(const std::string& device, std::string* error) {
    std::string dir = (std::filesystem::temp_directory_path() / "ser2net_test_XXXXXX").string();
    if (!mkdtemp(dir.data())) {
        *error = std::string("mkdtemp: ") + std::strerror(errno);
        return false;
    }
    dir_ = dir;
    rawPort_ = FreeLoopbackPort();
    telnetPort_ = FreeLoopbackPort();
    for (int i = 0; i < 10 && telnetPort_ == rawPort_; ++i)
        telnetPort_ = FreeLoopbackPort();
    if (rawPort_ == 0 || telnetPort_ == 0 || telnetPort_ == rawPort_) {
        *error = "no free loopback port";
        return false;
    }
    // No character delay: a reply goes on as soon as it came, as a test of timing needs;
    // "local": the line has no modem lines to watch.
    const std::string connector = "serialdev," + device + ",57600n81,local";
    const std::string config = dir_ + "/ser2net.yaml";
    std::ofstream(config) << "%YAML 1.1\n---\n"
                          << "connection: &raw\n"
                          << "  accepter: tcp,127.0.0.1," << rawPort_ << "\n"
                          << "  connector: " << connector << "\n"
                          << "  options:\n    chardelay: false\n"
                          << "connection: &telnet\n"
                          << "  accepter: telnet(rfc2217),tcp,127.0.0.1," << telnetPort_ << "\n"
                          << "  connector: " << connector << "\n"
                          << "  options:\n    chardelay: false\n";
    const std::string pidFile = dir_ + "/ser2net.pid";
    const char* argv[] = {kProgram,        "-n",   "-u", "-c", config.c_str(), "-P",
                          pidFile.c_str(), nullptr};
    if (int r = posix_spawn(&pid_, kProgram, nullptr, nullptr, const_cast<char**>(argv), environ);
        r != 0) {
        pid_ = -1;
        *error = std::string("cannot start ser2net: ") + std::strerror(r);
        return false;
    }
    // It is ready when its ports take connections; a program that ended is not going to be.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!Listening(rawPort_) || !Listening(telnetPort_)) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            *error = "ser2net ended at once (status " + std::to_string(status) + ")";
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            *error = "ser2net did not listen within 10 s";
            Kill();
            return false;
        }
        poll(nullptr, 0, 10);
    }
    return true;
}

void Ser2net::End(int signal) {
    if (pid_ > 0) {
        kill(pid_, signal);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    if (!dir_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
        dir_.clear();
    }
}

void Ser2net::Stop() {
    End(SIGTERM);
}

void Ser2net::Kill() {
    End(SIGKILL);
}

std::string Ser2net::RawUrl() const {
    return "tcp://127.0.0.1:" + std::to_string(rawPort_);
}

std::string Ser2net::TelnetUrl() const {
    return "rfc2217://127.0.0.1:" + std::to_string(telnetPort_);
}

} // namespace vk::test
