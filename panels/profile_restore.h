#pragma once
// Restoring a sensor profile into a sensor of the same model: every setting that differs
// goes through its dialog's button (check, refusal text, conversion, commands), the range
// mode first, and everything is read back and compared setting by setting. The serial
// number is never written; the line settings (address, speed, check method) are the
// caller's, since they need a reconnect (line_setting_change.h).

#include "panels/sensor_profile.h"

#include <string>
#include <vector>

namespace vk {

class SensorDevice;

enum class RestoreOutcome {
    Unchanged,    // the sensor held the profile's value already: not written
    Verified,     // written, and read back as the profile holds it
    Refused,      // the dialog's check (or the profile's own value) refused it: not sent
    Different,    // written, but the sensor reads back something else
    Unverified,   // written, but the read-back failed
    WouldWrite,   // a dry run: would be written
    NotInProfile, // the sensor has it, the profile does not: left as it is
    Skipped,      // a line setting that differs, left alone unless asked for
};

// "unchanged", "verified", "refused", "different", "unverified", "would write",
// "not in profile", "skipped".
const char* RestoreOutcomeName(RestoreOutcome outcome);

struct RestoreRow {
    std::string name; // the `set` name, or "address", "speed", "check method"
    RestoreOutcome outcome = RestoreOutcome::Unchanged;
    std::string profile; // the profile's value as a person reads it
    std::string sensor;  // the sensor's: before a dry run, after a restore
    std::string note;    // the refusal text, or what went wrong
};

struct RestoreReport {
    std::vector<RestoreRow> rows;
    // Empty when the sensor answered every read; else why the restore stopped or could not
    // verify (the failed command has logged its own line).
    std::string failure;

    // Whether everything matches or was verified: no refusal, no difference, no failure.
    bool Clean() const;
};

// Empty when `profile` may be restored into a sensor of `type`; else the line that refuses
// it ("The profile is of a VKT04; this sensor is a VKT02.").
std::string ModelMismatch(const SensorProfile& profile, ModelType type);

// Restores the settings of `profile` (of the sensor's model, see ModelMismatch) into the
// sensor: reads them, writes those that differ, reads everything back and compares. With
// `dryRun` nothing but the read goes to the sensor: the report says what would be written
// and what the dialogs would refuse.
RestoreReport RestoreSettings(SensorDevice& sensor, ModelType type, const SensorProfile& profile,
                              bool dryRun);

// One line for each refusal, difference or failure of `report`, for the command log and
// standard error: "threshold: Thresholdmust be between 0 and 255".
std::vector<std::string> RestoreProblems(const RestoreReport& report);

} // namespace vk
