// Commands only the older single-form setup tool sends: its own range reading and
// threshold read-back, the purge it sends after SetDefaults, and the scan interval and
// averaging period of firmware revision "C".

#include "sim/command_support.h"

namespace vk::sim {

namespace {

// Revision "C" firmware counts time in finer ticks and takes its timing settings through
// codes of its own; older firmware does not know them.
bool IsRevisionC(const CommandContext& c) {
    return c.state.config.revision == 'C';
}

bool PurgeSettings(CommandContext& c, const Request& r, Outcome&) {
    if (r.length != 0)
        return false;
    // Back to the factory: settings and the counters a service call would look at.
    c.state.settings = SensorSettings{};
    c.state.errors.resets = 0;
    c.state.errors.checkErrors = 0;
    c.state.errors.commandErrors = 0;
    c.state.errors.illegalOperations = 0;
    return true;
}

bool SetScanIntervalC(CommandContext& c, const Request& r, Outcome& out) {
    return IsRevisionC(c) && StoreWord(c, r, out, c.state.settings.scanInterval);
}

bool SetAveragingC(CommandContext& c, const Request& r, Outcome& out) {
    return IsRevisionC(c) && StoreConfigRecord(c, r, out);
}

} // namespace

void AddLegacyCommands(CommandTable& t) {
    t[12] = [](CommandContext& c, const Request& r, Outcome& out) { // range reading
        return r.length == 0 &&
               Reply(out, PayloadWriter(c.method).Word(LiveAt(c.state, c.now).range).Take());
    };
    t[131] = [](CommandContext& c, const Request& r, Outcome& out) { // threshold read-back
        return r.length == 0 && Reply(out, {c.state.settings.threshold});
    };
    t[148] = PurgeSettings;
    t[205] = SetScanIntervalC;
    t[233] = SetAveragingC;
}

} // namespace vk::sim
