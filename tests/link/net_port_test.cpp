// Network port names, the Telnet reader and the RFC 2217 client's negotiation and
// commands, as plain code: the bytes are written out as a server sends and expects them.
#include "link/net_port_name.h"
#include "link/rfc2217_client.h"
#include "link/telnet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vk;
using Bytes = std::vector<std::uint8_t>;

TEST(NetworkPortNames, HostsPortsAndWhatIsWrongWithTheRest) {
    struct Good {
        const char* name;
        NetProtocol protocol;
        const char* host;
        std::uint16_t port;
    };
    for (const Good& g :
         {Good{"tcp://192.168.1.20:4001", NetProtocol::RawTcp, "192.168.1.20", 4001},
          Good{"rfc2217://moxa-line3:950", NetProtocol::Rfc2217, "moxa-line3", 950},
          Good{"RFC2217://[fe80::1%eth0]:65535", NetProtocol::Rfc2217, "fe80::1%eth0", 65535}}) {
        std::optional<NetPortName> p = ParseNetworkPortName(g.name);
        ASSERT_TRUE(p) << g.name;
        EXPECT_EQ(p->protocol, g.protocol);
        EXPECT_EQ(p->host, g.host);
        EXPECT_EQ(p->port, g.port);
    }
    EXPECT_EQ(NetworkPortText(*ParseNetworkPortName("rfc2217://[::1]:4001")),
              "rfc2217://[::1]:4001");

    struct Bad {
        const char* name;
        const char* problem;
    };
    for (const Bad& b :
         {Bad{"tcp://server", "no port number"}, Bad{"tcp://server:", "no port number"},
          Bad{"tcp://:4001", "no host"}, Bad{"tcp://server:0", "port 0 is not between 1 and 65535"},
          Bad{"tcp://server:70000", "port 70000 is not between 1 and 65535"},
          Bad{"tcp://server:4001/line2", "'4001/line2' is not a port number"},
          Bad{"tcp://::1:4001", "an IPv6 address goes in brackets: [::1]"},
          Bad{"rfc2217://[::1:4001", "an IPv6 address needs its closing ']'"},
          Bad{"tcp://a b:1", "'a b' is not a host name or address"}}) {
        std::string problem;
        EXPECT_TRUE(IsNetworkPortName(b.name));
        EXPECT_FALSE(ParseNetworkPortName(b.name, &problem)) << b.name;
        EXPECT_EQ(problem, b.problem) << b.name;
    }
    EXPECT_FALSE(IsNetworkPortName("COM3"));
    EXPECT_FALSE(IsNetworkPortName("/dev/ttyUSB0"));
    EXPECT_FALSE(PortSetsLineSpeed("tcp://server:4001"));
    EXPECT_TRUE(PortSetsLineSpeed("rfc2217://server:4001"));
    EXPECT_TRUE(PortSetsLineSpeed("COM3"));
}

TEST(TelnetReader, UndoublesDataAndTakesCommandsOutWhereverTheBytesAreCut) {
    // A reply with 0xFF in it, a modem-state notification in the middle, a NOP, a
    // negotiation and a sub-negotiation holding a doubled 0xFF.
    const Bytes fromServer = {0x02, 0xFF, 0xFF, 0x10, 0xFF, 0xFA, 44,   107,  0x30, 0xFF,
                              0xF0, 0xFF, 0xF1, 0x11, 0xFF, 0xFB, 3,    0xFF, 0xFA, 44,
                              101,  0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF};
    const Bytes data = {0x02, 0xFF, 0x10, 0x11, 0xFF};
    for (std::size_t cut = 0; cut <= fromServer.size(); ++cut) {
        telnet::Reader reader;
        Bytes got;
        std::vector<telnet::Event> events;
        reader.Feed(fromServer.data(), cut, got, events);
        reader.Feed(fromServer.data() + cut, fromServer.size() - cut, got, events);
        EXPECT_EQ(got, data) << "cut at " << cut;
        ASSERT_EQ(events.size(), 4u);
        EXPECT_EQ(events[0].kind, telnet::Event::Kind::Subnegotiation);
        EXPECT_EQ(events[0].body, (Bytes{107, 0x30}));
        EXPECT_EQ(events[1].kind, telnet::Event::Kind::Command);
        EXPECT_EQ(events[2].kind, telnet::Event::Kind::Negotiation);
        EXPECT_EQ(events[3].body, (Bytes{101, 0x00, 0x00, 0xFF}));
    }
    // A sub-negotiation that never ends keeps no more than its bound.
    telnet::Reader reader;
    Bytes got;
    std::vector<telnet::Event> events;
    Bytes endless = {0xFF, 0xFA, 44};
    endless.resize(10000, 0x41);
    endless.insert(endless.end(), {0xFF, 0xF0, 0x55});
    reader.Feed(endless.data(), endless.size(), got, events);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].body.size(), telnet::kMaxSubnegotiation);
    EXPECT_EQ(got, Bytes{0x55});

    Bytes out;
    const Bytes laserOn = {0x02, 0x01, 0x03, 0x5A, 0xFF, 0xFF, 0xA6};
    telnet::AppendEscaped(laserOn.data(), laserOn.size(), out);
    EXPECT_EQ(out, (Bytes{0x02, 0x01, 0x03, 0x5A, 0xFF, 0xFF, 0xFF, 0xFF, 0xA6}));
}

