#include "sim/net_server.h"

#include "link/rfc2217_client.h"
#include "link/telnet.h"

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
using namespace vk::telnet;
namespace cp = vk::rfc2217;

// A client that stops reading, or a line that stops taking, must not make us hoard.
constexpr std::size_t kMaxBuffered = 64 * 1024;

struct Speed {
    std::uint32_t baud;
    speed_t code;
};
constexpr Speed kSpeeds[] = {{1200, B1200},   {2400, B2400},     {4800, B4800},
                             {9600, B9600},   {19200, B19200},   {38400, B38400},
                             {57600, B57600}, {115200, B115200}, {230400, B230400}};

std::uint32_t BaudOf(speed_t code) {
    for (const Speed& s : kSpeeds) {
        if (s.code == code)
            return s.baud;
    }
    return 0;
}

void CloseFd(int& fd) {
    if (fd >= 0)
        close(fd);
    fd = -1;
}

std::uint32_t BigEndian(const std::vector<std::uint8_t>& body) {
    std::uint32_t value = 0;
    for (std::size_t i = 1; i < body.size() && i <= 4; ++i)
        value = (value << 8) | body[i];
    return value;
}

// The Telnet side of one client: negotiation answered as a server, COM port commands
// applied to the terminal and answered with what it then holds.
class TelnetSide {
public:
    explicit TelnetSide(int device) : device_(device) {}

    // Splits what the client sent into line data (to `toDevice`) and answers (`toClient`).
    void Receive(const std::uint8_t* bytes, std::size_t length, Bytes& toDevice, Bytes& toClient,
                 Bytes& fromDevice);

private:
    void Negotiate(const Event& e, Bytes& toClient);
    void Command(const Event& e, Bytes& toClient, Bytes& toDevice, Bytes& fromDevice);
    void Answer(std::uint8_t command, const Bytes& value, Bytes& toClient);
    termios Termios() const {
        termios tio{};
        tcgetattr(device_, &tio);
        return tio;
    }
    void Apply(const termios& tio) { tcsetattr(device_, TCSANOW, &tio); }

    int device_;
    Reader reader_;
    std::vector<Event> events_;
    std::array<bool, 256> weDo_{};
    std::array<bool, 256> theyDo_{};
    std::uint8_t dtr_ = cp::kDtrOn;
    std::uint8_t rts_ = cp::kRtsOn;
    std::uint8_t inbound_ = cp::kInboundNone;
};

void TelnetSide::Receive(const std::uint8_t* bytes, std::size_t length, Bytes& toDevice,
                         Bytes& toClient, Bytes& fromDevice) {
    // One byte at a time: a command acts where it stands in the stream, so a purge drops
    // the data before it and never the request right behind it.
    for (std::size_t i = 0; i < length; ++i) {
        events_.clear();
        reader_.Feed(bytes + i, 1, toDevice, events_);
        for (const Event& e : events_) {
            if (e.kind == Event::Kind::Negotiation)
                Negotiate(e, toClient);
            else if (e.kind == Event::Kind::Subnegotiation && e.option == kOptionComPort &&
                     !e.body.empty())
                Command(e, toClient, toDevice, fromDevice);
        }
    }
}

void TelnetSide::Negotiate(const Event& e, Bytes& toClient) {
    const bool weMay = e.option == kOptionBinary || e.option == kOptionSuppressGoAhead;
    const bool theyMay = weMay || e.option == kOptionComPort;
    switch (e.verb) {
    case kDo:
        if (!weMay)
            AppendNegotiation(kWont, e.option, toClient);
        else if (!weDo_[e.option])
            AppendNegotiation(kWill, e.option, toClient);
        weDo_[e.option] = weMay;
        break;
    case kWill:
        if (!theyMay)
            AppendNegotiation(kDont, e.option, toClient);
        else if (!theyDo_[e.option])
            AppendNegotiation(kDo, e.option, toClient);
        theyDo_[e.option] = theyMay;
        break;
    case kDont:
        if (weDo_[e.option])
            AppendNegotiation(kWont, e.option, toClient);
        weDo_[e.option] = false;
        break;
    case kWont:
        if (theyDo_[e.option])
            AppendNegotiation(kDont, e.option, toClient);
        theyDo_[e.option] = false;
        break;
    default:
        break;
    }
}

void TelnetSide::Answer(std::uint8_t command, const Bytes& value, Bytes& toClient) {
    Bytes body;
    body.push_back(static_cast<std::uint8_t>(command + cp::kServerAnswer));
    body.insert(body.end(), value.begin(), value.end());
    AppendSubnegotiation(kOptionComPort, body.data(), body.size(), toClient);
}

