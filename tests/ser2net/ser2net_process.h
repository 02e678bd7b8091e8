#pragma once
// Debian's ser2net, started for a test or a benchmark in front of one device: a raw TCP
// port and a Telnet RFC 2217 port on 127.0.0.1, each on a port the system had free, with a
// configuration file written for it. Stopped (or killed, to lose the server mid-exchange)
// by its process id.

#include <cstdint>
#include <string>
#include <sys/types.h>

namespace vk::test {

class Ser2net {
public:
    Ser2net() = default;
    ~Ser2net(); // Stop()
    Ser2net(const Ser2net&) = delete;
    Ser2net& operator=(const Ser2net&) = delete;

    // Whether the ser2net program is there.
    static bool Installed();

    // Starts ser2net in front of `device`, configured for 57600 baud 8N1 without modem
    // lines; returns once both ports take connections. False with the reason in `error`.
    bool Start(const std::string& device, std::string* error);
    // Ends it (SIGTERM) and waits; does nothing when it is not running.
    void Stop();
    // Ends it at once (SIGKILL), as a server that loses power, and waits.
    void Kill();

    std::string RawUrl() const;    // tcp://127.0.0.1:<port>
    std::string TelnetUrl() const; // rfc2217://127.0.0.1:<port>
    std::uint16_t TelnetPort() const { return telnetPort_; }

private:
    void End(int signal);

    pid_t pid_ = -1;
    std::string dir_;
    std::uint16_t rawPort_ = 0;
    std::uint16_t telnetPort_ = 0;
};

// A TCP port on 127.0.0.1 that nothing listens on now; 0 when none could be found.
std::uint16_t FreeLoopbackPort();

} // namespace vk::test
