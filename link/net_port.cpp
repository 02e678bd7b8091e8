#include "link/net_port.h"

#include "link/deadline_timer.h"
#include "link/net_socket.h"
#include "link/rfc2217_client.h"
#include "link/serial.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <vector>

namespace vk {

namespace {

using net_socket::Socket;

// What is kept from the server before the program reads it, as a driver's receive
// queue: past it the oldest bytes are dropped and an overrun reported, as a driver does,
// so that the server's answers to commands behind the data are still read.
constexpr std::size_t kMaxQueued = 64 * 1024;
constexpr std::size_t kChunk = 4096;
// Reads that take what has already come: enough for a full queue, and a bound for a
// server that never stops sending.
constexpr int kReadsOfWhatCame = kMaxQueued / kChunk + 1;
// The text a device that went away gives on every call; a connection that ended reads
// the same to the technician.
constexpr const char* kGone = "Input/output error";
// How long a close waits for the server to end its side.
constexpr std::uint32_t kNetCloseWaitMs = 500;

bool Fail(const std::string& why) {
    SetPortFailure(why.c_str());
    return false;
}

class NetworkPort final : public Port {
public:
    NetworkPort(Socket socket, bool telnet) : socket_(socket), telnet_(telnet) {}
    ~NetworkPort() override { net_socket::Close(socket_); }

    bool Negotiate(std::string* reason);

    bool Close() override;
    bool GetState() override { return gone_ ? Lost() : true; }
    bool SetState(const PortSettings& settings) override;
    bool SetupQueues(std::int32_t inputSize, std::int32_t outputSize) override {
        // The connection sizes its own buffers; only nonsense is refused.
        return inputSize >= 0 && outputSize >= 0 ? true : Fail("Invalid argument");
    }
    bool SetTimeouts(std::uint32_t readMs, std::uint32_t writeMs) override {
        readMs_ = readMs;
        writeMs_ = writeMs;
        return true;
    }
    bool Purge() override { return DropInput(true); }
    // Here only: this purge comes before every request, and a server's answer to a purge
    // command would go out just ahead of the reply, which a server that waits to gather
    // small writes (ser2net) then holds back until the answer is acknowledged, some 40 ms.
    // What the server still holds is as stale as what came, and the reply's start byte is
    // hunted for anyway.
    bool PurgeInput() override { return DropInput(false); }
    bool ReadCall(std::uint8_t* buffer, std::size_t length, std::size_t* got) override;
    bool WriteCall(const std::uint8_t* data, std::size_t length, std::size_t* put) override;
    // What the program wrote has reached the connection; when it leaves the server's
    // serial port nobody here can tell.
    bool Flush() override { return gone_ ? Lost() : true; }
    bool ReadErrorFlags(std::uint32_t* flags, std::uint32_t* inQueue) override;
    bool Gone() const override { return gone_; }

private:
    enum class Pumped { Something, Nothing, Gone };
    // Takes what the server sent, waiting up to `waitMs` for it to come.
    Pumped Pump(std::uint32_t waitMs);
    void Take(const std::uint8_t* bytes, std::size_t length);
    // Sends `bytes` within the timer; `sent` says how many went. False when the
    // connection broke.
    bool SendWithin(const std::uint8_t* bytes, std::size_t length, const DeadlineTimer& timer,
                    std::size_t* sent);
    // Sends what an earlier call left half-sent: a Telnet sequence cut in two would turn
    // the next bytes into a command. True once nothing is owed.
    bool PayOwed(const DeadlineTimer& timer);
    // A command or a negotiation answer, whole, after anything owed.
    bool SendControl(const std::vector<std::uint8_t>& bytes);
    // Drops what came; `atServer` also has the server drop what it holds in both directions.
    bool DropInput(bool atServer);
    void MarkGone() { gone_ = true; }
    // Takes what has come so far, within a bound; `drop` discards it as it comes, so a
    // purge never overflows the queue.
    void TakeWhatCame(bool drop = false) {
        for (int i = 0; i < kReadsOfWhatCame; ++i) {
            if (drop)
                input_.clear();
            if (Pump(0) != Pumped::Something)
                break;
        }
    }
    bool Lost() {
        MarkGone();
        // A server that turns a client away (its device busy or gone) often says why and
        // hangs up before the line was ever set: that is the reason worth showing. Later the
        // words of a device that went away are, whatever the server said.
        if (!configured_ && !ServerText().empty())
            return Fail("the server closed the connection: " + ServerText());
        return Fail(kGone);
    }
    // The printable text among the bytes the server sent and nobody read, at most 80
    // characters.
    std::string ServerText() const;

