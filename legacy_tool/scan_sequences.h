#pragma once
// The multi-sensor scan of the " View / Diagnostics " page: starting and stopping scans on
// the target sensors and reading their scan buffers.

#include "legacy_tool/legacy_session.h"

#include <string>
#include <vector>

namespace vk::legacy {

// StartScan or StopScan (`code`) once, to every sensor (`global`) or to the current address;
// no reply is read.
void TellScan(LegacySession& session, std::uint8_t code, bool global);
// The memo line of one target after "Start Scan", from its state: "Sensor  5  :  Scanning",
// or "Sensor  5  :  Error" when it did not answer.
std::string StartedLine(LegacySession& session, std::uint8_t address);
// The same after "Stop Scan": "Sensor  5  : 1024  Not Scanning". A target that answers
// leaves its scan count in `count`.
std::string StoppedLine(LegacySession& session, std::uint8_t address, std::uint16_t& count);

// The `count` values from `start` of the scan buffer of the sensor at `address`: nothing
// when the first packet did not come, what came before a break when the answer broke off
// or a packet came from another address (after a 100 ms pause), at most kMaxScanValues.
std::vector<std::uint16_t> ReadScanBuffer(LegacySession& session, std::uint8_t address,
                                          std::uint16_t start, std::uint16_t count);

} // namespace vk::legacy
