#include "panels/averaging_period.h"

#include "panels/number_text.h"
#include "panels/unit_conversion.h"
#include "util_app/range_modes.h"

namespace vk {

TimingBase TimingBase::Of(const SensorDevice& device) {
    return TimingBase{device.TicksPerMs(), device.ScanQuantum(), device.TimingFormat()};
}

std::string AveragingPeriodText(std::uint32_t count, const TimingBase& timing) {
    return FormatValue(timing.format, count / timing.ticksPerMs);
}

Checked<ConfigRecord> CheckAveragingPeriod(std::string_view text, const ConfigRecord& last,
                                           const TimingBase& timing) {
    const double quantum = timing.scanQuantum;
    // Whole quanta only; the snap keeps a period read back from the sensor (9.60 ms)
    // from losing a quantum on its way back.
    const double quanta = FloorNearWhole(TextAsNumber(text) * timing.ticksPerMs / quantum);
    const double count = quanta * quantum;
    if (!(count >= 0 && count <= kMaxAveragingCount))
        return Checked<ConfigRecord>::Refuse("Averaging period must be between 0 and 21474836.47");
    ConfigRecord record = last;
    record.SetAveragingCountForSet(static_cast<std::uint32_t>(count));
    return Checked<ConfigRecord>::Accept(record);
}

} // namespace vk
