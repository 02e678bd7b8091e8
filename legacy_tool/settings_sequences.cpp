#include "legacy_tool/settings_sequences.h"

#include "legacy_tool/legacy_codes.h"
#include "legacy_tool/model_presets.h"

namespace vk::legacy {

namespace {

std::optional<Bytes> AskOrNote(LegacySession& s, std::uint8_t code, std::size_t size,
                               std::vector<int>& errors, int timeoutMs = kReplyMs) {
    auto reply = s.Ask(code, {}, timeoutMs, size);
    if (!reply)
        errors.push_back(s.State().lastError);
    return reply;
}

template <typename T> ReadBack<T> Failed(LegacySession& s) {
    ReadBack<T> r;
    r.lastError = s.State().lastError;
    return r;
}

ConfigFields TakeConfig(LegacySession& s, const Bytes& reply) {
    ConfigFields c = DecodeConfig(reply, s.Method(), s.State().averaging);
    s.State().configWord = c.configWord;
    return c;
}

ReadBack<SetupFields> ReadSetup(LegacySession& s) {
    auto reply = s.Ask(kCmdGetSensorSetup, {}, kReplyMs, kSetupSize);
    if (!reply)
        return Failed<SetupFields>(s);
    return {DecodeSetup(*reply, s.Method()), 0};
}

} // namespace

SensorReadout ReadSensorData(LegacySession& s) {
    ToolState& state = s.State();
    SensorReadout r;
    state.revisionC = false;
    if (auto reply = AskOrNote(s, kCmdGetVersion, kVersionSize, r.settingsErrors)) {
        r.version = DecodeVersion(*reply, s.Method());
        state.revisionC = r.version->revisionC;
        state.averaging = VariantFor(state.revisionC).averaging;
    }
    if (auto reply = AskOrNote(s, kCmdGetSensorSetup, kSetupSize, r.settingsErrors)) {
        r.setup = DecodeSetup(*reply, s.Method());
        state.sensorMode = r.setup->mode;
    }
    if (auto reply = AskOrNote(s, kCmdGetAnalogFactors, kAnalogSize, r.settingsErrors))
        r.analog = DecodeAnalog(*reply, s.Method(), state.sensorMode);
    if (auto reply = AskOrNote(s, kCmdGetConfigVars, kConfigSize, r.settingsErrors))
        r.config = TakeConfig(s, *reply);

    if (auto reply = AskOrNote(s, kCmdGetModelName, 0, r.identityErrors)) {
        r.modelName = DecodeModelName(*reply);
        r.modelRow = DetectModelRow(*r.modelName);
    }
    if (auto reply = AskOrNote(s, kCmdGetMinLP, kByteSize, r.identityErrors))
        r.minPower = PayloadByte(*reply, 0);
    if (auto reply = AskOrNote(s, kCmdGetMaxLP, kByteSize, r.identityErrors))
        r.maxPower = PayloadByte(*reply, 0);
    return r;
}

std::optional<SetupFields> SetLaser(LegacySession& s, bool on) {
    if (on)
        s.Tell(kCmdSetLaserOn, {0xFF, 0xFF});
    else
        s.Tell(kCmdSetLaserOff);
    s.Pause(kLaserPauseMs);
    return ReadSetup(s).value;
}

void SetDefaults(LegacySession& s) {
    s.Tell(kCmdSetDefaults);
    s.Pause(kDefaultsPauseMs);
    if (s.State().resetMode) {
        s.Tell(kCmdResetMode);
        s.Pause(kDefaultsPauseMs);
    }
    s.State().resetMode = false;
}

ByteSetting WriteByteSetting(LegacySession& s, std::uint8_t setCode, std::uint8_t readCode,
                             std::uint8_t value) {
    s.Set(setCode, {value});
    ByteSetting r;
    if (auto reply = s.Ask(readCode, {}, kReplyMs, kByteSize)) {
        r.readBack = PayloadByte(*reply, 0);
        r.mismatch = *r.readBack != value;
    }
    return r;
}

SerialSetting WriteSerial(LegacySession& s, const std::string& serial) {
    Bytes sent = SerialPayload(serial);
    s.Set(kCmdSetSerialNum, sent);
    SerialSetting r;
    if (auto reply = s.Ask(kCmdGetSerialNum, {}, kReplyMs, kSerialSize)) {
        for (std::size_t i = 0; i < sent.size(); ++i)
            r.mismatch = r.mismatch || PayloadByte(*reply, i) != sent[i];
        r.serial = PayloadText(*reply, 0, 8);
    }
    return r;
}

ReadBack<std::string> WriteModel(LegacySession& s, int row) {
    s.Set(kCmdSetModelName, ModelField(row));
    auto reply = s.Ask(kCmdGetModelName, {}, kReplyMs, 0);
    if (!reply)
        return Failed<std::string>(s);
    return {DecodeModelName(*reply), 0};
}

bool MoveAddress(LegacySession& s, const std::string& serial, std::uint8_t newAddress) {
    s.Set(kCmdSetSensorAddress, AddressPayload(serial, newAddress));
    return s.AskAt(newAddress, kCmdRangeReading, {}, kReplyMs, 0).has_value();
}

void WriteSensorBaud(LegacySession& s, int position) {
    s.Set(kCmdSetBaudRate, {static_cast<std::uint8_t>(position)});
}

void WriteSensorMode(LegacySession& s, int mode) {
    Bytes payload;
    AppendWord(payload, static_cast<std::uint16_t>(mode), s.Method());
    s.Set(kCmdSetMode, payload);
}

void WriteCheckMode(LegacySession& s, bool crcSelected) {
    s.Tell(kCmdSetSensorCheckMode, {static_cast<std::uint8_t>(crcSelected ? 0x00 : 0x01)});
    s.Pause(kCheckModePauseMs);
}

ReadBack<SetupFields> WriteOffsets(LegacySession& s, const Bytes& payload) {
    s.Set(kCmdSetOffset, payload);
    return ReadSetup(s);
}

ReadBack<SetupFields> WriteScanVariables(LegacySession& s, const ScanVariables& v) {
    s.Set(kCmdSetFilterFactors, v.filterFactors);
    s.Set(VariantFor(s.State().revisionC).scanIntervalCommand, v.scanInterval);
    return ReadSetup(s);
}

ReadBack<AnalogTexts> WriteAnalog(LegacySession& s, const Bytes& payload) {
    s.Set(kCmdSetAnalogOutputFactors, payload);
    auto reply = s.Ask(kCmdGetAnalogFactors, {}, kAnalogAfterChangeMs, kAnalogSize);
    if (!reply)
        return Failed<AnalogTexts>(s);
    return {DecodeAnalog(*reply, s.Method(), s.State().sensorMode), 0};
}

ReadBack<ConfigFields> WriteAveraging(LegacySession& s, const Bytes& payload) {
    s.Set(VariantFor(s.State().revisionC).averagingCommand, payload);
    auto reply = s.Ask(kCmdGetConfigVars, {}, kReplyMs, kConfigSize);
    if (!reply)
        return Failed<ConfigFields>(s);
    return {TakeConfig(s, *reply), 0};
}

Checked<Bytes> AveragingRequest(const ToolState& state, std::string& text) {
    const FirmwareVariant& variant = VariantFor(state.revisionC);
    return CheckAveraging(text, variant.defaultPeriodText, state.averaging, state.configWord,
                          state.method);
}

} // namespace vk::legacy
