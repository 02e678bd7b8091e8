// The commands that read from the sensor into the reply store.
#include "sensor/sensor_device.h"

namespace vk {

template <typename Record> bool SensorDevice::ReadRecord(SensorCommand command, Record& dest) {
    std::array<std::uint8_t, Record::kSize> wire{};
    if (!Exchange(command, wire.data(), wire.size()))
        return false;
    dest = Record::Decode(wire.data(), method_);
    return Succeeded(command.name);
}

bool SensorDevice::GetModelName() {
    return ReadText(cmd::GetModelName, replies_.modelName);
}

bool SensorDevice::GetSerialNum() {
    return ReadText(cmd::GetSerialNum, replies_.serialNumber);
}

bool SensorDevice::GetSensorSetup() {
    return ReadRecord(cmd::GetSensorSetup, replies_.sensorSetup);
}

bool SensorDevice::GetVKT04Setup() {
    return ReadRecord(cmd::GetVKT04Setup, replies_.vkt04Setup);
}

bool SensorDevice::GetErrorState() {
    return ReadRecord(cmd::GetErrorState, replies_.errorState);
}

bool SensorDevice::GetVKT02State() {
    return ReadRecord(cmd::GetVKT02State, replies_.vkt02State);
}

bool SensorDevice::GetSensorState() {
    return ReadRecord(cmd::GetSensorState, replies_.sensorState);
}

bool SensorDevice::GetBoardFlipperState() {
    // The panel that uses it shares the VKT02 state's log name.
    return ReadRecord({cmd::GetBoardFlipperState.code, cmd::GetVKT02State.name},
                      replies_.boardFlipperState);
}

bool SensorDevice::GetAnalogFactors() {
    return ReadRecord(cmd::GetAnalogFactors, replies_.analogFactors);
}

bool SensorDevice::GetVersion() {
    if (!ReadRecord(cmd::GetVersion, replies_.version))
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
    return ReadRecord(cmd::GetVKT04Version, replies_.vkt04Version);
}

bool SensorDevice::GetConfigVars() {
    return ReadRecord(cmd::GetConfigVars, replies_.configVars);
}

bool SensorDevice::ReadWaneParams() {
    return ReadRecord(cmd::ReadWaneParams, replies_.wane);
}

bool SensorDevice::HLAScanResult() {
    return ReadRecord(cmd::HLAScanResult, replies_.hlaResult);
}

bool SensorDevice::GetPeak() {
    return ReadWord(cmd::GetPeak, replies_.peak);
}

bool SensorDevice::GetBoardTimeout() {
    return ReadWord(cmd::GetBoardTimeout, replies_.boardTimeoutMs);
}

bool SensorDevice::GetNumHoldScans() {
    // Logged under the name the VKT04 panel has always shown for it.
    return ReadWord({cmd::GetNumHoldScans.code, cmd::GetVKT04Version.name}, replies_.numHoldScans);
}

bool SensorDevice::GetLaserPower() {
    return ReadByte(cmd::GetLaserPower, replies_.laserPower);
}

bool SensorDevice::GetMaxLP() {
    return ReadByte(cmd::GetMaxLP, replies_.maxLaserPower);
}

bool SensorDevice::GetMinLP() {
    return ReadByte(cmd::GetMinLP, replies_.minLaserPower);
}

bool SensorDevice::GetScanBufferPortion(std::uint16_t start, std::uint16_t count) {
    constexpr const char* kName = cmd::GetScanBufferPortion.name;
    constexpr std::uint8_t kCode = cmd::GetScanBufferPortion.code;
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
