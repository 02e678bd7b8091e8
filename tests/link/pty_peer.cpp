#include "tests/link/pty_peer.h"

#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace vk::test {

PtyPeer::PtyPeer(int comNumber) : com_(comNumber) {
    char name[128] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    char tmpl[] = "/tmp/vk-ports-XXXXXX";
    if (!mkdtemp(tmpl))
        throw std::runtime_error("mkdtemp failed");
    dir_ = tmpl;
    std::filesystem::create_symlink(name, dir_ + "/" + ComName());
    setenv("KORVEL_PORT_DIR", dir_.c_str(), 1);
}

PtyPeer::~PtyPeer() {
    JoinAnswer();
    Hangup();
    if (slave_ >= 0)
        close(slave_);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

void PtyPeer::Send(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            throw std::runtime_error("pty write failed");
        done += static_cast<std::size_t>(n);
    }
}

void PtyPeer::AnswerNextRequest(std::vector<std::uint8_t> bytes) {
    JoinAnswer();
    answer_ = std::thread([this, bytes = std::move(bytes)] {
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, 2000) <= 0 || !(p.revents & POLLIN))
            return;
        std::uint8_t buf[512];
        ssize_t n = read(master_, buf, sizeof buf);
        if (n > 0) {
            std::lock_guard lock(mutex_);
            taken_.insert(taken_.end(), buf, buf + n);
        }
        Send(bytes);
    });
}

void PtyPeer::JoinAnswer() {
    if (answer_.joinable())
        answer_.join();
}

std::vector<std::uint8_t> PtyPeer::Received(int quietMs) {
    JoinAnswer();
    std::vector<std::uint8_t> out;
    {
        std::lock_guard lock(mutex_);
        out.swap(taken_);
    }
    pollfd p{master_, POLLIN, 0};
    while (poll(&p, 1, quietMs) > 0 && (p.revents & POLLIN)) {
        std::uint8_t buf[512];
        ssize_t n = read(master_, buf, sizeof buf);
        if (n <= 0)
            break;
        out.insert(out.end(), buf, buf + n);
    }
    return out;
}

void PtyPeer::Hangup() {
    if (master_ >= 0) {
        close(master_);
        master_ = -1;
    }
    // Our own slave descriptor would keep the line up; the program must see it die.
    if (slave_ >= 0) {
        close(slave_);
        slave_ = -1;
    }
}

} // namespace vk::test
