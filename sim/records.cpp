#include "sim/records.h"

#include "sim/payload_io.h"
#include "sim/scan_filter.h"

namespace vk::sim {

namespace {

// Bytes 0 to 7 of the VKT04 setup record mean nothing to the tools; a real sensor keeps
// internal flags there. Fixed values keep the records comparable from run to run.
constexpr std::uint8_t kSetupHead[8] = {0x4B, 0x56, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00};
// The VKT02 record starts with the serial number, which the older setup tool shows and
// sends back when it re-addresses the sensor.
constexpr std::size_t kSerialField = 8;

} // namespace

Payload Vkt02SetupRecord(const SensorState& s, CheckMethod method) {
    const SensorSettings& t = s.settings;
    PayloadWriter w(method);
    w.Text(s.config.serialNumber, kSerialField)
        .Byte(s.config.address)
        .Byte(static_cast<std::uint8_t>(t.rangeMode))
        .Word(0)
        .Byte(t.threshold)
        .Word(t.scanInterval)
        .Word(t.dropoutFactor)
        .Word(t.smoothFactor)
        .Word(t.orderFactor)
        .Word(t.rangeOffset)
        .Word(t.cosine)
        .Word(t.multiplier)
        .Word(t.offsetExtra)
        .Word(t.laserOn ? 1 : 0);
    return w.Take();
}

Payload Vkt04SetupRecord(const SensorState& s, CheckMethod method) {
    const SensorSettings& t = s.settings;
    PayloadWriter w(method);
    w.Raw(kSetupHead, sizeof kSetupHead)
        .Byte(t.maxLaserPower)
        .Byte(t.minLaserPower)
        .Byte(t.threshold)
        .Byte(s.config.address)
        .Word(t.analog.minRange)
        .Word(t.analog.maxRange)
        .Word(t.analog.voltsAtMinRange)
        .Word(t.analog.voltsAtMaxRange)
        .Word(t.analog.voltsOutOfRange)
        .Word(0)
        .Word(0)
        .Byte(t.holdLastValidRange)
        .Byte(static_cast<std::uint8_t>(t.rangeMode));
    return w.Take();
}

Payload AnalogFactorsRecord(const SensorState& s, CheckMethod method, Clock::time_point now) {
    const AnalogFactors& a = s.settings.analog;
    PayloadWriter w(method);
    w.Word(a.voltsAtMinRange)
        .Word(a.minRange)
        .Word(a.voltsAtMaxRange)
        .Word(a.maxRange)
        .Word(a.offsetVoltage)
        .Word(a.voltsOutOfRange)
        .Raw(a.reserved.data(), a.reserved.size())
        .Word(AnalogOutputLevel(s, now));
    return w.Take();
}

Payload ConfigRecord(const SensorState& s, CheckMethod method) {
    PayloadWriter w(method);
    for (std::uint16_t word : s.settings.configWords)
        w.Word(word);
    w.Raw(s.settings.configBytes.data(), s.settings.configBytes.size());
    return w.Take();
}

Payload WaneRecordPayload(const SensorState& s, CheckMethod method) {
    const WaneRecord& r = s.settings.wane;
    PayloadWriter w(method);
    w.Word(r.minHeight)
        .Word(r.minWidth)
        .Word(r.conveyorSpeed)
        .Raw(r.reserved.data(), r.reserved.size())
        .Word(r.pulseDurationMs);
    return w.Take();
}

Payload VersionRecord(const SensorState& s, CheckMethod method) {
    PayloadWriter w(method);
    w.Word(s.config.firmwareHundredths)
        .Byte(0)
        .Byte(0)
        .Byte(static_cast<std::uint8_t>(s.config.revision))
        .Byte(s.config.fpgaTenths);
    return w.Take();
}

Payload ErrorStateRecord(const SensorState& s, CheckMethod method) {
    const ErrorCounters& e = s.errors;
    PayloadWriter w(method);
    w.Word(e.powerUps)
        .Word(e.resets)
        .Word(e.checkErrors)
        .Word(e.commandErrors)
        .Word(e.calibrationMarker)
        .Word(e.illegalOperations);
    return w.Take();
}

namespace {

// The pixel statistics every state record starts with.
PayloadWriter& PixelFields(PayloadWriter& w, const LiveValues& v) {
    return w.Word(v.basePixel).Word(v.pixelSum).Word(v.pixelCount).Word(v.subPixel).Word(v.range);
}

} // namespace

Payload Vkt02StateRecord(const SensorState& s, CheckMethod method, Clock::time_point now) {
    PayloadWriter w(method);
    PixelFields(w, LiveAt(s, now)).Word(s.scanCount).Word(s.scanning ? 1 : 0);
    return w.Take();
}

Payload SensorStateRecord(const SensorState& s, CheckMethod method, Clock::time_point now) {
    LiveValues v = LiveAt(s, now);
    PayloadWriter w(method);
    PixelFields(w, v).Word(v.laserPower).Word(v.peak);
    return w.Take();
}

Payload BoardFlipperStateRecord(const SensorState& s, CheckMethod method, Clock::time_point now) {
    Payload record = SensorStateRecord(s, method, now);
    PayloadWriter w(method);
    for (std::uint16_t word : s.boardFlipperWords)
        w.Word(word);
    Payload tail = w.Take();
    record.insert(record.end(), tail.begin(), tail.end());
    return record;
}

Payload ScanResultRecord(const SensorState& s, CheckMethod method) {
    const ScanStatistics r = DescribeScanBuffer(s);
    PayloadWriter w(method);
    w.Word(r.highest).Word(r.highestScan).Word(r.lowest).Word(r.lowestScan).Word(r.average);
    return w.Take();
}

} // namespace vk::sim
