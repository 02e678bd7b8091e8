#include "legacy_tool/firmware_variant.h"

#include "legacy_tool/legacy_codes.h"

namespace vk::legacy {

const FirmwareVariant& VariantFor(bool revisionC) {
    static const FirmwareVariant c{{1000, 1500, 3}, "1.500", kCmdScanIntervalC, kCmdAveragingC};
    static const FirmwareVariant other{
        {100, 60, 2}, "0.60", kCmdSetScanInterval, kCmdSetConfigVars};
    return revisionC ? c : other;
}

} // namespace vk::legacy
