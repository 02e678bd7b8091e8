#include "legacy_tool/legacy_session.h"

#include "legacy_tool/reply_reader.h"

namespace vk::legacy {

std::optional<Bytes> LegacySession::Ask(std::uint8_t code, const Bytes& payload, int timeoutMs,
                                        std::size_t minPayload) {
    return AskAt(state_.currentAddress, code, payload, timeoutMs, minPayload);
}

std::optional<Bytes> LegacySession::AskAt(std::uint8_t address, std::uint8_t code,
                                          const Bytes& payload, int timeoutMs,
                                          std::size_t minPayload) {
    comm_.SendPacket(code, address, payload, Crc());
    auto reply = Receive(timeoutMs);
    // A reply too short for its fields would show values that never came from the sensor.
    if (reply && PayloadSize(*reply) < minPayload) {
        state_.lastError = kInvalidResponse;
        return std::nullopt;
    }
    return reply;
}

void LegacySession::Tell(std::uint8_t code, const Bytes& payload) {
    TellAt(state_.currentAddress, code, payload);
}

void LegacySession::TellAt(std::uint8_t address, std::uint8_t code, const Bytes& payload) {
    comm_.SendPacket(code, address, payload, Crc());
}

std::optional<Bytes> LegacySession::Receive(int timeoutMs) {
    Bytes reply;
    if (!comm_.GetPacket(reply, Crc(), timeoutMs))
        return std::nullopt;
    return reply;
}

void LegacySession::Set(std::uint8_t code, const Bytes& payload) {
    Tell(code, payload);
    comm_.SetWait();
}

} // namespace vk::legacy
