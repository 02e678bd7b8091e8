#pragma once
// The client's half of Telnet with the COM Port Control Option (RFC 2217): what it offers
// when it connects, how it answers the server's negotiation, the commands that set the
// server's serial line, and what the server answered or reported. Plain code, no sockets
// and no clock: the network port feeds it the server's bytes and sends what it builds.

#include "link/port_settings.h"
#include "link/telnet.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vk::rfc2217 {

// Commands of the option, client to server; the server answers with the code + 100.
enum Command : std::uint8_t {
    kSignature = 0,
    kSetBaudRate = 1,
    kSetDataSize = 2,
    kSetParity = 3,
    kSetStopSize = 4,
    kSetControl = 5,
    kNotifyLineState = 6,
    kNotifyModemState = 7,
    kFlowControlSuspend = 8,
    kFlowControlResume = 9,
    kSetLineStateMask = 10,
    kSetModemStateMask = 11,
    kPurgeData = 12,
};
inline constexpr std::uint8_t kServerAnswer = 100;

// SET-CONTROL values the port layer uses.
enum Control : std::uint8_t {
    kOutboundNone = 1,
    kOutboundXonXoff = 2,
    kOutboundHardware = 3,
    kDtrOn = 8,
    kDtrOff = 9,
    kRtsOn = 11,
    kRtsOff = 12,
    kInboundNone = 14,
    kInboundXonXoff = 15,
    kInboundHardware = 16,
};
// PURGE-DATA values.
enum Purge : std::uint8_t { kPurgeReceive = 1, kPurgeTransmit = 2, kPurgeBoth = 3 };

// Line-state bits the server reports with NOTIFY-LINESTATE.
enum LineState : std::uint8_t {
    kLineOverrun = 0x02,
    kLineParity = 0x04,
    kLineFraming = 0x08,
    kLineBreak = 0x10,
};

// Appends the sub-negotiation of `command` with a value of `length` bytes.
void AppendCommand(Command command, const std::uint8_t* value, std::size_t length,
                   std::vector<std::uint8_t>& out);
void AppendCommand(Command command, std::uint8_t value, std::vector<std::uint8_t>& out);

// The line settings as the option's commands, in the order they go out: speed, data
// size, parity, stop size, outbound and inbound flow control, then DTR and RTS for the
// modes that set them. False (nothing appended) for a setting the option cannot carry,
// with what it is in `problem`.
bool AppendSettingsCommands(const PortSettings& settings, std::vector<std::uint8_t>& out,
                            std::string* problem);

// What the server answered to one settings command, for the checks of a configuration.
struct ExpectedAnswer {
    Command command;
    std::uint32_t value; // the value the client asked for
};
// The answers a configuration waits for (every setting but DTR and RTS, which servers in
// front of a line without modem lines never acknowledge).
std::vector<ExpectedAnswer> ExpectedAnswers(const PortSettings& settings);

// "9600 baud", "7 data bits", "even parity", "2 stop bits", "hardware flow control":
// a setting's value as messages show it.
std::string ValueText(Command command, std::uint32_t value);

enum class ComPortOption { Pending, Accepted, Refused };

class Client {
public:
    // What the client says first: it will do BINARY, SUPPRESS-GO-AHEAD and COM-PORT-OPTION,
    // and asks the server to do BINARY and SUPPRESS-GO-AHEAD, so 0xFF is the only byte
    // that the connection changes.
    std::vector<std::uint8_t> Greeting();

    // Takes bytes from the server: the line's data goes to `data`, the answers the
    // negotiation needs to `reply`; answers to commands and the line state are kept.
    void Receive(const std::uint8_t* bytes, std::size_t length, std::vector<std::uint8_t>& data,
                 std::vector<std::uint8_t>& reply);

    ComPortOption ComPort() const { return comPort_; }

    // The value of the server's last answer to `command` since ForgetAnswers, if any.
    std::optional<std::uint32_t> Answer(Command command) const;
    void ForgetAnswers();
    // Line errors reported since the last call (LineState bits), cleared by the call.
    std::uint8_t TakeLineErrors();

private:
    struct OptionState {
        bool weDo = false;      // we agreed to (or offered) WILL
        bool theyDo = false;    // they agreed to (or we asked for) DO
        bool weAsked = false;   // a WILL of ours is unanswered
        bool theyAsked = false; // a DO of ours is unanswered
    };
    void Negotiate(const telnet::Event& e, std::vector<std::uint8_t>& reply);
    void Subnegotiation(const telnet::Event& e);

    telnet::Reader reader_;
    std::vector<telnet::Event> events_;
    std::array<OptionState, 256> options_{};
    ComPortOption comPort_ = ComPortOption::Pending;
    std::array<std::optional<std::uint32_t>, 13> answers_{};
    std::uint8_t lineErrors_ = 0;
};

} // namespace vk::rfc2217
