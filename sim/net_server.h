#pragma once
// A simulated line served over the network, as a serial device server serves a real one:
// a raw TCP stream or Telnet with the COM Port Control Option (RFC 2217). The server opens
// the line's pseudo-terminal (its slave side, as a program would) for each client and
// relays bytes; RFC 2217 line settings become the terminal's termios, which is what the
// simulated sensors hear, so a sensor stays silent at a speed other than its own. One
// client at a time; another one is turned away with a line of text, as servers do.

#include "link/net_port_name.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vk::sim {

struct ListenAddress {
    NetProtocol protocol = NetProtocol::RawTcp;
    std::string host = "127.0.0.1";
    std::uint16_t port = 0;          // 0: any free port
    std::uint32_t lineSpeed = 57600; // the speed the server's port is set up for
};

// "HOST:PORT", "[v6]:PORT", ":PORT" or "PORT" (loopback); PORT 0 takes any free port.
// Nothing with what is wrong in `problem` for another text.
std::optional<ListenAddress> ParseListenAddress(NetProtocol protocol, const std::string& text,
                                                std::string* problem);

class NetServer {
public:
    NetServer();
    ~NetServer(); // Stop()
    NetServer(const NetServer&) = delete;
    NetServer& operator=(const NetServer&) = delete;

    // Listens on `address` and serves `device` (a pseudo-terminal's slave) from a thread
    // of its own. False with a reason in `error` when it cannot listen.
    bool Start(const ListenAddress& address, const std::string& device, std::string* error);
    // Ends the client's connection and stops listening; waits for the thread.
    void Stop();
    // The port it listens on (the one the system chose for port 0).
    std::uint16_t Port() const;
    // "rfc2217://127.0.0.1:4001": what a program connects to.
    std::string Url() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace vk::sim
