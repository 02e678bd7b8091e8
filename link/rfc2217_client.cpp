#include "link/rfc2217_client.h"

namespace vk::rfc2217 {

using namespace vk::telnet;

void AppendCommand(Command command, const std::uint8_t* value, std::size_t length,
                   std::vector<std::uint8_t>& out) {
    std::vector<std::uint8_t> body;
    body.reserve(length + 1);
    body.push_back(command);
    body.insert(body.end(), value, value + length);
    AppendSubnegotiation(kOptionComPort, body.data(), body.size(), out);
}

void AppendCommand(Command command, std::uint8_t value, std::vector<std::uint8_t>& out) {
    AppendCommand(command, &value, 1, out);
}

namespace {

// The option's codes: parity 1 none, 2 odd, 3 even, 4 mark, 5 space (the port layer's
// codes plus one); stop size 1 one, 2 two, 3 one and a half.
std::uint8_t ParityValue(std::int32_t parity) {
    return static_cast<std::uint8_t>(parity + 1);
}

std::uint8_t StopSizeValue(std::int32_t stopBits) {
    constexpr std::uint8_t values[] = {1, 3, 2};
    return values[stopBits];
}

std::uint8_t OutboundFlow(const PortSettings& s) {
    if (s.ctsOutputFlow)
        return kOutboundHardware;
    return s.xonXoffOutput ? kOutboundXonXoff : kOutboundNone;
}

std::uint8_t InboundFlow(const PortSettings& s) {
    if (s.rtsControl == 2)
        return kInboundHardware; // RTS follows the receive buffer
    return s.xonXoffInput ? kInboundXonXoff : kInboundNone;
}

} // namespace

bool AppendSettingsCommands(const PortSettings& s, std::vector<std::uint8_t>& out,
                            std::string* problem) {
    auto refuse = [problem](const std::string& why) {
        if (problem)
            *problem = why;
        return false;
    };
    if (s.baudRate <= 0)
        return refuse("no line speed of " + std::to_string(s.baudRate) + " baud");
    if (s.dataBits < 5 || s.dataBits > 8)
        return refuse(std::to_string(s.dataBits) + " data bits cannot be set on the server");
    if (s.parity < kParityNone || s.parity > kParitySpace)
        return refuse("no parity code " + std::to_string(s.parity));
    if (s.stopBits < kStopOne || s.stopBits > kStopTwo)
        return refuse("no stop-bit code " + std::to_string(s.stopBits));
    const auto baud = static_cast<std::uint32_t>(s.baudRate);
    const std::uint8_t speed[] = {
        static_cast<std::uint8_t>(baud >> 24), static_cast<std::uint8_t>(baud >> 16),
        static_cast<std::uint8_t>(baud >> 8), static_cast<std::uint8_t>(baud)};
    AppendCommand(kSetBaudRate, speed, sizeof speed, out);
    AppendCommand(kSetDataSize, static_cast<std::uint8_t>(s.dataBits), out);
    AppendCommand(kSetParity, ParityValue(s.parity), out);
    AppendCommand(kSetStopSize, StopSizeValue(s.stopBits), out);
    AppendCommand(kSetControl, OutboundFlow(s), out);
    AppendCommand(kSetControl, InboundFlow(s), out);
    // Modes 0 and 1 hold a line off or on; the handshake modes leave it to the server.
    if (s.dtrControl == 0 || s.dtrControl == 1)
        AppendCommand(kSetControl, s.dtrControl ? kDtrOn : kDtrOff, out);
    if (s.rtsControl == 0 || s.rtsControl == 1)
        AppendCommand(kSetControl, s.rtsControl ? kRtsOn : kRtsOff, out);
    return true;
}

std::vector<ExpectedAnswer> ExpectedAnswers(const PortSettings& s) {
    return {{kSetBaudRate, static_cast<std::uint32_t>(s.baudRate)},
            {kSetDataSize, static_cast<std::uint32_t>(s.dataBits)},
            {kSetParity, ParityValue(s.parity)},
            {kSetStopSize, StopSizeValue(s.stopBits)}};
}

std::string ValueText(Command command, std::uint32_t value) {
    switch (command) {
    case kSetBaudRate:
        return std::to_string(value) + " baud";
    case kSetDataSize:
        return std::to_string(value) + " data bits";
    case kSetParity: {
        constexpr const char* names[] = {"no parity", "odd parity", "even parity", "mark parity",
                                         "space parity"};
        return value >= 1 && value <= 5 ? names[value - 1] : "parity code " + std::to_string(value);
    }
    case kSetStopSize: {
        constexpr const char* names[] = {"1 stop bit", "2 stop bits", "1.5 stop bits"};
        return value >= 1 && value <= 3 ? names[value - 1]
                                        : "stop size code " + std::to_string(value);
    }
    default:
        return "value " + std::to_string(value);
    }
}

std::vector<std::uint8_t> Client::Greeting() {
    std::vector<std::uint8_t> out;
    for (std::uint8_t option : {kOptionBinary, kOptionSuppressGoAhead, kOptionComPort}) {
        options_[option].weDo = options_[option].weAsked = true;
        AppendNegotiation(kWill, option, out);
    }
    for (std::uint8_t option : {kOptionBinary, kOptionSuppressGoAhead}) {
        options_[option].theyDo = options_[option].theyAsked = true;
        AppendNegotiation(kDo, option, out);
    }
    return out;
}

void Client::Receive(const std::uint8_t* bytes, std::size_t length, std::vector<std::uint8_t>& data,
                     std::vector<std::uint8_t>& reply) {
    events_.clear();
    reader_.Feed(bytes, length, data, events_);
    for (const Event& e : events_) {
        if (e.kind == Event::Kind::Negotiation)
            Negotiate(e, reply);
        else if (e.kind == Event::Kind::Subnegotiation)
            Subnegotiation(e);
    }
}

// Answers only what changes an option's state, so two sides can never keep answering
// each other; what we do not support is refused.
void Client::Negotiate(const Event& e, std::vector<std::uint8_t>& reply) {
    OptionState& o = options_[e.option];
    const bool weMay = e.option == kOptionBinary || e.option == kOptionSuppressGoAhead ||
                       e.option == kOptionComPort;
    const bool theyMay = e.option == kOptionBinary || e.option == kOptionSuppressGoAhead;
    switch (e.verb) {
    case kDo:
        if (!weMay) {
            AppendNegotiation(kWont, e.option, reply);
        } else if (o.weAsked) {
            o.weAsked = false;
        } else if (!o.weDo) {
            o.weDo = true;
            AppendNegotiation(kWill, e.option, reply);
        }
        if (weMay && e.option == kOptionComPort)
            comPort_ = ComPortOption::Accepted;
        break;
    case kDont:
        if (o.weDo) {
            o.weDo = false;
            if (o.weAsked)
                o.weAsked = false;
            else
                AppendNegotiation(kWont, e.option, reply);
        }
        if (e.option == kOptionComPort)
            comPort_ = ComPortOption::Refused;
        break;
    case kWill:
        if (!theyMay) {
            AppendNegotiation(kDont, e.option, reply);
        } else if (o.theyAsked) {
            o.theyAsked = false;
        } else if (!o.theyDo) {
            o.theyDo = true;
            AppendNegotiation(kDo, e.option, reply);
        }
        break;
    case kWont:
        if (o.theyDo) {
            o.theyDo = false;
            if (o.theyAsked)
                o.theyAsked = false;
            else
                AppendNegotiation(kDont, e.option, reply);
        }
        break;
    default:
        break;
    }
}

void Client::Subnegotiation(const Event& e) {
    if (e.option != kOptionComPort || e.body.empty() || e.body[0] <= kServerAnswer)
        return;
    const std::uint8_t command = static_cast<std::uint8_t>(e.body[0] - kServerAnswer);
    if (command >= answers_.size())
        return;
    std::uint32_t value = 0;
    for (std::size_t i = 1; i < e.body.size() && i <= 4; ++i)
        value = (value << 8) | e.body[i];
    if (command == kNotifyLineState) {
        lineErrors_ |= static_cast<std::uint8_t>(
            value & (kLineOverrun | kLineParity | kLineFraming | kLineBreak));
        return;
    }
    answers_[command] = value;
}

std::optional<std::uint32_t> Client::Answer(Command command) const {
    return command < answers_.size() ? answers_[command] : std::nullopt;
}

void Client::ForgetAnswers() {
    answers_.fill(std::nullopt);
}

std::uint8_t Client::TakeLineErrors() {
    std::uint8_t errors = lineErrors_;
    lineErrors_ = 0;
    return errors;
}

} // namespace vk::rfc2217
