// The sockets of the network port, faked for the fuzz targets: the server's bytes are the
// fuzz input's, and a wait for more adds its time to the virtual clock.
#include "fuzz/fake_socket.h"
#include "link/deadline_timer.h"
#include "link/net_socket.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vk {

namespace {

struct FakeServer {
    const std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
    std::size_t next = 0;            // the next piece's length byte
    std::size_t pieceLeft = 0;       // bytes of the current piece not sent yet
    std::vector<std::uint8_t> taken; // what the client sent
};

FakeServer server;

bool PieceReady() {
    while (server.pieceLeft == 0 && server.next < server.size) {
        server.pieceLeft =
            std::min<std::size_t>(server.bytes[server.next++], server.size - server.next);
    }
    return server.pieceLeft > 0;
}

} // namespace

namespace fuzz {

void ResetServer(const std::uint8_t* bytes, std::size_t size) {
    server = FakeServer{bytes, size, 0, 0, {}};
}

const std::vector<std::uint8_t>& TakenFromClient() {
    return server.taken;
}

} // namespace fuzz

namespace net_socket {

Socket Connect(const std::string&, std::uint16_t, std::uint32_t, std::string*) {
    return 3;
}

Ready Wait(Socket, bool forWrite, std::uint32_t ms) {
    if (forWrite || PieceReady() || server.next >= server.size)
        return Ready::Yes;
    PauseMs(ms);
    return Ready::No;
}

long Receive(Socket, std::uint8_t* buffer, std::size_t capacity) {
    // Each piece comes as one arrival; the connection ends with the input.
    if (!PieceReady())
        return 0;
    const std::size_t n = std::min(capacity, server.pieceLeft);
    std::memcpy(buffer, server.bytes + server.next, n);
    server.next += n;
    server.pieceLeft -= n;
    return static_cast<long>(n);
}

// A few bytes a call, so that every way a write can be cut (a doubled 0xFF or a command
// in two) is taken.
long Send(Socket, const std::uint8_t* data, std::size_t length) {
    const std::size_t n = std::min<std::size_t>(length, 1 + server.taken.size() % 3);
    server.taken.insert(server.taken.end(), data, data + n);
    return static_cast<long>(n);
}

void ShutdownSend(Socket) {}

void Close(Socket) {}

} // namespace net_socket
} // namespace vk
