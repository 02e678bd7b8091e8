#pragma once
// What the network port needs from the operating system's sockets (net_socket_posix.cpp,
// net_socket_win.cpp): a connection made within a time limit, waits, and the calls that
// move what is there now without blocking.

#include <cstddef>
#include <cstdint>
#include <string>

namespace vk::net_socket {

using Socket = std::intptr_t;
inline constexpr Socket kNoSocket = -1;

// Resolves `host` (a name or an address) and connects to its first address that takes the
// connection, all within `timeoutMs`. kNoSocket when none does, with the reason: the
// resolver's ("Name or service not known") or the system's ("Connection refused",
// "Connection timed out").
Socket Connect(const std::string& host, std::uint16_t port, std::uint32_t timeoutMs,
               std::string* reason);

enum class Ready { Yes, No, Failed };
// Waits up to `ms` until something can be received (data or the end of the connection)
// or, with `forWrite`, until there is room to send. Failed when the wait itself failed.
Ready Wait(Socket s, bool forWrite, std::uint32_t ms);

inline constexpr long kNothingYet = -1;
inline constexpr long kBroken = -2;
// Receives what is there now, up to `capacity` bytes: the count; 0 when the peer closed
// the connection; kNothingYet when nothing has come; kBroken when the connection failed
// (reset).
long Receive(Socket s, std::uint8_t* buffer, std::size_t capacity);
// Sends what the connection takes now: the count (0 when it has no room), or kBroken.
long Send(Socket s, const std::uint8_t* data, std::size_t length);

// Tells the peer that nothing more will be sent (the connection's half close).
void ShutdownSend(Socket s);
void Close(Socket s);

} // namespace vk::net_socket
