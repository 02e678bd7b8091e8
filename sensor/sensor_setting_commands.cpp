// The commands that change the sensor or make it act.
#include "sensor/sensor_device.h"

#include <algorithm>

namespace vk {

bool SensorDevice::SetLaserOn() {
    const std::uint8_t payload[2] = {0xFF, 0xFF};
    return Send("SetLaserOn", 1, payload, sizeof payload, {Ack::None});
}

bool SensorDevice::SetLaserOff() {
    return Send("SetLaserOff", 2, nullptr, 0, {Ack::None});
}

bool SensorDevice::StartScan() {
    return Send("StartScan", 3, nullptr, 0, {Ack::None});
}

bool SensorDevice::StopScan() {
    return Send("StopScan", 4, nullptr, 0, {Ack::None});
}

bool SensorDevice::SetScanInterval(std::uint16_t interval) {
    return SendWord("SetScanInterval", 5, interval);
}

bool SensorDevice::ResetSensor() {
    // The sensor restarts and hears nothing for about a second.
    return Send("ResetSensor", 6, nullptr, 0, {Ack::None, 1000});
}

bool SensorDevice::SetOffset(std::uint16_t rangeOffset, std::uint16_t cosine,
                             std::uint16_t multiplier, std::uint16_t fourth) {
    std::uint8_t payload[8];
    PutWord(payload + 0, rangeOffset, method_);
    PutWord(payload + 2, cosine, method_);
    PutWord(payload + 4, multiplier, method_);
    PutWord(payload + 6, fourth, method_);
    return Send("SetOffset", 8, payload, sizeof payload);
}

bool SensorDevice::SetMode(std::uint16_t mode) {
    return SendWord("SetMode", 9, mode);
}

bool SensorDevice::SetFilterFactors(std::uint16_t dropout, std::uint16_t smooth,
                                    std::uint16_t order) {
    std::uint8_t payload[6];
    PutWord(payload + 0, dropout, method_);
    PutWord(payload + 2, smooth, method_);
    PutWord(payload + 4, order, method_);
    return Send("SetFilterFactors", 14, payload, sizeof payload);
}

bool SensorDevice::ApplyScanFilter() {
    return Send("ApplyScanFilter", 15, nullptr, 0, {Ack::None});
}

bool SensorDevice::SetSensorAddress(std::uint8_t packetAddress, std::string_view serial,
                                    std::uint8_t newAddress) {
    std::uint8_t record[9] = {};
    std::copy_n(serial.begin(), std::min<std::size_t>(serial.size(), 8), record);
    record[8] = newAddress;
    return SendTo(packetAddress, "SetSensorAddress", 18, record, sizeof record, SendRules{});
}

bool SensorDevice::SetAnalogOuputFactors(const AnalogOutputRecord& record) {
    std::uint8_t payload[AnalogOutputRecord::kSize];
    record.Encode(payload, method_);
    return Send("SetAnalogOuputFactors", 26, payload, sizeof payload);
}

bool SensorDevice::SetConfigVars(const ConfigRecord& record) {
    std::uint8_t payload[ConfigRecord::kSize];
    record.Encode(payload, method_);
    return Send("SetConfigVars", 33, payload, sizeof payload);
}

bool SensorDevice::SetVKT04Mode(std::uint8_t mode) {
    return SendByte("SetVKT04Mode", 36, mode);
}

bool SensorDevice::SetOutOfRangeMode(bool holdLastValid) {
    return SendByte("SetOutOfRangeMode", 40, holdLastValid ? 1 : 0);
}

bool SensorDevice::WriteWaneParams(const WaneRecord& record) {
    std::uint8_t payload[WaneRecord::kSize];
    record.Encode(payload, method_);
    return Send("WriteWaneParams", 46, payload, sizeof payload);
}

bool SensorDevice::SetBoardTimeout(std::uint16_t timeoutMs) {
    return SendWord("SetBoardTimeout", 48, timeoutMs);
}

bool SensorDevice::SetDefaults() {
    return Send("SetDefaults", 66, nullptr, 0, {Ack::None});
}

bool SensorDevice::SetNumHoldScans(std::uint16_t scans) {
    return SendWord("SetNumHoldScans", 67, scans);
}

bool SensorDevice::SetSensorCheckMode(CheckMethod method) {
    // The sensor numbers the methods the other way round.
    std::uint8_t mode = method == CheckMethod::Crc16 ? 0 : 1;
    return Send("SetSensorCheckMode", 77, &mode, 1, {Ack::None, 300});
}

bool SensorDevice::WriteFlashProtect1(std::uint8_t value) {
    return Send("WriteFlashProtect1", 78, &value, 1, {Ack::None, 50, true});
}

bool SensorDevice::WriteFlashProtect2(std::uint8_t value) {
    return Send("WriteFlashProtect2", 79, &value, 1, {Ack::None, 50, true});
}

bool SensorDevice::SetModelName(const SensorText& name) {
    return Send("SetModelName", 80, reinterpret_cast<const std::uint8_t*>(name.bytes.data()),
                name.bytes.size());
}

bool SensorDevice::SetSerialNum(const SensorText& serial) {
    return Send("SetSerialNum", 81, reinterpret_cast<const std::uint8_t*>(serial.bytes.data()),
                serial.bytes.size());
}

bool SensorDevice::SetThreshold(std::uint8_t threshold) {
    return SendByte("SetThreshold", 82, threshold);
}

bool SensorDevice::SetMaxLP(std::uint8_t power) {
    return SendByte("SetMaxLP", 83, power);
}

bool SensorDevice::SetMinLP(std::uint8_t power) {
    return SendByte("SetMinLP", 84, power);
}

bool SensorDevice::UploadCode() {
    return Send("UploadCode", 86, nullptr, 0, {Ack::Always});
}

bool SensorDevice::UploadFPGA() {
    return Send("UploadFPGA", 87, nullptr, 0, {Ack::Always});
}

bool SensorDevice::UploadCalibration() {
    return Send("UploadCalibration", 88, nullptr, 0, {Ack::Always});
}

bool SensorDevice::SetAnalogMinVolts(std::uint16_t millivolts) {
    return SendWord("SetAnalogMinVolts", 90, millivolts);
}

bool SensorDevice::SetAnalogMaxVolts(std::uint16_t millivolts) {
    return SendWord("SetAnalogMaxVolts", 91, millivolts);
}

bool SensorDevice::SetBaudRate(std::int32_t baudRate) {
    int code = BaudRateCode(baudRate);
    if (code < 0)
        return false;
    // The sensor takes a while to act on a new speed before it answers.
    std::uint8_t wire = static_cast<std::uint8_t>(code);
    return Send("SetBaudRate", 92, &wire, 1, {Ack::CrcOnly, 300, true});
}

bool SensorDevice::SetAnalogMinRange(std::uint16_t range) {
    return SendWord("SetAnalogMinRange", 93, range);
}

bool SensorDevice::SetAnalogMaxRange(std::uint16_t range) {
    return SendWord("SetAnalogMaxRange", 94, range);
}

bool SensorDevice::SetAnalogOutOfRange(std::uint16_t millivolts) {
    return SendWord("SetAnalogOutOfRange", 146, millivolts);
}

} // namespace vk