void TelnetSide::Command(const Event& e, Bytes& toClient, Bytes& toDevice, Bytes& fromDevice) {
    const std::uint8_t command = e.body[0];
    const std::uint8_t value = e.body.size() > 1 ? e.body[1] : 0;
    termios tio = Termios();
    switch (command) {
    case cp::kSignature:
        if (e.body.size() == 1)
            Answer(command, Bytes{'v', 'k', 's', 'i', 'm'}, toClient);
        return;
    case cp::kSetBaudRate: {
        // A speed the terminal cannot take is refused: the answer is the speed kept.
        const std::uint32_t asked = BigEndian(e.body);
        for (const Speed& s : kSpeeds) {
            if (asked != 0 && s.baud == asked) {
                cfsetispeed(&tio, s.code);
                cfsetospeed(&tio, s.code);
                Apply(tio);
            }
        }
        tio = Termios();
        const std::uint32_t baud = BaudOf(cfgetospeed(&tio));
        Answer(command,
               Bytes{static_cast<std::uint8_t>(baud >> 24), static_cast<std::uint8_t>(baud >> 16),
                     static_cast<std::uint8_t>(baud >> 8), static_cast<std::uint8_t>(baud)},
               toClient);
        return;
    }
    case cp::kSetDataSize: {
        constexpr tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
        if (value >= 5 && value <= 8) {
            tio.c_cflag = (tio.c_cflag & ~CSIZE) | sizes[value - 5];
            Apply(tio);
        }
        std::uint8_t bits = 8;
        for (std::uint8_t b = 5; b <= 8; ++b) {
            if ((tio.c_cflag & CSIZE) == sizes[b - 5])
                bits = b;
        }
        Answer(command, Bytes{bits}, toClient);
        return;
    }
    case cp::kSetParity: {
        if (value >= 1 && value <= 5) {
            tio.c_cflag &= ~(PARENB | PARODD | CMSPAR);
            if (value != 1)
                tio.c_cflag |= PARENB;
            if (value == 2 || value == 4)
                tio.c_cflag |= PARODD;
            if (value == 4 || value == 5)
                tio.c_cflag |= CMSPAR;
            Apply(tio);
        }
        std::uint8_t parity = 1;
        if (tio.c_cflag & PARENB) {
            const bool odd = tio.c_cflag & PARODD;
            parity = (tio.c_cflag & CMSPAR) ? (odd ? 4 : 5) : (odd ? 2 : 3);
        }
        Answer(command, Bytes{parity}, toClient);
        return;
    }
    case cp::kSetStopSize:
        // A terminal has one or two stop bits; one and a half is refused.
        if (value == 1 || value == 2) {
            tio.c_cflag = value == 2 ? (tio.c_cflag | CSTOPB) : (tio.c_cflag & ~CSTOPB);
            Apply(tio);
        }
        Answer(command, Bytes{static_cast<std::uint8_t>(tio.c_cflag & CSTOPB ? 2 : 1)}, toClient);
        return;
    case cp::kSetControl: {
        std::uint8_t state = value;
        if (value == 0 || value == 1 || value == 2 || value == 3) {
            if (value != 0) {
                tio.c_cflag &= ~CRTSCTS;
                tio.c_iflag &= ~IXON;
                if (value == 2)
                    tio.c_iflag |= IXON;
                if (value == 3)
                    tio.c_cflag |= CRTSCTS;
                Apply(tio);
            }
            state = (tio.c_cflag & CRTSCTS) ? 3 : ((tio.c_iflag & IXON) ? 2 : 1);
        } else if (value == 4 || value == 5 || value == 6) {
            state = 6; // no break is ever held on the simulated line
        } else if (value == 7 || value == 8 || value == 9) {
            // The simulated line has no modem lines; the state is kept for the client,
            // as a server in front of a real UART would report it.
            dtr_ = value == 7 ? dtr_ : value;
            state = dtr_;
        } else if (value == 10 || value == 11 || value == 12) {
            rts_ = value == 10 ? rts_ : value;
            state = rts_;
        } else if (value >= 13 && value <= 16) {
            inbound_ = value == 13 ? inbound_ : value;
            state = inbound_;
        }
        Answer(command, Bytes{state}, toClient);
        return;
    }
    case cp::kPurgeData:
        // 1: what came from the line and is not sent yet; 2: what is not on the line yet.
        if (value == cp::kPurgeReceive || value == cp::kPurgeBoth) {
            tcflush(device_, TCIFLUSH);
            fromDevice.clear();
        }
        if (value == cp::kPurgeTransmit || value == cp::kPurgeBoth) {
            tcflush(device_, TCOFLUSH);
            toDevice.clear();
        }
        Answer(command, Bytes{value}, toClient);
        return;
    default:
        if (command <= cp::kPurgeData)
            Answer(command, Bytes(e.body.begin() + 1, e.body.end()), toClient);
        return;
    }
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
    // The line starts as a server's port is configured: 57600 baud, 8 data bits, no
    // parity, one stop bit.
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&tio, B57600);
    cfsetospeed(&tio, B57600);
    tcsetattr(fd, TCSANOW, &tio);
    int one = 1;
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    fcntl(client, F_SETFL, fcntl(client, F_GETFL) | O_NONBLOCK);

    const bool telnet = address.protocol == NetProtocol::Rfc2217;
    TelnetSide side(fd);
    Bytes toDevice, toClient, fromDevice;
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
                    side.Receive(chunk, static_cast<std::size_t>(n), toDevice, toClient,
                                 fromDevice);
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
                    AppendEscaped(chunk, static_cast<std::size_t>(n), toClient);
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
