#include "panels/vkt02_diagnostics.h"

#include "panels/unit_conversion.h"

namespace vk {

std::array<DiagnosticValue, 9> Vkt02DiagnosticValues(const Vkt02StateRecord& state,
                                                     std::uint8_t laserPower, std::uint16_t peak,
                                                     const std::string& rangeText) {
    return {{
        {0, std::to_string(state.basePixel)},
        {1, std::to_string(state.pixelSum)},
        {2, std::to_string(state.pixelCount)},
        {3, std::to_string(state.subPixel)},
        {4, SignedWordText(state.scanCount)},
        {5, state.scanning != 0 ? "On" : "Off"},
        {6, std::to_string(laserPower)},
        {7, SignedWordText(peak)},
        {9, rangeText},
    }};
}

} // namespace vk
