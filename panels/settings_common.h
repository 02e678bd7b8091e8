#pragma once
// What the settings of every model have in common: the outcome of a write button, the
// check of a byte typed as a decimal integer, the limits of a range mode, and the list of
// name and value pairs the "System:" bar shows.

#include "panels/checked.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vk {

struct RangeMode;

// What one write button did. A refusal sent nothing and is shown as a warning; a write
// that went out is followed by a reload whatever the sensor made of it, because a failed
// write is in the command log and the re-read shows what the sensor kept.
struct WriteOutcome {
    bool attempted = false; // requests went out (or were tried): reload
    bool succeeded = false; // and every one of them succeeded
    std::string refusal;    // not empty: refused, nothing sent

    static WriteOutcome Refused(std::string text) { return {false, false, std::move(text)}; }
    static WriteOutcome Sent(bool succeeded) { return {true, succeeded, {}}; }
    // Nothing to send and nothing to say (a box without a selection).
    static WriteOutcome Nothing() { return {}; }
};

// A signed decimal integer (no number counts as 0) from 0 to `highest`, else refused
// with `refusal`.
Checked<std::uint8_t> CheckByte(std::string_view text, std::int64_t highest,
                                const std::string& refusal);

// Whether `value` lies below the minimum or above the maximum of `mode`.
bool OutsideLimits(double value, const RangeMode& mode);

// "Range values must be between <minimum> and <maximum>", the limits of `mode` in its
// display format ("0.000 inch"; "Unknown mode number" for the fallback row).
std::string RangeLimitsRefusal(const RangeMode& mode);

using SettingsRows = std::vector<std::pair<std::string, std::string>>;

// Clears `names` and `values` and fills them with the pairs of `rows`, in order: the
// shape CCustomSettingsDlg::GetSettingsList hands to the "System:" bar.
void FillSettingsList(const SettingsRows& rows, std::vector<std::string>& names,
                      std::vector<std::string>& values);

} // namespace vk
