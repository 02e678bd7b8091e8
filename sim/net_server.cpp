#include "sim/net_server.h"

#include "link/telnet.h"
#include "sim/telnet_side.h"

#include <arpa/inet.h>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vk::sim {

namespace {

using Bytes = std::vector<std::uint8_t>;

// A client that stops reading, or a line that stops taking, must not make us hoard.
constexpr std::size_t kMaxBuffered = 64 * 1024;

void CloseFd(int& fd) {
    if (fd >= 0)
        close(fd);
    fd = -1;
}

} // namespace

std::optional<ListenAddress> ParseListenAddress(NetProtocol protocol, const std::string& text,
                                                std::string* problem) {
    std::string full = text;
    if (!full.empty() && full.find_first_not_of("0123456789") == std::string::npos)
        full = "127.0.0.1:" + full;
    else if (!full.empty() && full[0] == ':')
        full = "127.0.0.1" + full;
    // Port 0 asks the system for a free one; the name parser knows only real ports.
    bool anyPort = full.size() > 2 && full.compare(full.size() - 2, 2, ":0") == 0;
    if (anyPort)
        full.back() = '1';
    std::optional<NetPortName> parsed = ParseNetworkPortName("tcp://" + full, problem);
    if (!parsed)
        return std::nullopt;
    ListenAddress out;
    out.protocol = protocol;
    out.host = parsed->host;
    out.port = anyPort ? 0 : parsed->port;
    return out;
}

struct NetServer::Impl {
    ListenAddress address;
    std::string device;
    int listenFd = -1;
    int wakeRead = -1;
    int wakeWrite = -1;
    std::uint16_t port = 0;
    std::thread thread;
    std::atomic<bool> stopping{false};
    std::mutex lifecycle;

    bool Listen(std::string* error);
    void Serve();
    void ServeClient(int client);
    void TurnAway(int client, const char* why);
};

bool NetServer::Impl::Listen(std::string* error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(address.port);
    if (int r = getaddrinfo(address.host.c_str(), service.c_str(), &hints, &found); r != 0) {
        *error = "cannot listen on " + address.host + " (" + gai_strerror(r) + ")";
        return false;
    }
    int lastError = 0;
    for (addrinfo* a = found; a && listenFd < 0; a = a->ai_next) {
        int fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            lastError = errno;
            continue;
        }
        int one = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        if (bind(fd, a->ai_addr, a->ai_addrlen) != 0 || listen(fd, 4) != 0) {
            lastError = errno;
            close(fd);
            continue;
        }
        listenFd = fd;
    }
    freeaddrinfo(found);
    if (listenFd < 0) {
        *error = "cannot listen on " + address.host + ":" + service + " (" +
                 std::strerror(lastError) + ")";
        return false;
    }
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    getsockname(listenFd, reinterpret_cast<sockaddr*>(&bound), &length);
    port = ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                             : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    return true;
}

void NetServer::Impl::TurnAway(int client, const char* why) {
    send(client, why, std::strlen(why), MSG_NOSIGNAL);
    close(client);
}

void NetServer::Impl::Serve() {
    while (!stopping) {
        pollfd p[2] = {{wakeRead, POLLIN, 0}, {listenFd, POLLIN, 0}};
        if (poll(p, 2, -1) < 0 && errno != EINTR)
            return;
        if (stopping)
            return;
        if (p[1].revents & POLLIN) {
            int client = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0)
                ServeClient(client);
        }
    }
}

