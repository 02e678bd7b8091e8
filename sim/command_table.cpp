#include "sim/command_support.h"

namespace vk::sim {

namespace {

bool GetVkt02Setup(CommandContext& c, const Request& r, Outcome& out) {
    return r.length == 0 && Reply(out, Vkt02SetupRecord(c.state, c.method));
}

bool GetVkt04Setup(CommandContext& c, const Request& r, Outcome& out) {
    return r.length == 0 && Reply(out, Vkt04SetupRecord(c.state, c.method));
}

bool GetBoardFlipperState(CommandContext& c, const Request& r, Outcome& out) {
    return r.length == 0 && Reply(out, BoardFlipperStateRecord(c.state, c.method, c.now));
}

CommandTable CommonCommands() {
    CommandTable t{};
    AddIdentityCommands(t);
    AddSettingCommands(t);
    AddMeasurementCommands(t);
    AddServiceCommands(t);
    AddLegacyCommands(t);
    t[19] = GetVkt02Setup;
    return t;
}

CommandTable Vkt04Commands() {
    CommandTable t = CommonCommands();
    t[19] = GetVkt04Setup;
    return t;
}

// The Rmx Short answers the VKT04 setup record but has one range mode and no hold or wane
// settings, so it knows none of their commands.
CommandTable RmxShortCommands() {
    CommandTable t = Vkt04Commands();
    for (std::uint8_t code : {36, 40, 46, 47, 48, 49, 68})
        t[code] = nullptr;
    return t;
}

CommandTable VezirCommands() {
    CommandTable t = Vkt04Commands();
    t[41] = GetBoardFlipperState;
    return t;
}

} // namespace

const CommandTable& CommandsFor(ModelType model) {
    static const CommandTable vkt02 = CommonCommands();
    static const CommandTable vkt04 = Vkt04Commands();
    static const CommandTable rmxShort = RmxShortCommands();
    static const CommandTable vezir = VezirCommands();
    switch (model) {
    case ModelType::VKT04:
        return vkt04;
    case ModelType::RmxShort:
        return rmxShort;
    case ModelType::VKT04VezirOrududu:
        return vezir;
    case ModelType::VKT02:
    case ModelType::RmxLong:
        break;
    }
    return vkt02;
}

Outcome Execute(SensorState& state, const Request& request, Clock::time_point now) {
    Outcome out;
    AdvanceScan(state, now);
    const ModelType model =
        FindModelType(SensorText::From(state.config.modelString)).value_or(ModelType::VKT02);
    CommandHandler handler = CommandsFor(model)[request.packetId];
    CommandContext context{state, state.config.method, now};
    if (!handler || !handler(context, request, out)) {
        ++state.errors.commandErrors;
        return {};
    }
    return out;
}

} // namespace vk::sim
