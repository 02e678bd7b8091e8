// Sockets on Windows: Winsock, non-blocking sockets and select.
#include "link/net_socket.h"

// winsock2.h first: the others build on its types.
#include <winsock2.h>

#include <mstcpip.h>
#include <ws2tcpip.h>

#include <chrono>
#include <mutex>

namespace vk::net_socket {

namespace {

using Clock = std::chrono::steady_clock;

// Winsock is started once for the process and left running until it ends; 0 when it
// runs, else the reason it could not start.
int StartWinsock() {
    static std::once_flag once;
    static int result = 0;
    std::call_once(once, [] {
        WSADATA data;
        result = WSAStartup(MAKEWORD(2, 2), &data);
    });
    return result;
}

std::string SystemText(int error) {
    char text[256] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             static_cast<DWORD>(error), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                             text, sizeof text, nullptr);
    // The system's messages end in a line break, which a one-line error text must not.
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == '.'))
        --n;
    return std::string(text, n);
}

timeval Timeval(std::uint32_t ms) {
    timeval tv;
    tv.tv_sec = static_cast<long>(ms / 1000);
    tv.tv_usec = static_cast<long>((ms % 1000) * 1000);
    return tv;
}

std::uint32_t MsLeft(Clock::time_point end) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<std::uint32_t>(left);
}

SOCKET ConnectOne(const addrinfo& a, Clock::time_point end, int* error) {
    SOCKET s = socket(a.ai_family, a.ai_socktype, a.ai_protocol);
    if (s == INVALID_SOCKET) {
        *error = WSAGetLastError();
        return INVALID_SOCKET;
    }
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    if (connect(s, a.ai_addr, static_cast<int>(a.ai_addrlen)) != 0 &&
        WSAGetLastError() != WSAEWOULDBLOCK) {
        *error = WSAGetLastError();
        closesocket(s);
        return INVALID_SOCKET;
    }
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval tv = Timeval(MsLeft(end));
    int r = select(0, nullptr, &writable, &failed, &tv);
    int soError = 0;
    int length = sizeof soError;
    if (r == 0)
        soError = WSAETIMEDOUT;
    else if (r < 0)
        soError = WSAGetLastError();
    else if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&soError), &length) != 0)
        soError = WSAGetLastError();
    if (soError != 0) {
        *error = soError;
        closesocket(s);
        return INVALID_SOCKET;
    }
    // Frames are small and each waits for its answer: Nagle's delay would cost every
    // exchange up to a round trip.
    BOOL one = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
    // A server that gathers small writes sends the rest of a reply only once its first part
    // is acknowledged: every segment is acknowledged at once, not after the usual delay.
    DWORD frequency = 1, returned = 0;
    WSAIoctl(s, SIO_TCP_SET_ACK_FREQUENCY, &frequency, sizeof frequency, nullptr, 0, &returned,
             nullptr, nullptr);
    return s;
}

} // namespace

Socket Connect(const std::string& host, std::uint16_t port, std::uint32_t timeoutMs,
               std::string* reason) {
    if (const int error = StartWinsock(); error != 0) {
        *reason = SystemText(error);
        return kNoSocket;
    }
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = AI_ADDRCONFIG | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (int r = getaddrinfo(host.c_str(), service.c_str(), &hints, &found); r != 0) {
        *reason = SystemText(r);
        return kNoSocket;
    }
    int error = WSAETIMEDOUT;
    SOCKET s = INVALID_SOCKET;
    for (addrinfo* a = found; a && s == INVALID_SOCKET; a = a->ai_next) {
        if (MsLeft(end) == 0) {
            error = WSAETIMEDOUT;
            break;
        }
        s = ConnectOne(*a, end, &error);
    }
    freeaddrinfo(found);
    if (s == INVALID_SOCKET) {
        *reason = SystemText(error);
        return kNoSocket;
    }
    return static_cast<Socket>(s);
}

Ready Wait(Socket s, bool forWrite, std::uint32_t ms) {
    const SOCKET sock = static_cast<SOCKET>(s);
    fd_set set, failed;
    FD_ZERO(&set);
    FD_ZERO(&failed);
    FD_SET(sock, &set);
    FD_SET(sock, &failed);
    timeval tv = Timeval(ms);
    int r = select(0, forWrite ? nullptr : &set, forWrite ? &set : nullptr, &failed, &tv);
    if (r < 0)
        return Ready::Failed;
    return r == 0 ? Ready::No : Ready::Yes;
}

long Receive(Socket s, std::uint8_t* buffer, std::size_t capacity) {
    int n = recv(static_cast<SOCKET>(s), reinterpret_cast<char*>(buffer),
                 static_cast<int>(capacity > 65536 ? 65536 : capacity), 0);
    if (n >= 0)
        return n;
    return WSAGetLastError() == WSAEWOULDBLOCK ? kNothingYet : kBroken;
}

long Send(Socket s, const std::uint8_t* data, std::size_t length) {
    int n = send(static_cast<SOCKET>(s), reinterpret_cast<const char*>(data),
                 static_cast<int>(length > 65536 ? 65536 : length), 0);
    if (n >= 0)
        return n;
    return WSAGetLastError() == WSAEWOULDBLOCK ? 0 : kBroken;
}

void ShutdownSend(Socket s) {
    shutdown(static_cast<SOCKET>(s), SD_SEND);
}

void Close(Socket s) {
    if (s != kNoSocket)
        closesocket(static_cast<SOCKET>(s));
}

} // namespace vk::net_socket
