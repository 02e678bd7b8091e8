#pragma once
// The connection the network port fuzz target talks to: a "server" that sends the fuzz
// input and takes whatever it is sent, on the virtual clock of fake_line.h.
//
// The input is served in pieces: each piece is one length byte, then that many bytes;
// when the input is used up, the server closes the connection.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vk::fuzz {

// Starts a new connection that will send `bytes`.
void ResetServer(const std::uint8_t* bytes, std::size_t size);
// Everything the client sent on this connection, as it went.
const std::vector<std::uint8_t>& TakenFromClient();

} // namespace vk::fuzz
