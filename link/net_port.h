#pragma once
// A serial line behind a device server, as a Port: a raw TCP stream, or Telnet with the
// COM Port Control Option (RFC 2217) through which the line settings and purges reach
// the server's serial port. A read or write call keeps a device's meaning (the bytes, or
// the call's time-out since it began); a connection the server closes or resets fails
// every later call as a device that went away does ("Input/output error").

#include "link/net_port_name.h"
#include "link/port_object.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vk {

// How long a connection may take to be made, and how long the server may take to answer
// the Telnet negotiation and each line-settings change.
inline constexpr std::uint32_t kNetConnectTimeoutMs = 3000;
inline constexpr std::uint32_t kNetAnswerTimeoutMs = 2000;

// Connects to the server (within kNetConnectTimeoutMs) and, for RFC 2217, agrees on the
// options. Null on failure with the reason in `reason`: the system's ("Connection
// refused", "Connection timed out", "Name or service not known") or the server's ("the
// server refused COM port control").
std::unique_ptr<Port> OpenNetworkPort(const NetPortName& name, std::string* reason);

} // namespace vk
