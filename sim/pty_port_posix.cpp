#include "sim/pty_port.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace vk::sim {

namespace {

void CloseFd(int& fd) {
    if (fd >= 0)
        close(fd);
    fd = -1;
}

bool Fail(std::string* error, const char* what) {
    if (error)
        *error = std::string(what) + " (" + std::strerror(errno) + ")";
    return false;
}

std::int32_t BaudOf(speed_t speed) {
    switch (speed) {
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    default:
        return 0;
    }
}

} // namespace

PtyPort::~PtyPort() {
    Close();
}

bool PtyPort::Open(std::string* error) {
    Close();
    if (openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0)
        return Fail(error, "openpty failed");
    char name[128] = {};
    if (ptsname_r(master_, name, sizeof name) != 0) {
        Close();
        return Fail(error, "ptsname failed");
    }
    slavePath_ = name;
    termios tio{};
    if (tcgetattr(slave_, &tio) == 0) {
        cfmakeraw(&tio);
        cfsetispeed(&tio, B57600);
        cfsetospeed(&tio, B57600);
        tcsetattr(slave_, TCSANOW, &tio);
    }
    int pipeFds[2];
    if (pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC) != 0) {
        Close();
        return Fail(error, "pipe failed");
    }
    wakeRead_ = pipeFds[0];
    wakeWrite_ = pipeFds[1];
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(slave_, F_SETFD, FD_CLOEXEC);
    return true;
}

void PtyPort::Close() {
    CloseFd(master_);
    CloseFd(slave_);
    CloseFd(wakeRead_);
    CloseFd(wakeWrite_);
}

WaitResult PtyPort::Wait(std::optional<Clock::time_point> deadline, bool wantWrite) {
    WaitResult result;
    pollfd fds[2] = {{master_, static_cast<short>(POLLIN | (wantWrite ? POLLOUT : 0)), 0},
                     {wakeRead_, POLLIN, 0}};
    timespec limit{};
    timespec* timeout = nullptr;
    if (deadline) {
        auto left = std::max(*deadline - Clock::now(), Clock::duration(0));
        auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        limit.tv_sec = static_cast<time_t>(ns / 1000000000);
        limit.tv_nsec = static_cast<long>(ns % 1000000000);
        timeout = &limit;
    }
    int n = ppoll(fds, 2, timeout, nullptr);
    if (n < 0) {
        result.failed = errno != EINTR;
        return result;
    }
    if (fds[1].revents & POLLIN) {
        std::uint8_t drain[64];
        while (read(wakeRead_, drain, sizeof drain) > 0) {
        }
    }
    result.readable = fds[0].revents & POLLIN;
    result.writable = fds[0].revents & POLLOUT;
    // We hold the slave open, so a hang-up here means the terminal itself is gone.
    if (fds[0].revents & (POLLERR | POLLNVAL | POLLHUP) && !result.readable)
        result.failed = true;
    return result;
}

void PtyPort::Wake() {
    if (wakeWrite_ < 0)
        return;
    std::uint8_t one = 1;
    [[maybe_unused]] auto ignored = write(wakeWrite_, &one, 1);
}

long PtyPort::Read(std::uint8_t* buffer, std::size_t capacity) {
    ssize_t n = read(master_, buffer, capacity);
    if (n >= 0)
        return n;
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
}

long PtyPort::Write(const std::uint8_t* data, std::size_t length) {
    ssize_t n = write(master_, data, length);
    if (n >= 0)
        return n;
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
}

std::size_t PtyPort::InputWaiting() const {
    int waiting = 0;
    if (master_ < 0 || ioctl(master_, FIONREAD, &waiting) != 0 || waiting < 0)
        return 0;
    return static_cast<std::size_t>(waiting);
}

LineFormat PtyPort::Format() const {
    LineFormat format;
    termios tio{};
    // On the master side the terminal settings are those the program set on the slave.
    if (master_ < 0 || tcgetattr(master_, &tio) != 0)
        return format;
    format.baudRate = BaudOf(cfgetospeed(&tio));
    int dataBits = 8;
    switch (tio.c_cflag & CSIZE) {
    case CS5:
        dataBits = 5;
        break;
    case CS6:
        dataBits = 6;
        break;
    case CS7:
        dataBits = 7;
        break;
    default:
        break;
    }
    format.bitsPerByte =
        1 + dataBits + ((tio.c_cflag & PARENB) ? 1 : 0) + ((tio.c_cflag & CSTOPB) ? 2 : 1);
    return format;
}

} // namespace vk::sim
