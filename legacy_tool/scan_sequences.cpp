#include "legacy_tool/scan_sequences.h"

#include "legacy_tool/legacy_codes.h"
#include "legacy_tool/scan_packets.h"
#include "legacy_tool/view_decoding.h"

namespace vk::legacy {

namespace {

std::string SensorLine(std::uint8_t address, const std::string& rest) {
    return "Sensor  " + std::to_string(address) + "  :" + rest;
}

void TellTargets(LegacySession& s, std::uint8_t code, bool global) {
    s.TellAt(global ? 0 : s.State().currentAddress, code);
}

std::optional<StateReadout> StateOf(LegacySession& s, std::uint8_t address) {
    auto reply = s.AskAt(address, kCmdGetVKT02State, {}, kReplyMs, kStateSize);
    if (!reply)
        return std::nullopt;
    return DecodeState(*reply, s.Method(), s.State().sensorMode);
}

} // namespace

std::vector<std::string> StartScans(LegacySession& s, const std::vector<std::uint8_t>& targets,
                                    bool global) {
    TellTargets(s, kCmdStartScan, global);
    std::vector<std::string> lines;
    for (std::uint8_t address : targets) {
        auto state = StateOf(s, address);
        lines.push_back(SensorLine(address, state ? "  " + state->scanStatus : "  Error"));
    }
    return lines;
}

std::vector<std::string> StopScans(LegacySession& s, const std::vector<std::uint8_t>& targets,
                                   bool global) {
    TellTargets(s, kCmdStopScan, global);
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        auto state = StateOf(s, targets[i]);
        if (!state) {
            lines.push_back(SensorLine(targets[i], "  Error"));
            continue;
        }
        if (i < s.State().scanCounts.size())
            s.State().scanCounts[i] = state->scans;
        lines.push_back(SensorLine(targets[i], " " + state->scanCount + "  " + state->scanStatus));
    }
    return lines;
}

std::vector<std::uint16_t> ReadScanBuffer(LegacySession& s, std::uint8_t address,
                                          std::uint16_t start, std::uint16_t count) {
    // Start and count go low byte first whatever the check method.
    Bytes request;
    AppendWord(request, start, CheckMethod::Checksum);
    AppendWord(request, count, CheckMethod::Checksum);
    s.TellAt(address, kCmdGetScanBufferPortion, request);
    ScanPacketReader reader;
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
