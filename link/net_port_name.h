#pragma once
// Network port names: a serial line behind a device server is reached as
//   tcp://HOST:PORT      a raw TCP stream; the server's own line settings apply;
//   rfc2217://HOST:PORT  Telnet with the COM Port Control Option, through which the
//                        program sets the server's line as it sets a COM port.
// HOST is a name, an IPv4 address or an IPv6 address in brackets ("[::1]").

#include <cstdint>
#include <optional>
#include <string>

namespace vk {

enum class NetProtocol { RawTcp, Rfc2217 };

struct NetPortName {
    NetProtocol protocol = NetProtocol::RawTcp;
    std::string host; // without the brackets of an IPv6 address
    std::uint16_t port = 0;
};

// Whether `name` is meant as a network port (starts with "tcp://" or "rfc2217://", in
// any case), whether or not the rest is well formed.
bool IsNetworkPortName(const std::string& name);

// The parts of a network port name. Nothing when the name is not one; `problem` (may be
// null) then says what is wrong with a name that starts like one ("no port number",
// "port 70000 is not between 1 and 65535", ...).
std::optional<NetPortName> ParseNetworkPortName(const std::string& name,
                                                std::string* problem = nullptr);

// Whether a port of this name can be set to a line speed: false for a raw TCP stream,
// whose server keeps the speed it was configured with.
bool PortSetsLineSpeed(const std::string& name);

// "rfc2217://host:4001" or "tcp://[::1]:4001": the name in the form messages show it.
std::string NetworkPortText(const NetPortName& name);

} // namespace vk
