// The commands that read from the sensor into the reply store.
#include "sensor/sensor_device.h"

namespace vk {

template <typename Record>
bool SensorDevice::ReadRecord(const char* name, std::uint8_t code, Record& dest) {
    std::array<std::uint8_t, Record::kSize> wire{};
    if (!Exchange(name, code, wire.data(), wire.size()))
        return false;
    dest = Record::Decode(wire.data(), method_);
    return Succeeded(name);
}

bool SensorDevice::GetModelName() {
    return ReadText("GetModelName", 127, replies_.modelName);
}

bool SensorDevice::GetSerialNum() {
    return ReadText("GetSerialNum", 128, replies_.serialNumber);
}

bool SensorDevice::GetSensorSetup() {
    return ReadRecord("GetSensorSetup", 19, replies_.sensorSetup);
}

bool SensorDevice::GetVKT04Setup() {
    return ReadRecord("GetVKT04Setup", 19, replies_.vkt04Setup);
}

bool SensorDevice::GetErrorState() {
    return ReadRecord("GetErrorState", 20, replies_.errorState);
}

bool SensorDevice::GetVKT02State() {
    return ReadRecord("GetVKT02State", 21, replies_.vkt02State);
}

bool SensorDevice::GetSensorState() {
    return ReadRecord("GetSensorState", 41, replies_.sensorState);
}

bool SensorDevice::GetBoardFlipperState() {
    // The panel that uses it shares the VKT02 state's log name.
    return ReadRecord("GetVKT02State", 41, replies_.boardFlipperState);
}

bool SensorDevice::GetAnalogFactors() {
    return ReadRecord("GetAnalogFactors", 27, replies_.analogFactors);
}

bool SensorDevice::GetVersion() {
    if (!ReadRecord("GetVersion", 30, replies_.version))
        return false;
    // Revision C firmware counts in a finer clock.
    if (replies_.version.revision == 'C') {
        ticksPerMs_ = 1000.0;
        scanQuantum_ = 1500;
        timingFormat_ = "%2.3f";
    } else {
        ticksPerMs_ = 100.0;
        scanQuantum_ = 60;
        timingFormat_ = "%2.2f";
    }
    return true;
}

bool SensorDevice::GetVKT04Version() {
    return ReadRecord("GetVKT04Version", 39, replies_.vkt04Version);
}

bool SensorDevice::GetConfigVars() {
    return ReadRecord("GetConfigVars", 32, replies_.configVars);
}

bool SensorDevice::ReadWaneParams() {
    return ReadRecord("ReadWaneParams", 47, replies_.wane);
}

bool SensorDevice::HLAScanResult() {
    return ReadRecord("HLAScanResult", 10, replies_.hlaResult);
}

bool SensorDevice::GetPeak() {
    return ReadWord("GetPeak", 38, replies_.peak);
}

bool SensorDevice::GetBoardTimeout() {
    return ReadWord("GetBoardTimeout", 49, replies_.boardTimeoutMs);
}

bool SensorDevice::GetNumHoldScans() {
    // Logged under the name the VKT04 panel has always shown for it.
    return ReadWord("GetVKT04Version", 68, replies_.numHoldScans);
}

bool SensorDevice::GetLaserPower() {
    return ReadByte("GetLaserPower", 67, replies_.laserPower);
}

bool SensorDevice::GetMaxLP() {
    return ReadByte("GetMaxLP", 129, replies_.maxLaserPower);
}

bool SensorDevice::GetMinLP() {
    return ReadByte("GetMinLP", 130, replies_.minLaserPower);
}

bool SensorDevice::GetScanBufferPortion(std::uint16_t start, std::uint16_t count) {
    constexpr const char* kName = "GetScanBufferPortion";
    constexpr std::uint8_t kCode = 11;
    if (std::uint32_t{start} + count > kScanBufferSamples)
        return false;
    // This request is low byte first in both variants.
    const std::uint8_t request[4] = {
        static_cast<std::uint8_t>(start & 0xFF), static_cast<std::uint8_t>(start >> 8),
        static_cast<std::uint8_t>(count & 0xFF), static_cast<std::uint8_t>(count >> 8)};
    if (!link_ || !link_->dcs_Send(address_, method_, kCode, request, sizeof request))
        return Failed(kName);
    Succeeded(kName);
    replies_.scanBuffer.ForgetLengths();
    for (std::size_t i = 0; i < PortionsFor(count); ++i) {
        std::size_t length = 0;
        if (!link_->dcs_ReceiveReply(method_, kCode, scratch_.data(), &length))
            return false;
        replies_.scanBuffer.StorePortion(i, scratch_.data(), length);
    }
    return true;
}

} // namespace vk