void NetServer::Impl::ServeClient(int client) {
    int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const std::string why =
            std::string("Device open failure: ") + std::strerror(errno) + "\r\n";
        TurnAway(client, why.c_str());
        return;
    }
    // The line starts as a server's port is configured: at the speed it was set up for, 8
    // data bits, no parity, one stop bit. A raw stream keeps it.
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    const speed_t speed = TerminalSpeed(address.lineSpeed);
    cfsetispeed(&tio, speed != B0 ? speed : B57600);
    cfsetospeed(&tio, speed != B0 ? speed : B57600);
    tcsetattr(fd, TCSANOW, &tio);
    int one = 1;
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    fcntl(client, F_SETFL, fcntl(client, F_GETFL) | O_NONBLOCK);

    const bool telnet = address.protocol == NetProtocol::Rfc2217;
    TelnetSide side(fd);
    Bytes toDevice, toClient;
    std::uint8_t chunk[4096];
    while (!stopping) {
        pollfd p[4] = {{wakeRead, POLLIN, 0}, {listenFd, POLLIN, 0}, {client, 0, 0}, {fd, 0, 0}};
        // The client's bytes may bring answers as well as data: both queues must have room.
        if (toDevice.size() < kMaxBuffered && toClient.size() < kMaxBuffered)
            p[2].events |= POLLIN;
        if (!toClient.empty())
            p[2].events |= POLLOUT;
        if (toClient.size() < kMaxBuffered)
            p[3].events |= POLLIN;
        if (!toDevice.empty())
            p[3].events |= POLLOUT;
        if (poll(p, 4, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (p[1].revents & POLLIN) {
            int other = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (other >= 0)
                TurnAway(other, "Port already in use\r\n");
        }
        if (p[2].revents & (POLLIN | POLLHUP | POLLERR)) {
            ssize_t n = recv(client, chunk, sizeof chunk, 0);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
                break;
            if (n > 0) {
                if (telnet)
                    side.Receive(chunk, static_cast<std::size_t>(n), toDevice, toClient);
                else
                    toDevice.insert(toDevice.end(), chunk, chunk + n);
            }
        }
        if (p[3].revents & (POLLIN | POLLHUP | POLLERR)) {
            ssize_t n = read(fd, chunk, sizeof chunk);
            // The line went away (the simulator stopped): so does the connection.
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
                break;
            if (n > 0) {
                if (telnet)
                    telnet::AppendEscaped(chunk, static_cast<std::size_t>(n), toClient);
                else
                    toClient.insert(toClient.end(), chunk, chunk + n);
            }
        }
        if (!toClient.empty()) {
            ssize_t n = send(client, toClient.data(), toClient.size(), MSG_NOSIGNAL);
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                break;
            if (n > 0)
                toClient.erase(toClient.begin(), toClient.begin() + n);
        }
        if (!toDevice.empty()) {
            ssize_t n = write(fd, toDevice.data(), toDevice.size());
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                break;
            if (n > 0)
                toDevice.erase(toDevice.begin(), toDevice.begin() + n);
        }
    }
    close(fd);
    close(client);
}

NetServer::NetServer() : impl_(std::make_unique<Impl>()) {}

NetServer::~NetServer() {
    Stop();
}

bool NetServer::Start(const ListenAddress& address, const std::string& device, std::string* error) {
    Impl& d = *impl_;
    std::lock_guard order(d.lifecycle);
    if (d.thread.joinable()) {
        *error = "the server is already running";
        return false;
    }
    d.address = address;
    d.device = device;
    if (!d.Listen(error))
        return false;
    int fds[2];
    if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) {
        *error = std::string("pipe failed (") + std::strerror(errno) + ")";
        CloseFd(d.listenFd);
        return false;
    }
    d.wakeRead = fds[0];
    d.wakeWrite = fds[1];
    d.stopping = false;
    d.thread = std::thread([&d] { d.Serve(); });
    return true;
}

void NetServer::Stop() {
    Impl& d = *impl_;
    std::lock_guard order(d.lifecycle);
    if (!d.thread.joinable())
        return;
    d.stopping = true;
    const std::uint8_t wake = 1;
    (void)!write(d.wakeWrite, &wake, 1);
    d.thread.join();
    CloseFd(d.listenFd);
    CloseFd(d.wakeRead);
    CloseFd(d.wakeWrite);
}

std::uint16_t NetServer::Port() const {
    return impl_->port;
}

std::string NetServer::Url() const {
    NetPortName name{impl_->address.protocol, impl_->address.host, impl_->port};
    return NetworkPortText(name);
}

} // namespace vk::sim
