#include "sim/sensor_state.h"

#include <algorithm>

namespace vk::sim {

namespace {

// A triangle wave: 0 up to `half` and back down over a period of 2 x `half`.
std::int64_t Triangle(std::int64_t t, std::int64_t half) {
    std::int64_t phase = t % (2 * half);
    return phase < half ? phase : 2 * half - phase;
}

} // namespace

SensorState FactoryState(const SensorConfig& config) {
    SensorState state;
    state.config = config;
    state.errors.calibrationMarker = config.calibrationMarker;
    for (std::size_t i = 0; i < kScanBufferSamples; ++i)
        state.scanBuffer[i] = ScanSample(0, i);
    state.scanCount = static_cast<std::uint16_t>(kScanBufferSamples);
    return state;
}

std::uint16_t ScanSample(std::uint16_t seed, std::size_t index) {
    // A board passing the sensor: a slow ramp up and down with a little roughness, so
    // the highest and lowest ranges fall on distinct scans.
    auto i = static_cast<std::int64_t>(index);
    std::int64_t value = 6000 + 3 * Triangle(i, 512) + (i * 7919) % 37 + (seed * 11) % 500;
    return static_cast<std::uint16_t>(value);
}

void AdvanceScan(SensorState& state, Clock::time_point now) {
    if (!state.scanning)
        return;
    auto period = std::max(state.scanPeriod, Clock::duration(1));
    auto elapsed = std::max(now - state.scanStarted, Clock::duration(0));
    auto done = static_cast<std::size_t>(
        std::min<std::int64_t>(elapsed / period, static_cast<std::int64_t>(kScanBufferSamples)));
    for (std::size_t i = state.scanCount; i < done; ++i)
        state.scanBuffer[i] = ScanSample(state.scanSeed, i);
    state.scanCount = static_cast<std::uint16_t>(std::max<std::size_t>(done, state.scanCount));
    if (done >= kScanBufferSamples)
        state.scanning = false;
}

void StartScan(SensorState& state, Clock::time_point now) {
    state.scanBuffer.assign(kScanBufferSamples, 0);
    state.scanCount = 0;
    state.scanSeed = static_cast<std::uint16_t>(state.scanSeed + 1);
    state.scanStarted = now;
    state.scanning = true;
}

void StopScan(SensorState& state, Clock::time_point now) {
    AdvanceScan(state, now);
    state.scanning = false;
}

LiveValues LiveAt(const SensorState& state, Clock::time_point now) {
    if (state.liveFrozen)
        return state.live;
    const SensorSettings& s = state.settings;
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now - state.poweredUp).count();
    ms = std::max<std::int64_t>(ms, 0);
    LiveValues v;
    // The target moves between 4000 and 6000 counts over eight seconds: slow enough to
    // read, fast enough that a live view visibly changes at every refresh.
    v.range = static_cast<std::uint16_t>(4000 + Triangle(ms, 4000) / 2);
    v.basePixel = static_cast<std::uint16_t>(100 + v.range / 50);
    v.pixelCount = static_cast<std::uint16_t>(5 + (ms / 250) % 4);
    v.pixelSum = static_cast<std::uint16_t>(v.pixelCount * (150 + (ms / 100) % 40));
    v.subPixel = static_cast<std::uint16_t>((v.range * 7) % 256);
    v.peak = static_cast<std::uint16_t>(180 + (ms / 100) % 50);
    if (s.laserOn) {
        int low = std::min(s.minLaserPower, s.maxLaserPower);
        int high = std::max(s.minLaserPower, s.maxLaserPower);
        v.laserPower = static_cast<std::uint8_t>(low + (ms / 100) % (high - low + 1));
    }
    return v;
}

std::uint16_t AnalogOutputLevel(const SensorState& state, Clock::time_point now) {
    const AnalogFactors& a = state.settings.analog;
    std::int64_t range = LiveAt(state, now).range;
    std::int64_t millivolts = a.voltsOutOfRange;
    if (a.maxRange > a.minRange && range >= a.minRange && range <= a.maxRange) {
        millivolts = a.voltsAtMinRange + (range - a.minRange) *
                                             (std::int64_t{a.voltsAtMaxRange} - a.voltsAtMinRange) /
                                             (a.maxRange - a.minRange);
    }
    millivolts = std::clamp<std::int64_t>(millivolts + a.offsetVoltage, 0, 10000);
    return static_cast<std::uint16_t>(std::min<std::int64_t>(millivolts * 4096 / 10000, 4095));
}

} // namespace vk::sim
