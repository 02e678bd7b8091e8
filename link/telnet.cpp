#include "link/telnet.h"

namespace vk::telnet {

void AppendEscaped(const std::uint8_t* data, std::size_t length, std::vector<std::uint8_t>& out) {
    for (std::size_t i = 0; i < length; ++i) {
        out.push_back(data[i]);
        if (data[i] == kIac)
            out.push_back(kIac);
    }
}

void AppendNegotiation(std::uint8_t verb, std::uint8_t option, std::vector<std::uint8_t>& out) {
    out.insert(out.end(), {kIac, verb, option});
}

void AppendSubnegotiation(std::uint8_t option, const std::uint8_t* body, std::size_t length,
                          std::vector<std::uint8_t>& out) {
    out.insert(out.end(), {kIac, kSb, option});
    AppendEscaped(body, length, out);
    out.insert(out.end(), {kIac, kSe});
}

void Reader::EndSubnegotiation(std::vector<Event>& events) {
    events.push_back(std::move(sub_));
    sub_ = Event{};
}

void Reader::Feed(const std::uint8_t* bytes, std::size_t length, std::vector<std::uint8_t>& data,
                  std::vector<Event>& events) {
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t b = bytes[i];
        switch (state_) {
        case State::Data:
            if (b == kIac)
                state_ = State::Command;
            else
                data.push_back(b);
            break;
        case State::Command:
            if (b == kIac) {
                data.push_back(kIac);
                state_ = State::Data;
            } else if (b >= kWill && b <= kDont) {
                verb_ = b;
                state_ = State::Option;
            } else if (b == kSb) {
                state_ = State::SubOption;
            } else {
                Event e;
                e.verb = b;
                events.push_back(std::move(e));
                state_ = State::Data;
            }
            break;
        case State::Option: {
            Event e;
            e.kind = Event::Kind::Negotiation;
            e.verb = verb_;
            e.option = b;
            events.push_back(std::move(e));
            state_ = State::Data;
            break;
        }
        case State::SubOption:
            sub_ = Event{};
            sub_.kind = Event::Kind::Subnegotiation;
            sub_.verb = kSb;
            sub_.option = b;
            state_ = State::Sub;
            break;
        case State::Sub:
            if (b == kIac)
                state_ = State::SubIac;
            else if (sub_.body.size() < kMaxSubnegotiation)
                sub_.body.push_back(b);
            break;
        case State::SubIac:
            if (b == kIac) {
                if (sub_.body.size() < kMaxSubnegotiation)
                    sub_.body.push_back(kIac);
                state_ = State::Sub;
            } else {
                // IAC SE ends it; any other command ends it too (a server that forgot the
                // SE), and is then taken as the command it starts.
                EndSubnegotiation(events);
                state_ = State::Data;
                if (b != kSe) {
                    state_ = State::Command;
                    --i; // the byte again, now after an IAC
                }
            }
            break;
        }
    }
}

} // namespace vk::telnet
