#include "sim/command_support.h"

#include <initializer_list>

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

// Code 67 reads the laser power of a VKT02 and sets the hold scans of a VKT04.
bool GetLaserPower(CommandContext& c, const Request& r, Outcome& out) {
    return r.length == 0 && Reply(out, {LiveAt(c.state, c.now).laserPower});
}

bool SetNumHoldScans(CommandContext& c, const Request& r, Outcome& out) {
    return StoreWord(c, r, out, c.state.settings.holdScans);
}

// Every handler there is, by code; each model knows a part of them.
const CommandTable& AllCommands() {
    static const CommandTable all = [] {
        CommandTable t{};
        AddIdentityCommands(t);
        AddSettingCommands(t);
        AddMeasurementCommands(t);
        AddServiceCommands(t);
        AddLegacyCommands(t);
        return t;
    }();
    return all;
}

// Adds the rows of `codes`, taken from every handler there is.
void Add(CommandTable& t, std::initializer_list<std::uint8_t> codes) {
    for (std::uint8_t code : codes)
        t[code] = AllCommands()[code];
}

// A model's table: what every model takes (identity, address, speed, check method,
// defaults, reset, and the flash unlock with the three uploads) and the rows of `codes`.
CommandTable Knowing(std::initializer_list<std::uint8_t> codes) {
    CommandTable t{};
    Add(t, {6, 18, 66, 77, 78, 79, 80, 81, 86, 87, 88, 92, 127, 128});
    Add(t, codes);
    return t;
}

// The VKT02 (and the Rmx Long): the Diagnostic, Scan Buffer and Sensor errors pages, its
// settings dialog, and the older setup tool, which also reads the VKT04 version record
// and has five commands of its own (12, 131, 148, 205, 233).
CommandTable Vkt02Commands() {
    CommandTable t = Knowing({1,  2,  3,  4,  5,  8,  9,  10, 11, 12,  14,  15,  20,  21,  26,
                              27, 30, 32, 33, 38, 39, 82, 83, 84, 129, 130, 131, 148, 205, 233});
    t[19] = GetVkt02Setup;
    t[67] = GetLaserPower;
    return t;
}

// The Rmx Short, and the base of the VKT04 family: the state list, the VKT04 setup record,
// laser powers, threshold and the analog output one value at a time. One range mode, no
// hold and no wane settings.
CommandTable RmxShortCommands() {
    CommandTable t = Knowing({39, 41, 82, 83, 84, 90, 91, 93, 94, 146});
    t[19] = GetVkt04Setup;
    return t;
}

// The VKT04: two range modes and the hold of the last valid range.
CommandTable Vkt04Commands() {
    CommandTable t = RmxShortCommands();
    Add(t, {36, 40, 68});
    t[67] = SetNumHoldScans;
    return t;
}

// The Vezir Orududu: two range modes, wane variables, board time-out, laser on and off,
// its own state record and the scan buffer reader; no hold of the last range.
CommandTable VezirCommands() {
    CommandTable t = RmxShortCommands();
    Add(t, {1, 2, 11, 36, 46, 47, 48, 49});
    t[41] = GetBoardFlipperState;
    return t;
}

} // namespace

const CommandTable& CommandsFor(ModelType model) {
    static const CommandTable vkt02 = Vkt02Commands();
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
