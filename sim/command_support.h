#pragma once
// Shared pieces of the command handlers (private to the simulator).

#include "sim/commands.h"
#include "sim/payload_io.h"

namespace vk::sim {

// The groups of handlers; each fills its rows of a table.
void AddIdentityCommands(CommandTable& table);
void AddSettingCommands(CommandTable& table);
void AddMeasurementCommands(CommandTable& table);
void AddServiceCommands(CommandTable& table);
void AddLegacyCommands(CommandTable& table);

// Requests that carry a setting are acknowledged with an empty packet, in the CRC
// variant only.
inline bool AckIfCrc(const CommandContext& c, Outcome& out) {
    if (c.method == CheckMethod::Crc16)
        out.packets.emplace_back();
    return true;
}

inline bool Reply(Outcome& out, Payload payload) {
    out.packets.push_back(std::move(payload));
    return true;
}

inline PayloadReader Fields(const CommandContext& c, const Request& r) {
    return PayloadReader(r.payload, c.method);
}

// A setting of one byte or one 16-bit field: stored, then acknowledged.
inline bool StoreByte(CommandContext& c, const Request& r, Outcome& out, std::uint8_t& field) {
    if (r.length != 1)
        return false;
    field = r.payload[0];
    return AckIfCrc(c, out);
}

inline bool StoreWord(CommandContext& c, const Request& r, Outcome& out, std::uint16_t& field) {
    if (r.length != 2)
        return false;
    field = Fields(c, r).Word(0);
    return AckIfCrc(c, out);
}

// SetConfigVars and its revision "C" twin: the configuration record, stored, then
// acknowledged.
bool StoreConfigRecord(CommandContext& c, const Request& r, Outcome& out);

} // namespace vk::sim
