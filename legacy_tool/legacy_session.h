#pragma once
// The request patterns every handler of the tool uses, on top of KorvelComm: ask and
// read the reply, tell without a reply, set and wait. Requests go to the current address
// in the current check method.

#include "legacy_tool/korvel_comm.h"
#include "legacy_tool/tool_state.h"

#include <optional>

namespace vk::legacy {

class LegacySession {
public:
    LegacySession(KorvelComm& comm, ToolState& state) : comm_(comm), state_(state) {}

    // One request and its reply buffer. Nothing when no valid reply came within
    // `timeoutMs`, or when its payload is shorter than `minPayload` (then the last error
    // is 2, an invalid response); the state's last error tells why.
    std::optional<Bytes> Ask(std::uint8_t code, const Bytes& payload, int timeoutMs,
                             std::size_t minPayload);
    std::optional<Bytes> AskAt(std::uint8_t address, std::uint8_t code, const Bytes& payload,
                               int timeoutMs, std::size_t minPayload);
    // A request whose reply is not read.
    void Tell(std::uint8_t code, const Bytes& payload = {});
    void TellAt(std::uint8_t address, std::uint8_t code, const Bytes& payload = {});
    // One more packet of an answer already on its way (no request); as Ask.
    std::optional<Bytes> Receive(int timeoutMs);
    // A request that carries a setting, then the set wait.
    void Set(std::uint8_t code, const Bytes& payload);
    void Pause(int ms) { comm_.DelayMs(ms); }

    bool Crc() const { return state_.method == CheckMethod::Crc16; }
    CheckMethod Method() const { return state_.method; }
    ToolState& State() { return state_; }
    KorvelComm& Comm() { return comm_; }

private:
    KorvelComm& comm_;
    ToolState& state_;
};

} // namespace vk::legacy
