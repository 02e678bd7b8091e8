#include "legacy_tool/scan_sequences.h"

#include "legacy_tool/legacy_codes.h"
#include "legacy_tool/scan_packets.h"
#include "legacy_tool/view_decoding.h"

namespace vk::legacy {

namespace {

std::string SensorLine(std::uint8_t address, const std::string& rest) {
    return "Sensor  " + std::to_string(address) + "  :" + rest;
}

std::optional<StateReadout> StateOf(LegacySession& s, std::uint8_t address) {
    auto reply = s.AskAt(address, kCmdGetVKT02State, {}, kReplyMs, kStateSize);
    if (!reply)
        return std::nullopt;
    return DecodeState(*reply, s.Method(), s.State().sensorMode);
}

} // namespace

void TellScan(LegacySession& s, std::uint8_t code, bool global) {
    s.TellAt(global ? 0 : s.State().currentAddress, code);
}

std::string StartedLine(LegacySession& s, std::uint8_t address) {
    auto state = StateOf(s, address);
    return SensorLine(address, state ? "  " + state->scanStatus : "  Error");
}

std::string StoppedLine(LegacySession& s, std::uint8_t address, std::uint16_t& count) {
    auto state = StateOf(s, address);
    if (!state)
        return SensorLine(address, "  Error");
    count = state->scans;
    return SensorLine(address, " " + state->scanCount + "  " + state->scanStatus);
}

std::vector<std::uint16_t> ReadScanBuffer(LegacySession& s, std::uint8_t address,
                                          std::uint16_t start, std::uint16_t count) {
    // Start and count go low byte first whatever the check method.
    Bytes request;
    AppendWord(request, start, CheckMethod::Checksum);
    AppendWord(request, count, CheckMethod::Checksum);
    s.TellAt(address, kCmdGetScanBufferPortion, request);
    ScanPacketReader reader(address);
    for (bool first = true;; first = false) {
        auto packet = s.Receive(kScanPacketMs);
        ScanPacketReader::Step step =
            packet ? reader.Take(*packet) : ScanPacketReader::Step::Broken;
        if (step == ScanPacketReader::Step::More)
            continue;
        // A target that sent nothing at all is passed over at once.
        if (step == ScanPacketReader::Step::Broken && (packet || !first))
            s.Pause(kBrokenScanPauseMs);
        return reader.Values();
    }
}

} // namespace vk::legacy
