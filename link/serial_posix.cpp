// POSIX backend of the port layer: termios for the line settings, poll + read/write
// for the single calls, TIOCGICOUNT deltas for the error flags where the driver has them.
#include "link/serial_backend.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#if defined(__linux__)
#include <linux/serial.h>
#endif

namespace vk {

struct SerialPort {
    int fd = -1;
    termios tio{};
    std::uint32_t readTimeoutMs = 100;
    std::uint32_t writeTimeoutMs = 100;
    std::int32_t baudRate = 57600;
    std::uint32_t pendingFlags = 0; // flags seen by a failed call, reported with the next read
    bool lost = false;              // the device went away; nothing on this descriptor works again
#if defined(TIOCGICOUNT)
    serial_icounter_struct lastCounts{};
    bool haveCounts = false;
    bool noCounts = false; // the driver keeps none (a pseudo-terminal): not asked again
#endif
};

namespace serial_backend {

namespace {

thread_local int tLastError = 0;

bool Fail(int error) {
    tLastError = error;
    return false;
}

bool FailWithErrno() {
    return Fail(errno);
}

// A hang-up reads as end of file or EIO; a pulled USB adapter may also answer ENXIO or
// ENODEV. None of them passes: the terminal stays hung up until it is opened again.
bool MeansGone(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
}

// A failed call on an open port: the device may have gone for good.
bool FailOn(SerialPort* port, int error) {
    if (MeansGone(error)) {
        port->lost = true;
        port->pendingFlags |= kCeIoe;
    }
    return Fail(error);
}

bool FailWithErrnoOn(SerialPort* port) {
    return FailOn(port, errno);
}

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point end) {
    auto left = std::chrono::duration_cast<std::chrono::microseconds>(end - Clock::now()).count();
    if (left <= 0)
        return 0;
    // poll takes an int; a longer wait is simply taken in several calls.
    return static_cast<int>(std::min<long long>((left + 999) / 1000, 1 << 30));
}

speed_t SpeedCode(std::int32_t baud) {
    switch (baud) {
    case 50:
        return B50;
    case 75:
        return B75;
    case 110:
        return B110;
    case 134:
        return B134;
    case 150:
        return B150;
    case 200:
        return B200;
    case 300:
        return B300;
    case 600:
        return B600;
    case 1200:
        return B1200;
    case 1800:
        return B1800;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
#if defined(B460800)
    case 460800:
        return B460800;
    case 921600:
        return B921600;
#endif
    default:
        return B0;
    }
}

bool SizeFlag(std::int32_t dataBits, tcflag_t* flag) {
    switch (dataBits) {
    case 5:
        *flag = CS5;
        return true;
    case 6:
        *flag = CS6;
        return true;
    case 7:
        *flag = CS7;
        return true;
    case 8:
        *flag = CS8;
        return true;
    default:
        return false; // 4 data bits: no UART here can do it
    }
}

// Modem lines: a pseudo-terminal has none, which is not an error.
bool SetModemLine(int fd, int line, std::int32_t mode) {
    if (mode != 0 && mode != 1)
        return true; // handshake modes leave the line to the driver
    int bits = line;
    if (ioctl(fd, mode == 1 ? TIOCMBIS : TIOCMBIC, &bits) == 0)
        return true;
    return errno == ENOTTY || errno == EINVAL;
}

// Waits up to `ms` for `events`; false with the device's failure when it went away.
bool WaitFor(SerialPort* port, short events, int ms, bool* ready) {
    pollfd p{port->fd, events, 0};
    *ready = false;
    int r = poll(&p, 1, ms);
    if (r < 0)
        return errno == EINTR ? true : FailWithErrnoOn(port);
    if (r == 0)
        return true;
    if (p.revents & events) {
        *ready = true;
        return true;
    }
    if (p.revents & POLLNVAL) {
        port->pendingFlags |= kCeIoe;
        return Fail(EBADF);
    }
    // Hang-up or error without data: the device is gone (adapter pulled, peer closed).
    return FailOn(port, EIO);
}

} // namespace

void SetNoSuchDevice() {
    Fail(ENOENT);
}

PortHandle Open(const char* device) {
    int fd = open(device, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        FailWithErrno();
        return kInvalidPortHandle;
    }
    auto refuse = [fd](int error) {
        close(fd);
        Fail(error);
        return kInvalidPortHandle;
    };
    if (!isatty(fd))
        return refuse(ENOTTY);
    // Not shared: TIOCEXCL keeps other programs out, the lock keeps out even root.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        return refuse(errno == EWOULDBLOCK ? EBUSY : errno);
    if (ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY)
        return refuse(errno);
    auto* port = new SerialPort;
    port->fd = fd;
    return port;
}

bool Close(PortHandle port) {
    int fd = port->fd;
    delete port;
    // The exclusive flag lives with the terminal, not with our descriptor: a line whose
    // other end stays open (a simulator, a multiplexer) would refuse the next open.
    ioctl(fd, TIOCNXCL);
    if (close(fd) != 0 && errno != EINTR)
        return FailWithErrno();
    return true;
}

bool GetState(PortHandle port) {
    if (tcgetattr(port->fd, &port->tio) != 0)
        return FailWithErrno();
    return true;
}

bool SetState(PortHandle port, const PortSettings& s) {
    termios tio = port->tio;
    speed_t speed = SpeedCode(s.baudRate);
    tcflag_t size = 0;
    bool oneAndHalfOk = s.stopBits != kStopOneAndHalf || s.dataBits == 5;
    if (speed == B0 || !SizeFlag(s.dataBits, &size) || s.parity < kParityNone ||
        s.parity > kParitySpace || s.stopBits < kStopOne || s.stopBits > kStopTwo || !oneAndHalfOk)
        return Fail(EINVAL);

    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
#if defined(CMSPAR)
    tio.c_cflag &= ~CMSPAR;
#endif
    tio.c_cflag |= size | CREAD | CLOCAL;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | ISTRIP | IGNPAR | PARMRK);
    if (s.parity != kParityNone) {
        tio.c_cflag |= PARENB;
        tio.c_iflag |= INPCK;
        if (s.parity == kParityOdd || s.parity == kParityMark)
            tio.c_cflag |= PARODD;
#if defined(CMSPAR)
        if (s.parity == kParityMark || s.parity == kParitySpace)
            tio.c_cflag |= CMSPAR;
#else
        if (s.parity == kParityMark || s.parity == kParitySpace)
            return Fail(EINVAL);
#endif
    }
    if (s.stopBits != kStopOne)
        tio.c_cflag |= CSTOPB;
    if (s.ctsOutputFlow)
        tio.c_cflag |= CRTSCTS;
    if (s.xonXoffOutput)
        tio.c_iflag |= IXON;
    if (s.xonXoffInput)
        tio.c_iflag |= IXOFF;
    tio.c_cc[VSTART] = s.xonChar;
    tio.c_cc[VSTOP] = s.xoffChar;
    // VMIN 1 with O_NONBLOCK: an empty queue reads as EAGAIN, so a read of 0 bytes
    // means end of file (the device went away) and never "nothing yet".
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    if (tcsetattr(port->fd, TCSANOW, &tio) != 0)
        return FailWithErrno();
    port->tio = tio;
    port->baudRate = s.baudRate;
    if (!SetModemLine(port->fd, TIOCM_RTS, s.rtsControl) ||
        !SetModemLine(port->fd, TIOCM_DTR, s.dtrControl))
        return FailWithErrno();
    return true;
}

