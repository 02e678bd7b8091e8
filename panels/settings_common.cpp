#include "panels/settings_common.h"

#include "panels/number_text.h"
#include "util_app/range_modes.h"

namespace vk {

Checked<std::uint8_t> CheckByte(std::string_view text, std::int64_t highest,
                                const std::string& refusal) {
    const std::int64_t value = TextAsInteger(text);
    if (value < 0 || value > highest)
        return Checked<std::uint8_t>::Refuse(refusal);
    return Checked<std::uint8_t>::Accept(static_cast<std::uint8_t>(value));
}

bool OutsideLimits(double value, const RangeMode& mode) {
    return value < mode.minimum || value > mode.maximum;
}

std::string RangeLimitsRefusal(const RangeMode& mode) {
    return "Range values must be between " + FormatValue(mode.displayFormat, mode.minimum) +
           " and " + FormatValue(mode.displayFormat, mode.maximum);
}

void FillSettingsList(const SettingsRows& rows, std::vector<std::string>& names,
                      std::vector<std::string>& values) {
    names.clear();
    values.clear();
    for (const auto& [name, value] : rows) {
        names.push_back(name);
        values.push_back(value);
    }
}

} // namespace vk
