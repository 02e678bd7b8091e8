// The commands that change the sensor or make it act.
#include "sensor/sensor_device.h"

#include <algorithm>

namespace vk {

bool SensorDevice::SetLaserOn() {
    const std::uint8_t payload[2] = {0xFF, 0xFF};
    return Send(cmd::SetLaserOn, payload, sizeof payload, {Ack::None});
}

bool SensorDevice::SetLaserOff() {
    return Send(cmd::SetLaserOff, nullptr, 0, {Ack::None});
}

bool SensorDevice::StartScan() {
    return Send(cmd::StartScan, nullptr, 0, {Ack::None});
}

bool SensorDevice::StopScan() {
    return Send(cmd::StopScan, nullptr, 0, {Ack::None});
}

bool SensorDevice::SetScanInterval(std::uint16_t interval) {
    return SendWord(cmd::SetScanInterval, interval);
}

bool SensorDevice::ResetSensor() {
    // The sensor restarts and hears nothing for about a second.
    return Send(cmd::ResetSensor, nullptr, 0, {Ack::None, 1000});
}

bool SensorDevice::SetOffset(std::uint16_t rangeOffset, std::uint16_t cosine,
                             std::uint16_t multiplier, std::uint16_t fourth) {
    std::uint8_t payload[8];
    PutWord(payload + 0, rangeOffset, method_);
    PutWord(payload + 2, cosine, method_);
    PutWord(payload + 4, multiplier, method_);
    PutWord(payload + 6, fourth, method_);
    return Send(cmd::SetOffset, payload, sizeof payload);
}

bool SensorDevice::SetMode(std::uint16_t mode) {
    return SendWord(cmd::SetMode, mode);
}

bool SensorDevice::SetFilterFactors(std::uint16_t dropout, std::uint16_t smooth,
                                    std::uint16_t order) {
    std::uint8_t payload[6];
    PutWord(payload + 0, dropout, method_);
    PutWord(payload + 2, smooth, method_);
    PutWord(payload + 4, order, method_);
    return Send(cmd::SetFilterFactors, payload, sizeof payload);
}

bool SensorDevice::ApplyScanFilter() {
    return Send(cmd::ApplyScanFilter, nullptr, 0, {Ack::None});
}

bool SensorDevice::SetSensorAddress(std::uint8_t packetAddress, std::string_view serial,
                                    std::uint8_t newAddress) {
    std::uint8_t record[9] = {};
    std::copy_n(serial.begin(), std::min<std::size_t>(serial.size(), 8), record);
    record[8] = newAddress;
    return SendTo(packetAddress, cmd::SetSensorAddress, record, sizeof record, SendRules{});
}

bool SensorDevice::SetAnalogOuputFactors(const AnalogOutputRecord& record) {
    std::uint8_t payload[AnalogOutputRecord::kSize];
    record.Encode(payload, method_);
    return Send(cmd::SetAnalogOuputFactors, payload, sizeof payload);
}

bool SensorDevice::SetConfigVars(const ConfigRecord& record) {
    std::uint8_t payload[ConfigRecord::kSize];
    record.Encode(payload, method_);
    return Send(cmd::SetConfigVars, payload, sizeof payload);
}

bool SensorDevice::SetVKT04Mode(std::uint8_t mode) {
    return SendByte(cmd::SetVKT04Mode, mode);
}

bool SensorDevice::SetOutOfRangeMode(bool holdLastValid) {
    return SendByte(cmd::SetOutOfRangeMode, holdLastValid ? 1 : 0);
}

bool SensorDevice::WriteWaneParams(const WaneRecord& record) {
    std::uint8_t payload[WaneRecord::kSize];
    record.Encode(payload, method_);
    return Send(cmd::WriteWaneParams, payload, sizeof payload);
}

bool SensorDevice::SetBoardTimeout(std::uint16_t timeoutMs) {
    return SendWord(cmd::SetBoardTimeout, timeoutMs);
}

bool SensorDevice::SetDefaults() {
    return Send(cmd::SetDefaults, nullptr, 0, {Ack::None});
}

bool SensorDevice::SetNumHoldScans(std::uint16_t scans) {
    return SendWord(cmd::SetNumHoldScans, scans);
}

bool SensorDevice::SetSensorCheckMode(CheckMethod method) {
    // The sensor numbers the methods the other way round.
    std::uint8_t mode = method == CheckMethod::Crc16 ? 0 : 1;
    return Send(cmd::SetSensorCheckMode, &mode, 1, {Ack::None, 300});
}

bool SensorDevice::WriteFlashProtect1(std::uint8_t value) {
    return Send(cmd::WriteFlashProtect1, &value, 1, {Ack::None, 50, true});
}

bool SensorDevice::WriteFlashProtect2(std::uint8_t value) {
    return Send(cmd::WriteFlashProtect2, &value, 1, {Ack::None, 50, true});
}

bool SensorDevice::SetModelName(const SensorText& name) {
    return Send(cmd::SetModelName, reinterpret_cast<const std::uint8_t*>(name.bytes.data()),
                name.bytes.size());
}

bool SensorDevice::SetSerialNum(const SensorText& serial) {
    return Send(cmd::SetSerialNum, reinterpret_cast<const std::uint8_t*>(serial.bytes.data()),
                serial.bytes.size());
}

bool SensorDevice::SetThreshold(std::uint8_t threshold) {
    return SendByte(cmd::SetThreshold, threshold);
}

bool SensorDevice::SetMaxLP(std::uint8_t power) {
    return SendByte(cmd::SetMaxLP, power);
}

bool SensorDevice::SetMinLP(std::uint8_t power) {
    return SendByte(cmd::SetMinLP, power);
}

bool SensorDevice::UploadCode() {
    return Send(cmd::UploadCode, nullptr, 0, {Ack::Always});
}

bool SensorDevice::UploadFPGA() {
    return Send(cmd::UploadFPGA, nullptr, 0, {Ack::Always});
}

bool SensorDevice::UploadCalibration() {
    return Send(cmd::UploadCalibration, nullptr, 0, {Ack::Always});
}

bool SensorDevice::SetAnalogMinVolts(std::uint16_t millivolts) {
    return SendWord(cmd::SetAnalogMinVolts, millivolts);
}

bool SensorDevice::SetAnalogMaxVolts(std::uint16_t millivolts) {
    return SendWord(cmd::SetAnalogMaxVolts, millivolts);
}

bool SensorDevice::SetBaudRate(std::int32_t baudRate) {
    int code = BaudRateCode(baudRate);
    if (code < 0)
        return false;
    // The sensor takes a while to act on a new speed before it answers.
    std::uint8_t wire = static_cast<std::uint8_t>(code);
    return Send(cmd::SetBaudRate, &wire, 1, {Ack::CrcOnly, 300, true});
}

bool SensorDevice::SetAnalogMinRange(std::uint16_t range) {
    return SendWord(cmd::SetAnalogMinRange, range);
}

bool SensorDevice::SetAnalogMaxRange(std::uint16_t range) {
    return SendWord(cmd::SetAnalogMaxRange, range);
}

bool SensorDevice::SetAnalogOutOfRange(std::uint16_t millivolts) {
    return SendWord(cmd::SetAnalogOutOfRange, millivolts);
}

} // namespace vk
