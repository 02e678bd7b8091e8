#pragma once
// The checks the settings page makes before it sends anything, and the request payloads
// it sends. A refusal carries the message the user sees and the field that gets the
// focus; nothing is sent then.

#include "legacy_tool/firmware_variant.h"
#include "legacy_tool/korvel_codec.h"

#include <array>
#include <optional>
#include <string>

namespace vk::legacy {

enum class Field {
    ConnectAddress,
    Address,
    MinPower,
    MaxPower,
    Threshold,
    Cosine,
    Multiplier,
    RangeOffset,
    Dropouts,
    Smooth,
    Order,
    ScanInterval,
    MinRange,
    MaxRange,
    VoltsAtMin,
    VoltsAtMax,
    VoltsOutside,
    OffsetVoltage,
    AveragingPeriod,
    StartIndex,
    ScanCount,
};

struct Refusal {
    std::string message;
    Field field;
};

template <typename T> struct Checked {
    T value{};
    std::optional<Refusal> refusal;
    bool Ok() const { return !refusal; }
};

// An address field: 1 to 255. `field` is the one that gets the focus.
Checked<std::uint8_t> CheckAddress(const std::string& text, Field field);
// "Min. Power" 0 to 254; "Max. Power" and "Thershold" 0 to 255. An empty "Max. Power" is
// set to "0" first (the caller shows the text again).
Checked<std::uint8_t> CheckMinPower(const std::string& text);
Checked<std::uint8_t> CheckMaxPower(std::string& text);
Checked<std::uint8_t> CheckThreshold(const std::string& text);

// SetOffset: range offset, cosine, multiplier, a zero word.
Checked<Bytes> CheckOffsets(const std::string& cosine, const std::string& multiplier,
                            const std::string& offset, int mode, CheckMethod method);

// "Dropouts", "Smooth %", "Order", "Scan Interval" in that order. A field found empty
// when its turn comes is set to "0" first (the caller shows the texts again).
struct ScanVariables {
    Bytes filterFactors; // SetFilterFactors
    Bytes scanInterval;  // the scan interval command of the firmware variant
};
Checked<ScanVariables> CheckScanVariables(std::array<std::string, 4>& texts, CheckMethod method);

// "Minimum Range", "Maximum Range", "Volts @ Min. Range", "Volts @ Max. Range",
// "Volts Outside Range", "Offset Voltage"; the payload of SetAnalogOuputFactors.
Checked<Bytes> CheckAnalog(const std::array<std::string, 6>& texts, int mode, CheckMethod method);

// The averaging period in ticks: the field x divisor rounded to the nearest tick (ties to
// even), then down to whole steps, at least one step.
std::int64_t AveragingTicks(double period, const AveragingScale& scale);
// The period field (an empty one is first set to `defaultText`) and the payload of the
// averaging command: 0, `configWord`, the period's low half, its high half, 0. The sensor
// reports the period the other way round, high half first.
Checked<Bytes> CheckAveraging(std::string& text, const char* defaultText,
                              const AveragingScale& scale, std::uint16_t configWord,
                              CheckMethod method);

// "Start Index" and "# Of Scans" of "Read Scan Buffer": each a number that fits the
// request's 16-bit field (the sensor itself refuses a stretch beyond its buffer).
struct ScanWindow {
    std::uint16_t start = 0;
    std::uint16_t count = 0;
};
Checked<ScanWindow> CheckScanWindow(const std::string& start, const std::string& count);

// SetSerialNum: the serial number's first 8 bytes (one byte per character, Latin-1),
// followed by zero bytes to 16 bytes.
Bytes SerialPayload(const std::string& serial);
// SetSensorAddress: the serial number in 8 bytes (Latin-1, zero-padded), then the new
// address.
Bytes AddressPayload(const std::string& serial, std::uint8_t newAddress);

} // namespace vk::legacy
