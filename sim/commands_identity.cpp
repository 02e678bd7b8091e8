// Who the sensor is: model name, serial number, versions, and the factory writes of them.

#include "sim/command_support.h"

namespace vk::sim {

namespace {

constexpr std::size_t kTextField = 16;

bool GetVersion(CommandContext& c, const Request& r, Outcome& out) {
    return r.length == 0 && Reply(out, VersionRecord(c.state, c.method));
}

} // namespace

void AddIdentityCommands(CommandTable& t) {
    t[30] = GetVersion;
    t[39] = GetVersion; // GetVKT04Version: the same record
    t[127] = [](CommandContext& c, const Request& r, Outcome& out) {
        return r.length == 0 &&
               Reply(out,
                     PayloadWriter(c.method).Text(c.state.config.modelString, kTextField).Take());
    };
    t[128] = [](CommandContext& c, const Request& r, Outcome& out) {
        return r.length == 0 &&
               Reply(out,
                     PayloadWriter(c.method).Text(c.state.config.serialNumber, kTextField).Take());
    };
    t[80] = [](CommandContext& c, const Request& r, Outcome& out) { // SetModelName
        if (r.length != kTextField)
            return false;
        c.state.config.modelString = Fields(c, r).Text(0, kTextField);
        return AckIfCrc(c, out);
    };
    t[81] = [](CommandContext& c, const Request& r, Outcome& out) { // SetSerialNum
        if (r.length != kTextField)
            return false;
        c.state.config.serialNumber = Fields(c, r).Text(0, kTextField);
        return AckIfCrc(c, out);
    };
}

} // namespace vk::sim