TEST(Rfc2217Client, NegotiatesWithoutLoopsAndReadsTheServersAnswers) {
    rfc2217::Client client;
    EXPECT_EQ(client.Greeting(),
              (Bytes{0xFF, 0xFB, 0, 0xFF, 0xFB, 3, 0xFF, 0xFB, 44, 0xFF, 0xFD, 0, 0xFF, 0xFD, 3}));
    Bytes data, reply;
    // Acknowledgements of what we offered need no answer; ECHO and an unknown option are
    // refused; a repeated DO changes nothing and is not answered again.
    const Bytes answers = {0xFF, 0xFD, 44,   0xFF, 0xFB, 0,    0xFF, 0xFB, 1,    0xFF, 0xFD,
                           24,   0xFF, 0xFD, 44,   0xFF, 0xFD, 0,    0xFF, 0xFB, 3};
    client.Receive(answers.data(), answers.size(), data, reply);
    EXPECT_EQ(client.ComPort(), rfc2217::ComPortOption::Accepted);
    EXPECT_EQ(reply, (Bytes{0xFF, 0xFE, 1, 0xFF, 0xFC, 24}));
    EXPECT_TRUE(data.empty());

    // Answers to settings, a line-state report and data between them.
    const Bytes settings = {0xFF, 0xFA, 44,   101,  0x00, 0x00, 0x4B, 0x00, 0xFF,
                            0xF0, 0x41, 0xFF, 0xFA, 44,   102,  8,    0xFF, 0xF0,
                            0xFF, 0xFA, 44,   106,  0x04, 0xFF, 0xF0, 0x42};
    reply.clear();
    client.Receive(settings.data(), settings.size(), data, reply);
    EXPECT_EQ(data, (Bytes{0x41, 0x42}));
    EXPECT_EQ(client.Answer(rfc2217::kSetBaudRate), 19200u);
    EXPECT_EQ(client.Answer(rfc2217::kSetDataSize), 8u);
    EXPECT_FALSE(client.Answer(rfc2217::kSetParity));
    EXPECT_EQ(client.TakeLineErrors(), rfc2217::kLineParity);
    EXPECT_EQ(client.TakeLineErrors(), 0);
    client.ForgetAnswers();
    EXPECT_FALSE(client.Answer(rfc2217::kSetBaudRate));

    rfc2217::Client refused;
    refused.Greeting();
    const Bytes dont = {0xFF, 0xFE, 44};
    reply.clear();
    refused.Receive(dont.data(), dont.size(), data, reply);
    EXPECT_EQ(refused.ComPort(), rfc2217::ComPortOption::Refused);
    EXPECT_TRUE(reply.empty());
}

TEST(Rfc2217Client, LineSettingsBecomeTheOptionsCommands) {
    PortSettings s;
    s.baudRate = 19200;
    s.parity = kParityEven;
    s.stopBits = kStopTwo;
    s.dataBits = 7;
    Bytes out;
    ASSERT_TRUE(rfc2217::AppendSettingsCommands(s, out, nullptr));
    EXPECT_EQ(out, (Bytes{0xFF, 0xFA, 44, 1, 0,  0,    0x4B, 0, 0xFF, 0xF0, // 19200 baud
                          0xFF, 0xFA, 44, 2, 7,  0xFF, 0xF0,                // 7 data bits
                          0xFF, 0xFA, 44, 3, 3,  0xFF, 0xF0,                // even parity
                          0xFF, 0xFA, 44, 4, 2,  0xFF, 0xF0,                // 2 stop bits
                          0xFF, 0xFA, 44, 5, 1,  0xFF, 0xF0,                // no flow control out
                          0xFF, 0xFA, 44, 5, 14, 0xFF, 0xF0,                // nor in
                          0xFF, 0xFA, 44, 5, 8,  0xFF, 0xF0,                // DTR on
                          0xFF, 0xFA, 44, 5, 11, 0xFF, 0xF0}));             // RTS on
    // A speed of 255 in a byte of the value is doubled like any 0xFF.
    s.baudRate = 0x0001FF00;
    out.clear();
    ASSERT_TRUE(rfc2217::AppendSettingsCommands(s, out, nullptr));
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 11),
              (Bytes{0xFF, 0xFA, 44, 1, 0, 1, 0xFF, 0xFF, 0, 0xFF, 0xF0}));
    std::string problem;
    s.dataBits = 4;
    EXPECT_FALSE(rfc2217::AppendSettingsCommands(s, out, &problem));
    EXPECT_EQ(problem, "4 data bits cannot be set on the server");
}
