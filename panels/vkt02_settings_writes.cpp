#include "panels/vkt02_settings_writes.h"

#include "panels/averaging_period.h"
#include "panels/vkt02_settings_checks.h"
#include "sensor/sensor_device.h"

namespace vk {

namespace {

template <typename T, typename Send>
WriteOutcome SendChecked(const Checked<T>& checked, const Send& send) {
    if (!checked.Accepted())
        return WriteOutcome::Refused(checked.refusal);
    return WriteOutcome::Sent(send(*checked.value));
}

} // namespace

std::optional<Vkt02Settings> ReadVkt02Settings(SensorDevice& sensor, ModelType type) {
    if (!sensor.GetSensorSetup() || !sensor.GetMinLP() || !sensor.GetMaxLP() ||
        !sensor.GetAnalogFactors() || !sensor.GetConfigVars())
        return std::nullopt;
    const ReplyStore& replies = sensor.Replies();
    Vkt02Settings settings = Vkt02SettingsFromReplies(replies, type, TimingBase::Of(sensor));
    // A connection made through the global address goes on with the sensor's own.
    sensor.SetAddress(replies.sensorSetup.address);
    return settings;
}

WriteOutcome WriteVkt02Mode(SensorDevice& sensor, const Vkt02Settings& settings) {
    return WriteOutcome::Sent(sensor.SetMode(ModeWord(settings.modeNumber)));
}

WriteOutcome WriteVkt02MinLaserPower(SensorDevice& sensor, const Vkt02Settings& settings) {
    return SendChecked(CheckMinLaserPower(settings.texts.minLaserPower),
                       [&](std::uint8_t power) { return sensor.SetMinLP(power); });
}

WriteOutcome WriteVkt02MaxLaserPower(SensorDevice& sensor, const Vkt02Settings& settings) {
    return SendChecked(CheckMaxLaserPower(settings.texts.maxLaserPower),
                       [&](std::uint8_t power) { return sensor.SetMaxLP(power); });
}

WriteOutcome WriteVkt02Threshold(SensorDevice& sensor, const Vkt02Settings& settings) {
    return SendChecked(CheckThreshold(settings.texts.threshold),
                       [&](std::uint8_t threshold) { return sensor.SetThreshold(threshold); });
}

WriteOutcome WriteVkt02ScanInterval(SensorDevice& sensor, const Vkt02Settings& settings) {
    return WriteOutcome::Sent(
        sensor.SetScanInterval(ScanIntervalWord(settings.texts.scanInterval)));
}

WriteOutcome WriteVkt02FilterFactors(SensorDevice& sensor, const Vkt02Settings& settings) {
    const FilterFactors f = FilterFactorsFrom(settings);
    return WriteOutcome::Sent(sensor.SetFilterFactors(f.dropout, f.smooth, f.order));
}

WriteOutcome WriteVkt02Laser(SensorDevice& sensor, const Vkt02Settings& settings) {
    return WriteOutcome::Sent(settings.laserOn ? sensor.SetLaserOn() : sensor.SetLaserOff());
}

WriteOutcome WriteVkt02RangeOffset(SensorDevice& sensor, const Vkt02Settings& settings,
                                   ModelType type) {
    return SendChecked(CheckRangeOffset(settings.texts, GetRangeMode(type, settings.modeNumber)),
                       [&](const OffsetRequest& r) {
                           return sensor.SetOffset(r.rangeOffset, r.cosine, r.multiplier, r.fourth);
                       });
}

WriteOutcome WriteVkt02AnalogFactors(SensorDevice& sensor, const Vkt02Settings& settings,
                                     ModelType type) {
    return SendChecked(
        CheckAnalogFactors(settings.texts, GetRangeMode(type, settings.modeNumber)),
        [&](const AnalogOutputRecord& r) { return sensor.SetAnalogOuputFactors(r); });
}

WriteOutcome WriteVkt02AveragingPeriod(SensorDevice& sensor, const Vkt02Settings& settings,
                                       bool configRead) {
    const std::string& text = settings.texts.averagingPeriod;
    const TimingBase timing = TimingBase::Of(sensor);
    // Whether the period is refused does not depend on the record it goes into.
    Checked<ConfigRecord> record = CheckAveragingPeriod(text, sensor.Replies().configVars, timing);
    if (!record.Accepted())
        return WriteOutcome::Refused(record.refusal);
    if (!configRead) {
        if (!sensor.GetConfigVars())
            return WriteOutcome::Nothing();
        record = CheckAveragingPeriod(text, sensor.Replies().configVars, timing);
    }
    return WriteOutcome::Sent(sensor.SetConfigVars(*record.value));
}

} // namespace vk
