#pragma once
// A simulated sensor's flash: the two protect words that must hold 0xAA and 0x55 before
// an upload command is taken, the XModem receiver that runs after one was taken, and the
// last image received of each kind.

#include "sim/xmodem_receiver.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vk::sim {

enum class UploadKind { None, Code, Fpga, Calibration };

// "DSP", "FPGA", "calibration".
const char* UploadKindName(UploadKind kind);

struct FlashState {
    std::uint8_t protect1 = 0; // WriteFlashProtect1
    std::uint8_t protect2 = 0; // WriteFlashProtect2
    UploadKind receiving = UploadKind::None;
    XModemReceiver receiver;
    std::array<std::vector<std::uint8_t>, 3> images; // Code, Fpga, Calibration

    bool Unlocked() const { return protect1 == 0xAA && protect2 == 0x55; }
    // The last complete image of `kind` (empty when none came).
    const std::vector<std::uint8_t>& Image(UploadKind kind) const;

    // Starts the receiver for `kind` after the upload command was acknowledged.
    void BeginUpload(UploadKind kind, Clock::time_point now);
    // When a transfer has ended: keeps its image if it was complete, and returns a line
    // that says what happened for the sensor at `address`. Nothing otherwise.
    std::optional<std::string> FinishUpload(std::uint8_t address);
};

} // namespace vk::sim
