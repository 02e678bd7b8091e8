// Service commands: counters, reset, defaults, and the line settings (address, check
// method, speed), and the flash.

#include "sim/command_support.h"

#include <cstring>

namespace vk::sim {

namespace {

bool SetSensorAddress(CommandContext& c, const Request& r, Outcome& out) {
    if (r.length != 9)
        return false;
    std::uint8_t serial[8];
    std::uint8_t ours[8];
    std::memcpy(serial, r.payload, sizeof serial);
    const std::string& s = c.state.config.serialNumber;
    for (std::size_t i = 0; i < sizeof ours; ++i)
        ours[i] = i < s.size() ? static_cast<std::uint8_t>(s[i]) : 0;
    if (std::memcmp(serial, ours, sizeof ours) != 0)
        return true; // meant for another sensor on the line
    std::uint8_t newAddress = r.payload[8];
    if (newAddress == 0) {
        // Address 0 is everybody's: a sensor that took it could never be told apart.
        ++c.state.errors.illegalOperations;
        return true;
    }
    c.state.config.address = newAddress;
    out.claimsGlobalReply = true;
    return AckIfCrc(c, out);
}

bool SetSensorCheckMode(CommandContext& c, const Request& r, Outcome&) {
    if (r.length != 1 || r.payload[0] > 1)
        return false;
    c.state.config.method = r.payload[0] == 0 ? CheckMethod::Crc16 : CheckMethod::Checksum;
    return true;
}

bool SetBaudRate(CommandContext& c, const Request& r, Outcome& out) {
    if (r.length != 1)
        return false;
    std::int32_t baud = BaudFromCode(r.payload[0]);
    if (baud == 0)
        return false;
    // The acknowledgement leaves at the old speed: it is queued before the switch.
    AckIfCrc(c, out);
    c.state.config.baudRate = baud;
    return true;
}

// The protect commands are not acknowledged in either variant.
bool StoreProtectWord(const Request& r, std::uint8_t& word) {
    if (r.length != 1)
        return false;
    word = r.payload[0];
    return true;
}

bool ResetSensor(CommandContext& c, const Request& r, Outcome&) {
    if (r.length != 0)
        return false;
    StopScan(c.state, c.now);
    ++c.state.errors.resets;
    // The protect words do not survive a reset, nor does a transfer in progress.
    c.state.flash.protect1 = 0;
    c.state.flash.protect2 = 0;
    c.state.flash.receiver.Abort("the sensor was reset");
    return true;
}

// An upload command is acknowledged in both variants. The sensor erases the area only
// while both protect words are set; otherwise its acknowledgement carries packet ID 0,
// which tells the tool that the erase failed. After an erase the XModem receiver takes
// the image.
template <UploadKind kind> bool OpenUpload(CommandContext& c, const Request& r, Outcome& out) {
    if (r.length != 0)
        return false;
    out.packets.emplace_back();
    if (!c.state.flash.Unlocked()) {
        out.packetId = 0;
        return true;
    }
    c.state.flash.BeginUpload(kind, c.now);
    return true;
}

} // namespace

void AddServiceCommands(CommandTable& t) {
    t[6] = ResetSensor;
    t[18] = SetSensorAddress;
    t[20] = [](CommandContext& c, const Request& r, Outcome& out) {
        return r.length == 0 && Reply(out, ErrorStateRecord(c.state, c.method));
    };
    t[66] = [](CommandContext& c, const Request& r, Outcome&) { // SetDefaults
        if (r.length != 0)
            return false;
        c.state.settings = SensorSettings{};
        return true;
    };
    t[77] = SetSensorCheckMode;
    t[78] = [](CommandContext& c, const Request& r, Outcome&) {
        return StoreProtectWord(r, c.state.flash.protect1);
    };
    t[79] = [](CommandContext& c, const Request& r, Outcome&) {
        return StoreProtectWord(r, c.state.flash.protect2);
    };
    t[86] = OpenUpload<UploadKind::Code>;
    t[87] = OpenUpload<UploadKind::Fpga>;
    t[88] = OpenUpload<UploadKind::Calibration>;
    t[92] = SetBaudRate;
}

} // namespace vk::sim