bool SetupQueues(PortHandle, std::int32_t inputSize, std::int32_t outputSize) {
    // The driver sizes its own queues; only nonsense is refused.
    return inputSize >= 0 && outputSize >= 0 ? true : Fail(EINVAL);
}

bool SetTimeouts(PortHandle port, std::uint32_t readMs, std::uint32_t writeMs) {
    port->readTimeoutMs = readMs;
    port->writeTimeoutMs = writeMs;
    return true;
}

bool Purge(PortHandle port) {
    if (tcflush(port->fd, TCIOFLUSH) != 0)
        return FailWithErrnoOn(port);
    return true;
}

bool PurgeInput(PortHandle port) {
    if (tcflush(port->fd, TCIFLUSH) != 0)
        return FailWithErrnoOn(port);
    return true;
}

bool ReadCall(PortHandle port, std::uint8_t* buffer, std::size_t length, std::size_t* got) {
    *got = 0;
    // A read time-out of 0 would make every caller that loops on a deadline spin; one
    // millisecond keeps the loop asleep between calls.
    auto end =
        Clock::now() + std::chrono::milliseconds(std::max<std::uint32_t>(port->readTimeoutMs, 1));
    for (;;) {
        ssize_t n = read(port->fd, buffer + *got, length - *got);
        if (n > 0) {
            *got += static_cast<std::size_t>(n);
            if (*got == length)
                return true;
            continue;
        }
        if (n == 0) {
            // End of file on a terminal: the other side hung up.
            return FailOn(port, EIO);
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            port->pendingFlags |= kCeIoe;
            return FailWithErrnoOn(port);
        }
        int left = MsLeft(end);
        if (left == 0)
            return true;
        bool ready = false;
        if (!WaitFor(port, POLLIN, left, &ready))
            return false;
        if (!ready && MsLeft(end) == 0)
            return true;
    }
}

