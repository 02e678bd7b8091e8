#include "panels/vkt02_error_counters.h"

#include "panels/unit_conversion.h"

namespace vk {

std::array<DiagnosticValue, 6> Vkt02ErrorValues(const ErrorStateRecord& errors) {
    const bool calibrated = errors.calibrationMarker == ErrorStateRecord::kCalibrated;
    return {{
        {0, SignedWordText(errors.powerUpCount)},
        {1, calibrated ? "Callibration OK" : "No Callibration"},
        {2, SignedWordText(errors.resetCount)},
        {3, SignedWordText(errors.illegalOperationCount)},
        {4, SignedWordText(errors.commandErrorCount)},
        {5, SignedWordText(errors.checkErrorCount)},
    }};
}

} // namespace vk
