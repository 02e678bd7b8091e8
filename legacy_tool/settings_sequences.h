#pragma once
// The request sequences behind the "Sensor Settings" page: what each button sends, waits
// for and reads back. They change the tool state where the sensor's answers decide it
// (mode, firmware variant, configuration word) and return what the page shows; failed
// replies the page reports come back as their last-error codes, in order.

#include "legacy_tool/legacy_session.h"
#include "legacy_tool/readout_decoding.h"
#include "legacy_tool/settings_requests.h"

#include <optional>
#include <string>
#include <vector>

namespace vk::legacy {

// A read-back: the value when it came, else the last error.
template <typename T> struct ReadBack {
    std::optional<T> value;
    int lastError = 0;
};

struct SensorReadout {
    std::optional<VersionTexts> version;
    std::optional<SetupFields> setup;
    std::optional<AnalogTexts> analog;
    std::optional<ConfigFields> config;
    std::vector<int> settingsErrors; // version to averaging; the status line is cleared after
    std::optional<std::string> modelName;
    std::optional<int> modelRow;
    std::optional<int> minPower;
    std::optional<int> maxPower;
    std::vector<int> identityErrors; // model name and powers
};

// The whole read-out after a Connect: version, setup, analog, averaging, model name,
// minimum and maximum laser power.
SensorReadout ReadSensorData(LegacySession& session);

// Laser on or off, then the setup read back (its failure is not reported).
std::optional<SetupFields> SetLaser(LegacySession& session, bool on);
// SetDefaults, and the reset-mode command when reset mode is on (it is off after).
void SetDefaults(LegacySession& session);

// One byte setting (power limits, threshold) and its read-back command.
struct ByteSetting {
    std::optional<int> readBack; // nothing: the read-back failed (not reported)
    bool mismatch = false;       // the sensor holds another value than was sent
};
ByteSetting WriteByteSetting(LegacySession& session, std::uint8_t setCode, std::uint8_t readCode,
                             std::uint8_t value);

struct SerialSetting {
    std::optional<std::string> serial; // the first 8 characters read back
    bool mismatch = false;             // the 16 bytes read back differ from those sent
};
SerialSetting WriteSerial(LegacySession& session, const std::string& serial);
// The model field of a preset row (0 to 2), then the model name read back.
ReadBack<std::string> WriteModel(LegacySession& session, int row);
// Re-addresses the sensor with `serial` and asks the new address for a range reading.
// True when the new address answered.
bool MoveAddress(LegacySession& session, const std::string& serial, std::uint8_t newAddress);

void WriteSensorBaud(LegacySession& session, int position);
void WriteSensorMode(LegacySession& session, int mode);
// SetSensorCheckMode in the present method, then its pause.
void WriteCheckMode(LegacySession& session, bool crcSelected);

// The measurement groups: set, then read the group back (failures reported).
ReadBack<SetupFields> WriteOffsets(LegacySession& session, const Bytes& payload);
ReadBack<SetupFields> WriteScanVariables(LegacySession& session, const ScanVariables& variables);
ReadBack<AnalogTexts> WriteAnalog(LegacySession& session, const Bytes& payload);
// The averaging command of the firmware variant, then the configuration read back
// (which also updates the stored configuration word).
ReadBack<ConfigFields> WriteAveraging(LegacySession& session, const Bytes& payload);

// The period field's payload for the present firmware variant and configuration word;
// `text` may be set to the variant's default period first.
Checked<Bytes> AveragingRequest(const ToolState& state, std::string& text);

} // namespace vk::legacy
