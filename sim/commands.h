#pragma once
// What a simulated sensor does with one request addressed to it: a table of command
// handlers per model. Each model knows the commands the tools send it and no others, so a
// tool that sends a model a command it does not know finds out; models share the
// handlers of the codes they have in common, and 19, 41 and 67 mean something else for
// some of them.

#include "sensor/model_table.h"
#include "sim/records.h"
#include "sim/sensor_state.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vk::sim {

struct Request {
    std::uint8_t address = 0; // as addressed: 0 is every sensor on the line
    std::uint8_t packetId = 0;
    const std::uint8_t* payload = nullptr;
    std::size_t length = 0;
};

struct CommandContext {
    SensorState& state;
    CheckMethod method; // the method the request came in; replies go out in it
    Clock::time_point now;
};

struct Outcome {
    std::vector<Payload> packets;         // reply payloads, each sent with the request's packet ID
    std::optional<std::uint8_t> packetId; // ... or with this one
    // Among sensors obeying one request to address 0, the one that claims the reply
    // sends it (re-addressing: the sensor whose serial number matched).
    bool claimsGlobalReply = false;
};

// Carries out the request; false when the sensor cannot (wrong payload length, a value
// it does not take): it then changes nothing and replies nothing.
using CommandHandler = bool (*)(CommandContext& context, const Request& request, Outcome& out);
using CommandTable = std::array<CommandHandler, 256>;

// The handlers of a model; codes the model does not know are null. The VKT02 and the
// Rmx Long share one table.
const CommandTable& CommandsFor(ModelType model);

// Runs one request on a sensor, by the model its present model string names as the tools
// read it; a string the tools do not know answers as a VKT02, the model a blank factory
// sensor starts from. Unknown codes and refused requests count as command errors and get
// no reply.
Outcome Execute(SensorState& state, const Request& request, Clock::time_point now);

} // namespace vk::sim
