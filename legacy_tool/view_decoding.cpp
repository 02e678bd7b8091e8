#include "legacy_tool/view_decoding.h"

#include "legacy_tool/number_format.h"
#include "legacy_tool/sensor_modes.h"

namespace vk::legacy {

namespace {

constexpr std::uint16_t kCalibrated = 0x5555;
constexpr double kFullScaleLevel = 4095.0;
constexpr double kFullScaleVolts = 9.999;

std::string Word(const Bytes& reply, std::size_t k, CheckMethod m) {
    return std::to_string(PayloadWord(reply, k, m));
}

std::string Range(const Bytes& reply, std::size_t k, CheckMethod m, int mode) {
    return FormatRangeValue(PayloadWord(reply, k, m), mode);
}

} // namespace

std::string DecodeRangeReading(const Bytes& reply, CheckMethod m, int mode) {
    return Range(reply, 0, m, mode);
}

StateReadout DecodeState(const Bytes& reply, CheckMethod m, int mode) {
    StateReadout s;
    s.basePix = Word(reply, 0, m);
    s.sumPix = Word(reply, 2, m);
    s.numPix = Word(reply, 4, m);
    s.subPix = Word(reply, 6, m);
    s.range = Range(reply, 8, m, mode);
    s.scans = PayloadWord(reply, 10, m);
    s.scanCount = std::to_string(s.scans);
    s.scanning = PayloadWord(reply, 12, m) == 1;
    s.scanStatus = ScanStatusText(s.scanning);
    return s;
}

const char* ScanStatusText(bool scanning) {
    return scanning ? "Scanning" : "Not Scanning";
}

std::string DecodePeak(const Bytes& reply, CheckMethod m) {
    return Word(reply, 0, m);
}

std::string DecodeLaserPower(const Bytes& reply) {
    return std::to_string(PayloadByte(reply, 0));
}

std::string DecodeAnalogOutput(const Bytes& reply, CheckMethod m) {
    return FormatFixed(PayloadWord(reply, 20, m) / kFullScaleLevel * kFullScaleVolts, 4, 3);
}

ScanResultTexts DecodeScanResult(const Bytes& reply, CheckMethod m, int mode) {
    return {Range(reply, 0, m, mode), Word(reply, 2, m), Range(reply, 4, m, mode),
            Word(reply, 6, m), Range(reply, 8, m, mode)};
}

ErrorStateTexts DecodeErrorState(const Bytes& reply, CheckMethod m) {
    return {Word(reply, 0, m), Word(reply, 2, m), Word(reply, 4, m), Word(reply, 6, m),
            PayloadWord(reply, 8, m) == kCalibrated ? "Calibration Ok" : "Calibration Fail"};
}

} // namespace vk::legacy
