// Sockets on POSIX systems: non-blocking descriptors and poll.
#include "link/net_socket.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vk::net_socket {

namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point end) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 1 << 30));
}

// A connection attempt to one address: EINPROGRESS, then a wait for it to complete.
int ConnectOne(const addrinfo& a, Clock::time_point end, int* error) {
    int fd = socket(a.ai_family, a.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a.ai_protocol);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    if (connect(fd, a.ai_addr, a.ai_addrlen) != 0 && errno != EINPROGRESS) {
        *error = errno;
        close(fd);
        return -1;
    }
    pollfd p{fd, POLLOUT, 0};
    int r;
    do {
        r = poll(&p, 1, MsLeft(end));
    } while (r < 0 && errno == EINTR);
    int soError = 0;
    socklen_t length = sizeof soError;
    if (r == 0)
        soError = ETIMEDOUT;
    else if (r < 0)
        soError = errno;
    else if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &length) != 0)
        soError = errno;
    if (soError != 0) {
        *error = soError;
        close(fd);
        return -1;
    }
    // Frames are small and each waits for its answer: Nagle's delay would cost every
    // exchange up to a round trip.
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

} // namespace

Socket Connect(const std::string& host, std::uint16_t port, std::uint32_t timeoutMs,
               std::string* reason) {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_ADDRCONFIG | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (int r = getaddrinfo(host.c_str(), service.c_str(), &hints, &found); r != 0) {
        *reason = r == EAI_SYSTEM ? std::strerror(errno) : gai_strerror(r);
        return kNoSocket;
    }
    int error = ETIMEDOUT;
    int fd = -1;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        if (MsLeft(end) == 0) {
            error = ETIMEDOUT;
            break;
        }
        fd = ConnectOne(*a, end, &error);
    }
    freeaddrinfo(found);
    if (fd < 0) {
        *reason = std::strerror(error);
        return kNoSocket;
    }
    return fd;
}

Ready Wait(Socket s, bool forWrite, std::uint32_t ms) {
    pollfd p{static_cast<int>(s), static_cast<short>(forWrite ? POLLOUT : POLLIN), 0};
    int r = poll(&p, 1, static_cast<int>(std::min<std::uint32_t>(ms, 1u << 30)));
    if (r < 0) {
        if (errno == EINTR)
            return Ready::No;
        return Ready::Failed;
    }
    // A hang-up or an error counts as ready: the next call finds out which.
    return r == 0 ? Ready::No : Ready::Yes;
}

long Receive(Socket s, std::uint8_t* buffer, std::size_t capacity) {
    for (;;) {
        ssize_t n = recv(static_cast<int>(s), buffer, capacity, 0);
        if (n > 0) {
#if defined(TCP_QUICKACK)
            // A server that gathers small writes (ser2net does) sends the rest of a reply
            // only once its first part is acknowledged; a delayed acknowledgement would
            // hold every reply back some 40 ms. Linux forgets this after a while, so it is
            // asked for again after every receive.
            int one = 1;
            setsockopt(static_cast<int>(s), IPPROTO_TCP, TCP_QUICKACK, &one, sizeof one);
#endif
            return static_cast<long>(n);
        }
        if (n == 0)
            return 0;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return kNothingYet;
        return kBroken;
    }
}

long Send(Socket s, const std::uint8_t* data, std::size_t length) {
    for (;;) {
        // MSG_NOSIGNAL: a peer that went away is an error to report, not a signal that
        // ends the program.
        ssize_t n = send(static_cast<int>(s), data, length, MSG_NOSIGNAL);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        return kBroken;
    }
}

void ShutdownSend(Socket s) {
    shutdown(static_cast<int>(s), SHUT_WR);
}

void Close(Socket s) {
    if (s != kNoSocket)
        close(static_cast<int>(s));
}

} // namespace vk::net_socket
