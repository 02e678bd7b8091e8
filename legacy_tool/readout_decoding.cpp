#include "legacy_tool/readout_decoding.h"

#include "legacy_tool/number_format.h"
#include "legacy_tool/sensor_modes.h"

namespace vk::legacy {

namespace {

std::int16_t Signed(std::uint16_t v) {
    return static_cast<std::int16_t>(v);
}

std::string Volts(std::uint16_t millivolts) {
    return FormatFixed(millivolts / 1000.0, 4, 3);
}

} // namespace

VersionTexts DecodeVersion(const Bytes& reply, CheckMethod m) {
    VersionTexts v;
    v.firmware = FormatFixed(PayloadWord(reply, 0, m) / 100.0, 3, 2);
    char letter = static_cast<char>(PayloadByte(reply, 4));
    if (letter != 0)
        v.firmware += letter;
    v.fpga = FormatFixed(PayloadByte(reply, 5) / 10.0, 4, 1);
    v.revisionC = letter == 'C';
    return v;
}

SetupFields DecodeSetup(const Bytes& reply, CheckMethod m) {
    SetupFields s;
    s.serial = PayloadText(reply, 0, 8);
    s.address = PayloadByte(reply, 8);
    s.mode = PayloadByte(reply, 9);
    s.threshold = PayloadByte(reply, 12);
    s.scanInterval = PayloadWord(reply, 13, m);
    s.dropouts = PayloadWord(reply, 15, m);
    s.smooth = PayloadWord(reply, 17, m);
    s.order = PayloadWord(reply, 19, m);
    s.rangeOffset = FormatRangeValue(Signed(PayloadWord(reply, 21, m)), s.mode);
    s.cosine = FormatFixed(PayloadWord(reply, 23, m) / 10000.0, 5, 4);
    s.multiplier = FormatFixed(PayloadWord(reply, 25, m) / 1000.0, 5, 3);
    s.laserOn = PayloadWord(reply, 29, m) == 1;
    return s;
}

AnalogTexts DecodeAnalog(const Bytes& reply, CheckMethod m, int mode) {
    AnalogTexts a;
    a.voltsAtMin = Volts(PayloadWord(reply, 0, m));
    a.minRange = FormatRangeValue(Signed(PayloadWord(reply, 2, m)), mode);
    a.voltsAtMax = Volts(PayloadWord(reply, 4, m));
    a.maxRange = FormatRangeValue(Signed(PayloadWord(reply, 6, m)), mode);
    a.offsetVoltage = Volts(PayloadWord(reply, 8, m));
    a.voltsOutside = Volts(PayloadWord(reply, 10, m));
    return a;
}

ConfigFields DecodeConfig(const Bytes& reply, CheckMethod m, const AveragingScale& scale) {
    ConfigFields c;
    auto bits =
        static_cast<std::uint32_t>(PayloadWord(reply, 4, m)) << 16 | PayloadWord(reply, 6, m);
    auto period = static_cast<std::int32_t>(bits);
    c.period = FormatFixed(static_cast<double>(period) / scale.divisor, 10, scale.decimals);
    c.configWord = PayloadWord(reply, 2, m);
    return c;
}

std::string DecodeModelName(const Bytes& reply) {
    return PayloadText(reply, 2, 16);
}

} // namespace vk::legacy