bool WriteCall(PortHandle port, const std::uint8_t* data, std::size_t length, std::size_t* put) {
    *put = 0;
    // As for reading: with a time-out of 0 a full line would return at once, and the
    // caller's deadline loop would spin until its budget is spent.
    auto end =
        Clock::now() + std::chrono::milliseconds(std::max<std::uint32_t>(port->writeTimeoutMs, 1));
    for (;;) {
        ssize_t n = write(port->fd, data + *put, length - *put);
        if (n > 0) {
            *put += static_cast<std::size_t>(n);
            if (*put == length)
                return true;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            port->pendingFlags |= kCeIoe;
            return FailWithErrnoOn(port);
        }
        int left = MsLeft(end);
        if (left == 0)
            return true;
        bool ready = false;
        if (!WaitFor(port, POLLOUT, left, &ready))
            return false;
    }
}

bool Flush(PortHandle port) {
    // tcdrain has no time limit: with flow control held off it would wait for ever. So
    // the queue is watched until it empties, for at most its wire time plus the write
    // time-out; tcdrain then only waits for the last character.
    using std::chrono::microseconds;
    auto byteTime = microseconds(10'000'000 / std::max<std::int32_t>(port->baudRate, 50));
    auto end = Clock::now() + std::chrono::milliseconds(port->writeTimeoutMs + 100);
    bool extended = false;
    for (;;) {
        int queued = 0;
        if (ioctl(port->fd, TIOCOUTQ, &queued) != 0) {
            if (MeansGone(errno))
                return FailWithErrnoOn(port);
            break;
        }
        if (queued <= 0)
            break;
        if (!extended) {
            end += 2 * queued * byteTime;
            extended = true;
        }
        if (Clock::now() >= end)
            return Fail(ETIMEDOUT);
        std::this_thread::sleep_for(
            std::clamp(queued * byteTime, microseconds(200), microseconds(5000)));
    }
    if (tcdrain(port->fd) != 0)
        return FailWithErrnoOn(port);
    return true;
}

bool ReadErrorFlags(PortHandle port, std::uint32_t* flags, std::uint32_t* inQueue) {
    int waiting = 0;
    if (ioctl(port->fd, FIONREAD, &waiting) != 0)
        return FailWithErrnoOn(port);
    *inQueue = waiting > 0 ? static_cast<std::uint32_t>(waiting) : 0;
    *flags = port->pendingFlags;
    port->pendingFlags = 0;
#if defined(TIOCGICOUNT)
    // Every exchange reads the flags: a driver without counters is asked only once.
    serial_icounter_struct now{};
    const bool counted = !port->noCounts && ioctl(port->fd, TIOCGICOUNT, &now) == 0;
    if (!counted && !port->noCounts)
        port->noCounts = errno == ENOTTY || errno == EINVAL;
    if (counted) {
        if (port->haveCounts) {
            const auto& was = port->lastCounts;
            if (now.brk != was.brk)
                *flags |= kCeBreak;
            if (now.frame != was.frame)
                *flags |= kCeFrame;
            if (now.overrun != was.overrun)
                *flags |= kCeOverrun;
            if (now.parity != was.parity)
                *flags |= kCeRxParity;
            if (now.buf_overrun != was.buf_overrun)
                *flags |= kCeRxOver;
        }
        port->lastCounts = now;
        port->haveCounts = true;
    }
#endif
    return true;
}

bool Lost(PortHandle port) {
    return port->lost;
}

void LastSystemErrorText(char* out, std::size_t size) {
    if (size == 0)
        return;
    const char* text = tLastError ? std::strerror(tLastError) : "";
    std::strncpy(out, text, size - 1);
    out[size - 1] = '\0';
}

} // namespace serial_backend
} // namespace vk
