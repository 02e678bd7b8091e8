#pragma once
// The records the sensors send, built from a sensor's state in the byte order of
// `method`. Each returns the whole reply payload.

#include "sim/sensor_state.h"

#include <cstdint>
#include <vector>

namespace vk::sim {

using Payload = std::vector<std::uint8_t>;

Payload Vkt02SetupRecord(const SensorState& s, CheckMethod method); // 31 bytes
Payload Vkt04SetupRecord(const SensorState& s, CheckMethod method); // 28 bytes
Payload AnalogFactorsRecord(const SensorState& s, CheckMethod method,
                            Clock::time_point now);                  // 22 bytes
Payload ConfigRecord(const SensorState& s, CheckMethod method);      // 10 bytes
Payload WaneRecordPayload(const SensorState& s, CheckMethod method); // 12 bytes
Payload VersionRecord(const SensorState& s, CheckMethod method);     // 6 bytes
Payload ErrorStateRecord(const SensorState& s, CheckMethod method);  // 12 bytes
Payload Vkt02StateRecord(const SensorState& s, CheckMethod method,
                         Clock::time_point now); // 14 bytes
Payload SensorStateRecord(const SensorState& s, CheckMethod method,
                          Clock::time_point now); // 14 bytes
Payload BoardFlipperStateRecord(const SensorState& s, CheckMethod method,
                                Clock::time_point now); // 22 bytes

// The highest range, its scan number, the lowest, its scan number and the average of the
// valid ranges among the first `scanCount` samples (DescribeScanBuffer).
Payload ScanResultRecord(const SensorState& s, CheckMethod method); // 10 bytes

} // namespace vk::sim
