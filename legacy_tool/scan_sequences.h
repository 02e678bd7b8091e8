#pragma once
// The multi-sensor scan of the " View / Diagnostics " page: starting and stopping scans on
// the target sensors and reading their scan buffers.

#include "legacy_tool/legacy_session.h"

#include <string>
#include <vector>

namespace vk::legacy {

// StartScan to every sensor (`global`) or to the current address, then each target's
// state: one memo line per target, "Sensor  5  :  Scanning" or "Sensor  5  :  Error".
std::vector<std::string> StartScans(LegacySession& session,
                                    const std::vector<std::uint8_t>& targets, bool global);
// StopScan likewise; each target that answers gives its scan count to the state's scan
// counts at its position: "Sensor  5  : 1024  Not Scanning".
std::vector<std::string> StopScans(LegacySession& session, const std::vector<std::uint8_t>& targets,
                                   bool global);

// The `count` values from `start` of the scan buffer of the sensor at `address`: nothing
// when the first packet did not come, what came before a break when the answer broke off
// (after a 100 ms pause), at most kMaxScanValues.
std::vector<std::uint16_t> ReadScanBuffer(LegacySession& session, std::uint8_t address,
                                          std::uint16_t start, std::uint16_t count);

} // namespace vk::legacy
