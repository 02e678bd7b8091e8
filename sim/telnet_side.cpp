#include "sim/telnet_side.h"

#include <termios.h>

namespace vk::sim {

namespace {

using namespace vk::telnet;
namespace cp = vk::rfc2217;
using Bytes = TelnetSide::Bytes;

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

std::uint32_t BigEndian(const std::vector<std::uint8_t>& body) {
    std::uint32_t value = 0;
    for (std::size_t i = 1; i < body.size() && i <= 4; ++i)
        value = (value << 8) | body[i];
    return value;
}

} // namespace

speed_t TerminalSpeed(std::uint32_t baud) {
    for (const Speed& s : kSpeeds) {
        if (s.baud == baud)
            return s.code;
    }
    return B0;
}

void TelnetSide::Receive(const std::uint8_t* bytes, std::size_t length, Bytes& toDevice,
                         Bytes& toClient) {
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
                Command(e, toClient, toDevice);
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

void TelnetSide::Command(const Event& e, Bytes& toClient, Bytes& toDevice) {
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
        // 1: what came from the line and is not read yet (what is already on its way to
        // the client stays, in order with the answers between it); 2: what is not on the
        // line yet.
        if (value == cp::kPurgeReceive || value == cp::kPurgeBoth)
            tcflush(device_, TCIFLUSH);
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

} // namespace vk::sim
