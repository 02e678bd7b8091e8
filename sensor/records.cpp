#include "sensor/records.h"

#include <algorithm>

namespace vk {

namespace {

// Reads fields of one payload in the method's byte order.
class WireIn {
public:
    WireIn(const std::uint8_t* wire, CheckMethod method) : wire_(wire), method_(method) {}
    std::uint16_t Word(std::size_t offset) const { return GetWord(wire_ + offset, method_); }
    std::uint8_t Byte(std::size_t offset) const { return wire_[offset]; }
    template <std::size_t N> std::array<std::uint8_t, N> Bytes(std::size_t offset) const {
        std::array<std::uint8_t, N> out{};
        std::copy_n(wire_ + offset, N, out.begin());
        return out;
    }

private:
    const std::uint8_t* wire_;
    CheckMethod method_;
};

// Writes fields of one payload in the method's byte order.
class WireOut {
public:
    WireOut(std::uint8_t* wire, CheckMethod method) : wire_(wire), method_(method) {}
    void Word(std::size_t offset, std::uint16_t value) { PutWord(wire_ + offset, value, method_); }
    void Byte(std::size_t offset, std::uint8_t value) { wire_[offset] = value; }
    template <std::size_t N> void Bytes(std::size_t offset, const std::array<std::uint8_t, N>& v) {
        std::copy(v.begin(), v.end(), wire_ + offset);
    }

private:
    std::uint8_t* wire_;
    CheckMethod method_;
};

SensorStateRecord DecodeSensorState(const WireIn& in) {
    SensorStateRecord r;
    r.basePixel = in.Word(0);
    r.pixelSum = in.Word(2);
    r.pixelCount = in.Word(4);
    r.subPixel = in.Word(6);
    r.range = in.Word(8);
    r.laserPower = in.Word(10);
    r.peak = in.Word(12);
    return r;
}

} // namespace

Vkt02SetupRecord Vkt02SetupRecord::Decode(const std::uint8_t* wire, CheckMethod method) {
    WireIn in(wire, method);
    Vkt02SetupRecord r;
    r.leading = in.Bytes<8>(0);
    r.address = in.Byte(8);
    r.rangeMode = in.Byte(9);
    r.word10 = in.Word(10);
    r.threshold = in.Byte(12);
    r.scanInterval = static_cast<std::int16_t>(in.Word(13));
    r.dropoutFactor = in.Word(15);
    r.smoothFactor = in.Word(17);
    r.orderFactor = in.Word(19);
    r.rangeOffset = in.Word(21);
    r.cosine = in.Word(23);
    r.multiplier = in.Word(25);
    r.word27 = in.Word(27);
    r.laserState = in.Word(29);
    return r;
}

void Vkt02SetupRecord::Encode(std::uint8_t* wire, CheckMethod method) const {
    WireOut out(wire, method);
    out.Bytes(0, leading);
    out.Byte(8, address);
    out.Byte(9, rangeMode);
    out.Word(10, word10);
    out.Byte(12, threshold);
    out.Word(13, static_cast<std::uint16_t>(scanInterval));
    out.Word(15, dropoutFactor);
    out.Word(17, smoothFactor);
    out.Word(19, orderFactor);
    out.Word(21, rangeOffset);
    out.Word(23, cosine);
    out.Word(25, multiplier);
    out.Word(27, word27);
    out.Word(29, laserState);
}

Vkt04SetupRecord Vkt04SetupRecord::Decode(const std::uint8_t* wire, CheckMethod method) {
    WireIn in(wire, method);
    Vkt04SetupRecord r;
    r.leading = in.Bytes<8>(0);
    r.maxLaserPower = in.Byte(8);
    r.minLaserPower = in.Byte(9);
    r.threshold = in.Byte(10);
    r.address = in.Byte(11);
    r.analogMinRange = in.Word(12);
    r.analogMaxRange = in.Word(14);
    r.voltsAtMinRange = in.Word(16);
    r.voltsAtMaxRange = in.Word(18);
    r.voltsOutOfRange = in.Word(20);
    r.word22 = in.Word(22);
    r.word24 = in.Word(24);
    r.holdLastValidRange = in.Byte(26);
    r.rangeMode = in.Byte(27);
    return r;
}

void Vkt04SetupRecord::Encode(std::uint8_t* wire, CheckMethod method) const {
    WireOut out(wire, method);
    out.Bytes(0, leading);
    out.Byte(8, maxLaserPower);
    out.Byte(9, minLaserPower);
    out.Byte(10, threshold);
    out.Byte(11, address);
    out.Word(12, analogMinRange);
    out.Word(14, analogMaxRange);
    out.Word(16, voltsAtMinRange);
    out.Word(18, voltsAtMaxRange);
    out.Word(20, voltsOutOfRange);
    out.Word(22, word22);
    out.Word(24, word24);
    out.Byte(26, holdLastValidRange);
    out.Byte(27, rangeMode);
}

AnalogFactorsRecord AnalogFactorsRecord::Decode(const std::uint8_t* wire, CheckMethod method) {
    WireIn in(wire, method);
    AnalogFactorsRecord r;
    r.voltsAtMinRange = in.Word(0);
    r.minRange = in.Word(2);
    r.voltsAtMaxRange = in.Word(4);
    r.maxRange = in.Word(6);
    r.offsetVoltage = in.Word(8);
    r.voltsOutOfRange = in.Word(10);
    r.unconverted = in.Bytes<8>(12);
    r.outputLevel = in.Word(20);
    return r;
}

void AnalogFactorsRecord::Encode(std::uint8_t* wire, CheckMethod method) const {
    WireOut out(wire, method);
    out.Word(0, voltsAtMinRange);
    out.Word(2, minRange);
    out.Word(4, voltsAtMaxRange);
    out.Word(6, maxRange);
    out.Word(8, offsetVoltage);
    out.Word(10, voltsOutOfRange);
    out.Bytes(12, unconverted);
    out.Word(20, outputLevel);
}

void AnalogOutputRecord::Encode(std::uint8_t* wire, CheckMethod method) const {
    std::fill_n(wire, kSize, std::uint8_t{0});
    WireOut out(wire, method);
    out.Word(0, voltsAtMinRange);
    out.Word(2, minRange);
    out.Word(4, voltsAtMaxRange);
    out.Word(6, maxRange);
    out.Word(8, offsetVoltage);
    out.Word(10, voltsOutOfRange);
}

std::uint32_t ConfigRecord::AveragingCount() const {
    return (std::uint32_t{words[2]} << 16) | words[3];
}

void ConfigRecord::SetAveragingCountForSet(std::uint32_t count) {
    words[2] = static_cast<std::uint16_t>(count & 0xFFFF);
    words[3] = static_cast<std::uint16_t>(count >> 16);
}

ConfigRecord ConfigRecord::Decode(const std::uint8_t* wire, CheckMethod method) {
    WireIn in(wire, method);
    ConfigRecord r;
    for (std::size_t i = 0; i < r.words.size(); ++i)
        r.words[i] = in.Word(2 * i);
    r.bytes = in.Bytes<2>(8);
    return r;
}

void ConfigRecord::Encode(std::uint8_t* wire, CheckMethod method) const {
    WireOut out(wire, method);
    for (std::size_t i = 0; i < words.size(); ++i)
        out.Word(2 * i, words[i]);
    out.Bytes(8, bytes);
}

WaneRecord WaneRecord::Decode(const std::uint8_t* wire, CheckMethod method) {
    WireIn in(wire, method);
    WaneRecord r;
    r.minWaneHeight = in.Word(0);
    r.minWaneWidth = in.Word(2);
    r.conveyerSpeed = in.Word(4);
    r.unconverted = in.Bytes<4>(6);
    r.pulseDurationMs = in.Word(10);
    return r;
}

void WaneRecord::Encode(std::uint8_t* wire, CheckMethod method) const {
    WireOut out(wire, method);
    out.Word(0, minWaneHeight);
    out.Word(2, minWaneWidth);
    out.Word(4, conveyerSpeed);
    out.Bytes(6, unconverted);
    out.Word(10, pulseDurationMs);
}

VersionRecord VersionRecord::Decode(const std::uint8_t* wire, CheckMethod method) {
    WireIn in(wire, method);
    VersionRecord r;
    r.firmwareHundredths = in.Word(0);
    r.unconverted = in.Bytes<2>(2);
    r.revision = static_cast<char>(in.Byte(4));
    r.fpgaTenths = in.Byte(5);
    return r;
}

void VersionRecord::Encode(std::uint8_t* wire, CheckMethod method) const {
    WireOut out(wire, method);
    out.Word(0, firmwareHundredths);
    out.Bytes(2, unconverted);
    out.Byte(4, static_cast<std::uint8_t>(revision));
    out.Byte(5, fpgaTenths);
}

ErrorStateRecord ErrorStateRecord::Decode(const std::uint8_t* wire, CheckMethod method) {
    WireIn in(wire, method);
    ErrorStateRecord r;
    r.powerUpCount = in.Word(0);
    r.resetCount = in.Word(2);
    r.checkErrorCount = in.Word(4);
    r.commandErrorCount = in.Word(6);
    r.calibrationMarker = in.Word(8);
    r.illegalOperationCount = in.Word(10);
    return r;
}

Vkt02StateRecord Vkt02StateRecord::Decode(const std::uint8_t* wire, CheckMethod method) {
    WireIn in(wire, method);
    Vkt02StateRecord r;
    r.basePixel = in.Word(0);
    r.pixelSum = in.Word(2);
    r.pixelCount = in.Word(4);
    r.subPixel = in.Word(6);
    r.range = in.Word(8);
    r.scanCount = in.Word(10);
    r.scanning = in.Word(12);
    return r;
}

SensorStateRecord SensorStateRecord::Decode(const std::uint8_t* wire, CheckMethod method) {
    return DecodeSensorState(WireIn(wire, method));
}

BoardFlipperStateRecord BoardFlipperStateRecord::Decode(const std::uint8_t* wire,
                                                        CheckMethod method) {
    WireIn in(wire, method);
    BoardFlipperStateRecord r;
    r.state = DecodeSensorState(in);
    for (std::size_t i = 0; i < r.extraWords.size(); ++i)
        r.extraWords[i] = in.Word(SensorStateRecord::kSize + 2 * i);
    return r;
}

HlaResultRecord HlaResultRecord::Decode(const std::uint8_t* wire, CheckMethod method) {
    WireIn in(wire, method);
    HlaResultRecord r;
    r.highestRange = in.Word(0);
    r.highestRangeScan = in.Word(2);
    r.lowestRange = in.Word(4);
    r.lowestRangeScan = in.Word(6);
    r.averageRange = in.Word(8);
    return r;
}

} // namespace vk
