#pragma once
// The server's half of Telnet with the COM Port Control Option (RFC 2217) for one client
// of a simulated line: the negotiation answered as a server answers it, and the client's
// COM port commands applied to the line's terminal (termios, which the simulated sensors
// hear) and answered with what the terminal then holds.

#include "link/rfc2217_client.h"
#include "link/telnet.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <termios.h>
#include <vector>

namespace vk::sim {

// One client's session on the terminal `device` (a descriptor the caller keeps open).
// The terminal's code for `baud`, B0 when it has none.
speed_t TerminalSpeed(std::uint32_t baud);

class TelnetSide {
public:
    using Bytes = std::vector<std::uint8_t>;

    explicit TelnetSide(int device) : device_(device) {}

    // Splits what the client sent into line data (appended to `toDevice`) and answers
    // (appended to `toClient`); a purge drops what waits in `toDevice` and what the terminal
    // holds.
    void Receive(const std::uint8_t* bytes, std::size_t length, Bytes& toDevice, Bytes& toClient);

private:
    void Negotiate(const telnet::Event& e, Bytes& toClient);
    void Command(const telnet::Event& e, Bytes& toClient, Bytes& toDevice);
    void Answer(std::uint8_t command, const Bytes& value, Bytes& toClient);
    termios Termios() const {
        termios tio{};
        tcgetattr(device_, &tio);
        return tio;
    }
    void Apply(const termios& tio) { tcsetattr(device_, TCSANOW, &tio); }

    int device_;
    telnet::Reader reader_;
    std::vector<telnet::Event> events_;
    std::array<bool, 256> weDo_{};
    std::array<bool, 256> theyDo_{};
    std::uint8_t dtr_ = rfc2217::kDtrOn;
    std::uint8_t rts_ = rfc2217::kRtsOn;
    std::uint8_t inbound_ = rfc2217::kInboundNone;
};

} // namespace vk::sim