    Socket socket_;
    bool telnet_;
    rfc2217::Client client_;
    std::deque<std::uint8_t> input_;
    std::vector<std::uint8_t> owed_;
    std::vector<std::uint8_t> data_, reply_, out_;
    std::uint32_t readMs_ = 100;
    std::uint32_t writeMs_ = 100;
    std::uint32_t pendingFlags_ = 0;
    bool gone_ = false;
    bool configured_ = false; // the line was set once
};

DeadlineTimer TimerMs(std::uint32_t ms) {
    DeadlineTimer timer;
    timer.Start(std::uint64_t{ms} * 1000);
    return timer;
}

NetworkPort::Pumped NetworkPort::Pump(std::uint32_t waitMs) {
    if (gone_)
        return Pumped::Gone;
    std::uint8_t chunk[kChunk];
    long n = net_socket::Receive(socket_, chunk, sizeof chunk);
    if (n == net_socket::kNothingYet && waitMs > 0) {
        net_socket::Ready ready = net_socket::Wait(socket_, false, waitMs);
        if (ready == net_socket::Ready::Failed) {
            MarkGone();
            return Pumped::Gone;
        }
        if (ready == net_socket::Ready::No)
            return Pumped::Nothing;
        n = net_socket::Receive(socket_, chunk, sizeof chunk);
    }
    if (n == net_socket::kNothingYet)
        return Pumped::Nothing;
    if (n <= 0) {
        // 0: the server closed the connection; otherwise it was reset.
        MarkGone();
        return Pumped::Gone;
    }
    Take(chunk, static_cast<std::size_t>(n));
    if (input_.size() > kMaxQueued) {
        input_.erase(input_.begin(), input_.end() - static_cast<std::ptrdiff_t>(kMaxQueued));
        pendingFlags_ |= kCeRxOver;
    }
    return Pumped::Something;
}

void NetworkPort::Take(const std::uint8_t* bytes, std::size_t length) {
    if (!telnet_) {
        input_.insert(input_.end(), bytes, bytes + length);
        return;
    }
    data_.clear();
    reply_.clear();
    client_.Receive(bytes, length, data_, reply_);
    input_.insert(input_.end(), data_.begin(), data_.end());
    if (!reply_.empty())
        SendControl(reply_);
}

bool NetworkPort::SendWithin(const std::uint8_t* bytes, std::size_t length,
                             const DeadlineTimer& timer, std::size_t* sent) {
    *sent = 0;
    while (*sent < length) {
        long n = net_socket::Send(socket_, bytes + *sent, length - *sent);
        if (n == net_socket::kBroken) {
            MarkGone();
            return false;
        }
        *sent += static_cast<std::size_t>(n);
        if (*sent == length)
            break;
        const std::uint32_t left = timer.RemainingMs();
        if (left == 0)
            break;
        if (net_socket::Wait(socket_, true, left) == net_socket::Ready::Failed) {
            MarkGone();
            return false;
        }
    }
    return true;
}

bool NetworkPort::PayOwed(const DeadlineTimer& timer) {
    if (owed_.empty())
        return true;
    std::size_t sent = 0;
    if (!SendWithin(owed_.data(), owed_.size(), timer, &sent))
        return false;
    owed_.erase(owed_.begin(), owed_.begin() + static_cast<std::ptrdiff_t>(sent));
    return owed_.empty();
}

bool NetworkPort::SendControl(const std::vector<std::uint8_t>& bytes) {
    if (gone_)
        return false;
    const DeadlineTimer timer = TimerMs(kNetAnswerTimeoutMs);
    if (!PayOwed(timer)) {
        if (!gone_)
            owed_.insert(owed_.end(), bytes.begin(), bytes.end());
        return false;
    }
    std::size_t sent = 0;
    if (!SendWithin(bytes.data(), bytes.size(), timer, &sent))
        return false;
    owed_.assign(bytes.begin() + static_cast<std::ptrdiff_t>(sent), bytes.end());
    return owed_.empty();
}

std::string NetworkPort::ServerText() const {
    std::string said;
    for (std::uint8_t b : input_) {
        if (said.size() >= 80)
            break;
        if (std::isprint(b))
            said.push_back(static_cast<char>(b));
        else if (!said.empty() && said.back() != ' ')
            said.push_back(' ');
    }
    while (!said.empty() && said.back() == ' ')
        said.pop_back();
    return said;
}

// A server may take a while to let go of its serial port after a client simply drops the
// connection, and turn away the program's next connection meanwhile; after a half close it
// answers with its own close once it is done.
bool NetworkPort::Close() {
    if (!gone_) {
        net_socket::ShutdownSend(socket_);
        const DeadlineTimer timer = TimerMs(kNetCloseWaitMs);
        std::uint8_t chunk[kChunk];
        for (;;) {
            const long n = net_socket::Receive(socket_, chunk, sizeof chunk);
            if (n == 0 || n == net_socket::kBroken)
                break;
            const std::uint32_t left = timer.RemainingMs();
            if (left == 0)
                break;
            if (n == net_socket::kNothingYet &&
                net_socket::Wait(socket_, false, left) == net_socket::Ready::Failed)
                break;
        }
    }
    net_socket::Close(socket_);
    socket_ = net_socket::kNoSocket;
    return true;
}

bool NetworkPort::Negotiate(std::string* reason) {
    SendControl(client_.Greeting());
    const DeadlineTimer timer = TimerMs(kNetAnswerTimeoutMs);
    while (client_.ComPort() == rfc2217::ComPortOption::Pending) {
        const std::uint32_t left = timer.RemainingMs();
        if (left == 0) {
            *reason = "the server did not answer the Telnet negotiation within " +
                      std::to_string(kNetAnswerTimeoutMs / 1000) + " s";
            return false;
        }
        if (Pump(left) == Pumped::Gone) {
            *reason = "the server closed the connection";
            if (!ServerText().empty())
                *reason += ": " + ServerText();
            return false;
        }
    }
    if (client_.ComPort() == rfc2217::ComPortOption::Refused) {
        *reason = "the server refused COM port control (RFC 2217)";
        return false;
    }
    // Line errors are reported only when asked for.
    std::vector<std::uint8_t> mask;
    rfc2217::AppendCommand(rfc2217::kSetLineStateMask,
                           rfc2217::kLineOverrun | rfc2217::kLineParity | rfc2217::kLineFraming |
                               rfc2217::kLineBreak,
                           mask);
    SendControl(mask);
    return true;
}

bool NetworkPort::SetState(const PortSettings& settings) {
    if (gone_)
        return Lost();
    if (!telnet_) {
        configured_ = true;
        return true; // a raw stream: the server's own settings apply
    }
    std::vector<std::uint8_t> commands;
    std::string problem;
    if (!rfc2217::AppendSettingsCommands(settings, commands, &problem))
        return Fail(problem);
    client_.ForgetAnswers();
    if (!SendControl(commands))
        return gone_ ? Lost() : Fail("the server takes no commands");
    const std::vector<rfc2217::ExpectedAnswer> expected = rfc2217::ExpectedAnswers(settings);
    const DeadlineTimer timer = TimerMs(kNetAnswerTimeoutMs);
    for (;;) {
        bool all = true;
        for (const rfc2217::ExpectedAnswer& e : expected) {
            std::optional<std::uint32_t> answer = client_.Answer(e.command);
            if (!answer) {
                all = false;
            } else if (*answer != e.value) {
                return Fail("the server answered " + rfc2217::ValueText(e.command, *answer) +
                            " to " + rfc2217::ValueText(e.command, e.value));
            }
        }
        if (all) {
            configured_ = true;
            return true;
        }
        const std::uint32_t left = timer.RemainingMs();
        if (left == 0)
            break;
        if (Pump(left) == Pumped::Gone)
            return Lost();
    }
    // Servers answer in order, so a speed answered means the rest was taken; some never
    // answer the others.
    if (!client_.Answer(rfc2217::kSetBaudRate))
        return Fail("the server did not answer the speed change within " +
                    std::to_string(kNetAnswerTimeoutMs / 1000) + " s");
    configured_ = true;
    return true;
}

bool NetworkPort::DropInput(bool atServer) {
    if (gone_)
        return Lost();
    if (telnet_ && atServer) {
        std::vector<std::uint8_t> command;
        rfc2217::AppendCommand(rfc2217::kPurgeData, rfc2217::kPurgeBoth, command);
        if (!SendControl(command) && gone_)
            return Lost();
    }
    TakeWhatCame(true);
    input_.clear();
    return gone_ ? Lost() : true;
}

bool NetworkPort::ReadCall(std::uint8_t* buffer, std::size_t length, std::size_t* got) {
    *got = 0;
    // As for a device: a read time-out of 0 would make every caller that loops on a
    // deadline spin, so a call waits at least a millisecond.
    const DeadlineTimer timer = TimerMs(std::max<std::uint32_t>(readMs_, 1));
    for (;;) {
        const std::size_t take = std::min(length - *got, input_.size());
        std::copy_n(input_.begin(), take, buffer + *got);
        input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(take));
        *got += take;
        if (*got == length)
            return true;
        if (gone_)
            return Lost();
        const std::uint32_t left = timer.RemainingMs();
        if (left == 0)
            return true;
        Pump(left);
    }
}

bool NetworkPort::WriteCall(const std::uint8_t* data, std::size_t length, std::size_t* put) {
    *put = 0;
    if (gone_)
        return Lost();
    const DeadlineTimer timer = TimerMs(std::max<std::uint32_t>(writeMs_, 1));
    if (!PayOwed(timer))
        return gone_ ? Lost() : true;
    out_.clear();
    if (telnet_)
        telnet::AppendEscaped(data, length, out_);
    else
        out_.assign(data, data + length);
    std::size_t sent = 0;
    if (!SendWithin(out_.data(), out_.size(), timer, &sent))
        return Lost();
    // Count the bytes of the line that went whole; a doubled 0xFF cut in two counts as
    // sent, and its second half goes before anything else.
    std::size_t at = 0;
    for (std::size_t i = 0; i < length && at < sent; ++i) {
        const std::size_t width = telnet_ && data[i] == telnet::kIac ? 2 : 1;
        if (at + width > sent) {
            owed_.assign(1, telnet::kIac);
            ++*put;
            break;
        }
        at += width;
        ++*put;
    }
    return true;
}

bool NetworkPort::ReadErrorFlags(std::uint32_t* flags, std::uint32_t* inQueue) {
    // The count is of the line's bytes, without the Telnet commands between them: take
    // what has come so far.
    TakeWhatCame();
    // As on a terminal that hung up, the flags can no longer be read, whatever is left.
    if (gone_)
        return Lost();
    std::uint32_t found = pendingFlags_;
    pendingFlags_ = 0;
    const std::uint8_t line = client_.TakeLineErrors();
    if (line & rfc2217::kLineOverrun)
        found |= kCeOverrun;
    if (line & rfc2217::kLineParity)
        found |= kCeRxParity;
    if (line & rfc2217::kLineFraming)
        found |= kCeFrame;
    if (line & rfc2217::kLineBreak)
        found |= kCeBreak;
    *flags = found;
    *inQueue = static_cast<std::uint32_t>(input_.size());
    return true;
}

} // namespace

std::unique_ptr<Port> OpenNetworkPort(const NetPortName& name, std::string* reason) {
    Socket socket = net_socket::Connect(name.host, name.port, kNetConnectTimeoutMs, reason);
    if (socket == net_socket::kNoSocket)
        return nullptr;
    const bool telnet = name.protocol == NetProtocol::Rfc2217;
    auto port = std::make_unique<NetworkPort>(socket, telnet);
    if (telnet && !port->Negotiate(reason))
        return nullptr;
    return port;
}

} // namespace vk
