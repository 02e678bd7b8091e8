// Settings: each one a command that stores it and one or more records that show it.

#include "sim/command_support.h"

namespace vk::sim {

namespace {

bool SetLaserOn(CommandContext& c, const Request& r, Outcome&) {
    if (r.length != 2)
        return false;
    c.state.settings.laserOn = true;
    return true;
}

bool SetLaserOff(CommandContext& c, const Request& r, Outcome&) {
    if (r.length != 0)
        return false;
    c.state.settings.laserOn = false;
    return true;
}

bool SetOffset(CommandContext& c, const Request& r, Outcome& out) {
    if (r.length != 8)
        return false;
    PayloadReader f = Fields(c, r);
    SensorSettings& s = c.state.settings;
    s.rangeOffset = f.Word(0);
    s.cosine = f.Word(2);
    s.multiplier = f.Word(4);
    s.offsetExtra = f.Word(6);
    return AckIfCrc(c, out);
}

bool SetFilterFactors(CommandContext& c, const Request& r, Outcome& out) {
    if (r.length != 6)
        return false;
    PayloadReader f = Fields(c, r);
    SensorSettings& s = c.state.settings;
    s.dropoutFactor = f.Word(0);
    s.smoothFactor = f.Word(2);
    s.orderFactor = f.Word(4);
    return AckIfCrc(c, out);
}

bool SetAnalogOutputFactors(CommandContext& c, const Request& r, Outcome& out) {
    if (r.length != 20)
        return false;
    PayloadReader f = Fields(c, r);
    AnalogFactors& a = c.state.settings.analog;
    a.voltsAtMinRange = f.Word(0);
    a.minRange = f.Word(2);
    a.voltsAtMaxRange = f.Word(4);
    a.maxRange = f.Word(6);
    a.offsetVoltage = f.Word(8);
    a.voltsOutOfRange = f.Word(10);
    return AckIfCrc(c, out);
}

bool WriteWaneParams(CommandContext& c, const Request& r, Outcome& out) {
    if (r.length != 12)
        return false;
    PayloadReader f = Fields(c, r);
    WaneRecord& w = c.state.settings.wane;
    w.minHeight = f.Word(0);
    w.minWidth = f.Word(2);
    w.conveyorSpeed = f.Word(4);
    for (std::size_t i = 0; i < w.reserved.size(); ++i)
        w.reserved[i] = f.Byte(6 + i);
    w.pulseDurationMs = f.Word(10);
    return AckIfCrc(c, out);
}

} // namespace

bool StoreConfigRecord(CommandContext& c, const Request& r, Outcome& out) {
    if (r.length != 10)
        return false;
    PayloadReader f = Fields(c, r);
    SensorSettings& s = c.state.settings;
    s.configWords[0] = f.Word(0);
    s.configWords[1] = f.Word(2);
    // The averaging count comes low half first and is kept as it is reported, high half
    // first.
    s.configWords[3] = f.Word(4);
    s.configWords[2] = f.Word(6);
    s.configBytes = {f.Byte(8), f.Byte(9)};
    return AckIfCrc(c, out);
}

void AddSettingCommands(CommandTable& t) {
    t[1] = SetLaserOn;
    t[2] = SetLaserOff;
    t[5] = [](CommandContext& c, const Request& r, Outcome& out) {
        return StoreWord(c, r, out, c.state.settings.scanInterval);
    };
    t[8] = SetOffset;
    t[9] = [](CommandContext& c, const Request& r, Outcome& out) {
        return StoreWord(c, r, out, c.state.settings.rangeMode);
    };
    t[14] = SetFilterFactors;
    t[26] = SetAnalogOutputFactors;
    t[27] = [](CommandContext& c, const Request& r, Outcome& out) {
        return r.length == 0 && Reply(out, AnalogFactorsRecord(c.state, c.method, c.now));
    };
    t[32] = [](CommandContext& c, const Request& r, Outcome& out) {
        return r.length == 0 && Reply(out, ConfigRecord(c.state, c.method));
    };
    t[33] = StoreConfigRecord;
    t[36] = [](CommandContext& c, const Request& r, Outcome& out) { // SetVKT04Mode
        if (r.length != 1)
            return false;
        c.state.settings.rangeMode = r.payload[0];
        return AckIfCrc(c, out);
    };
    t[40] = [](CommandContext& c, const Request& r, Outcome& out) { // SetOutOfRangeMode
        if (r.length != 1)
            return false;
        c.state.settings.holdLastValidRange = r.payload[0] ? 1 : 0;
        return AckIfCrc(c, out);
    };
    t[46] = WriteWaneParams;
    t[47] = [](CommandContext& c, const Request& r, Outcome& out) {
        return r.length == 0 && Reply(out, WaneRecordPayload(c.state, c.method));
    };
    t[48] = [](CommandContext& c, const Request& r, Outcome& out) {
        return StoreWord(c, r, out, c.state.settings.boardTimeoutMs);
    };
    t[49] = [](CommandContext& c, const Request& r, Outcome& out) {
        return r.length == 0 &&
               Reply(out, PayloadWriter(c.method).Word(c.state.settings.boardTimeoutMs).Take());
    };
    t[68] = [](CommandContext& c, const Request& r, Outcome& out) { // GetNumHoldScans
        return r.length == 0 &&
               Reply(out, PayloadWriter(c.method).Word(c.state.settings.holdScans).Take());
    };
    t[82] = [](CommandContext& c, const Request& r, Outcome& out) {
        return StoreByte(c, r, out, c.state.settings.threshold);
    };
    t[83] = [](CommandContext& c, const Request& r, Outcome& out) {
        return StoreByte(c, r, out, c.state.settings.maxLaserPower);
    };
    t[84] = [](CommandContext& c, const Request& r, Outcome& out) {
        return StoreByte(c, r, out, c.state.settings.minLaserPower);
    };
    t[129] = [](CommandContext& c, const Request& r, Outcome& out) {
        return r.length == 0 && Reply(out, {c.state.settings.maxLaserPower});
    };
    t[130] = [](CommandContext& c, const Request& r, Outcome& out) {
        return r.length == 0 && Reply(out, {c.state.settings.minLaserPower});
    };
    t[90] = [](CommandContext& c, const Request& r, Outcome& out) {
        return StoreWord(c, r, out, c.state.settings.analog.voltsAtMinRange);
    };
    t[91] = [](CommandContext& c, const Request& r, Outcome& out) {
        return StoreWord(c, r, out, c.state.settings.analog.voltsAtMaxRange);
    };
    t[93] = [](CommandContext& c, const Request& r, Outcome& out) {
        return StoreWord(c, r, out, c.state.settings.analog.minRange);
    };
    t[94] = [](CommandContext& c, const Request& r, Outcome& out) {
        return StoreWord(c, r, out, c.state.settings.analog.maxRange);
    };
    t[146] = [](CommandContext& c, const Request& r, Outcome& out) {
        return StoreWord(c, r, out, c.state.settings.analog.voltsOutOfRange);
    };
}

} // namespace vk::sim
