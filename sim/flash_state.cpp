#include "sim/flash_state.h"

#include "link/xmodem.h"

#include <cstdio>

namespace vk::sim {

const char* UploadKindName(UploadKind kind) {
    switch (kind) {
    case UploadKind::Code:
        return "DSP";
    case UploadKind::Fpga:
        return "FPGA";
    case UploadKind::Calibration:
        return "calibration";
    case UploadKind::None:
        break;
    }
    return "no";
}

const std::vector<std::uint8_t>& FlashState::Image(UploadKind kind) const {
    static const std::vector<std::uint8_t> none;
    if (kind == UploadKind::None)
        return none;
    return images[static_cast<std::size_t>(kind) - 1];
}

void FlashState::BeginUpload(UploadKind kind, Clock::time_point now) {
    receiving = kind;
    receiver.Start(now);
}

std::optional<std::string> FlashState::FinishUpload(std::uint8_t address) {
    auto ended = receiver.TakeEnded();
    if (!ended)
        return std::nullopt;
    UploadKind kind = receiving;
    receiving = UploadKind::None;
    char line[160];
    if (ended->complete && kind != UploadKind::None) {
        std::vector<std::uint8_t>& image = images[static_cast<std::size_t>(kind) - 1];
        image = std::move(ended->image);
        std::snprintf(line, sizeof line, "sensor %u: %s image received, %zu bytes, CRC-16 0x%04X",
                      unsigned{address}, UploadKindName(kind), image.size(),
                      unsigned{xmodem::Crc16(image.data(), image.size())});
    } else {
        std::snprintf(line, sizeof line, "sensor %u: %s upload ended after %zu bytes: %s",
                      unsigned{address}, UploadKindName(kind), ended->image.size(),
                      ended->how.c_str());
    }
    return std::string(line);
}

} // namespace vk::sim
