#pragma once
// The Telnet framing a serial device server speaks: every 0xFF of the line's data is
// doubled on the connection, and commands, option negotiation and sub-negotiations
// (IAC ...) travel between the data. Plain code, no sockets: the network port feeds it
// what the server sent and sends what it builds.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vk::telnet {

inline constexpr std::uint8_t kIac = 255;
inline constexpr std::uint8_t kDont = 254;
inline constexpr std::uint8_t kDo = 253;
inline constexpr std::uint8_t kWont = 252;
inline constexpr std::uint8_t kWill = 251;
inline constexpr std::uint8_t kSb = 250;
inline constexpr std::uint8_t kSe = 240;

inline constexpr std::uint8_t kOptionBinary = 0;
inline constexpr std::uint8_t kOptionSuppressGoAhead = 3;
inline constexpr std::uint8_t kOptionComPort = 44;

// A sub-negotiation longer than this is cut; no answer we use is longer than 5 bytes.
inline constexpr std::size_t kMaxSubnegotiation = 64;

// Appends `data` to `out` with every 0xFF doubled.
void AppendEscaped(const std::uint8_t* data, std::size_t length, std::vector<std::uint8_t>& out);

// Appends IAC <verb> <option>.
void AppendNegotiation(std::uint8_t verb, std::uint8_t option, std::vector<std::uint8_t>& out);

// Appends IAC SB <option> <body, 0xFF doubled> IAC SE.
void AppendSubnegotiation(std::uint8_t option, const std::uint8_t* body, std::size_t length,
                          std::vector<std::uint8_t>& out);

struct Event {
    enum class Kind {
        Negotiation,    // `verb` is WILL, WONT, DO or DONT; `option` the option
        Subnegotiation, // `option` and `body` (0xFF undoubled, at most kMaxSubnegotiation)
        Command,        // any other IAC <verb>: NOP, go-ahead, break, ...; nothing to do
    };
    Kind kind = Kind::Command;
    std::uint8_t verb = 0;
    std::uint8_t option = 0;
    std::vector<std::uint8_t> body;
};

// Splits what the server sends into the line's data and Telnet events. A sequence cut
// between two reads is put together again, and no input, however malformed, makes it
// keep more than kMaxSubnegotiation bytes.
class Reader {
public:
    // Appends the data bytes in `bytes` to `data` and the events to `events`.
    void Feed(const std::uint8_t* bytes, std::size_t length, std::vector<std::uint8_t>& data,
              std::vector<Event>& events);

private:
    enum class State { Data, Command, Option, SubOption, Sub, SubIac };
    void EndSubnegotiation(std::vector<Event>& events);

    State state_ = State::Data;
    std::uint8_t verb_ = 0;
    Event sub_;
};

} // namespace vk::telnet
