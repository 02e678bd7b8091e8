#include "sensor/sensor_device.h"

#include <cstdio>

namespace vk {

namespace {
// Shown in a failure line when no link was set: there is no link error to quote.
constexpr const char* kNoLinkText = "no port is open";
} // namespace

bool SensorDevice::Succeeded(const char* name) {
    if (logSuccesses_ && log_) {
        std::snprintf(line_.data(), line_.size(), "Command %s completed", name);
        log_->LogMessage(line_.data(), LogIcon::Information);
    }
    return true;
}

bool SensorDevice::Failed(const char* name) {
    ++failureLines_;
    if (log_) {
        std::snprintf(line_.data(), line_.size(), "Command %s failed. %s", name,
                      link_ ? link_->ErrorText() : kNoLinkText);
        log_->LogMessage(line_.data(), LogIcon::Error);
    }
    return false;
}

bool SensorDevice::Exchange(SensorCommand command, std::uint8_t* wire, std::size_t length) {
    if (!link_ || !link_->dcs_Transact(address_, method_, command.code, nullptr, 0, wire, length))
        return Failed(command.name);
    return true;
}

bool SensorDevice::ReadWord(SensorCommand command, std::uint16_t& dest) {
    std::uint8_t wire[2] = {};
    if (!Exchange(command, wire, sizeof wire))
        return false;
    dest = GetWord(wire, method_);
    return Succeeded(command.name);
}

bool SensorDevice::ReadByte(SensorCommand command, std::uint8_t& dest) {
    std::uint8_t wire = 0;
    if (!Exchange(command, &wire, 1))
        return false;
    dest = wire;
    return Succeeded(command.name);
}

bool SensorDevice::ReadText(SensorCommand command, SensorText& dest) {
    std::array<std::uint8_t, kSensorTextSize> wire{};
    if (!Exchange(command, wire.data(), wire.size()))
        return false;
    for (std::size_t i = 0; i < wire.size(); ++i)
        dest.bytes[i] = static_cast<char>(wire[i]);
    return Succeeded(command.name);
}

void SensorDevice::ReadAcknowledgement(std::uint8_t code) {
    std::size_t length = 0;
    link_->dcs_ReceiveReply(method_, code, scratch_.data(), &length);
}

bool SensorDevice::Send(SensorCommand command, const std::uint8_t* payload, std::size_t length,
                        SendRules rules) {
    return SendTo(address_, command, payload, length, rules);
}

bool SensorDevice::SendTo(std::uint8_t address, SensorCommand command, const std::uint8_t* payload,
                          std::size_t length, SendRules rules) {
    const char* name = command.name;
    const std::uint8_t code = command.code;
    if (!link_)
        return Failed(name);
    bool sent = link_->dcs_Send(address, method_, code, payload, length);
    // The link's own pause, so a build on virtual time (the fuzz targets) never sleeps.
    if (rules.pauseMs > 0 && (sent || rules.pauseAfterFailure))
        PauseMs(static_cast<std::uint32_t>(rules.pauseMs));
    if (!sent)
        return Failed(name);
    // Reading an acknowledgement after a failed send could only cost another second.
    if (rules.ack == Ack::Always || (rules.ack == Ack::CrcOnly && method_ == CheckMethod::Crc16))
        ReadAcknowledgement(code);
    return Succeeded(name);
}

bool SensorDevice::SendWord(SensorCommand command, std::uint16_t value) {
    std::uint8_t wire[2];
    PutWord(wire, value, method_);
    return Send(command, wire, sizeof wire);
}

bool SensorDevice::SendByte(SensorCommand command, std::uint8_t value) {
    return Send(command, &value, 1);
}

int SensorDevice::BaudRateCode(std::int32_t baudRate) {
    switch (baudRate) {
    case 9600:
        return 0;
    case 19200:
        return 1;
    case 38400:
        return 2;
    case 57600:
        return 3;
    default:
        return -1;
    }
}

} // namespace vk
