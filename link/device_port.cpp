// A device of the system as a Port: each operation is the backend's, and a failure keeps
// the system's reason for the port layer's error text.
#include "link/port_object.h"
#include "link/serial_backend.h"

#include <cstring>

namespace vk {

namespace {

thread_local char tFailure[kPortFailureSize] = {};

// The system's reason, taken at once: a later call of this thread may change it.
bool Checked(bool ok) {
    if (!ok)
        serial_backend::LastSystemErrorText(tFailure, sizeof tFailure);
    return ok;
}

class DevicePort final : public Port {
public:
    explicit DevicePort(SerialPort* device) : device_(device) {}
    ~DevicePort() override {
        if (device_)
            serial_backend::Close(device_);
    }

    bool Close() override {
        SerialPort* device = device_;
        device_ = nullptr;
        return Checked(serial_backend::Close(device));
    }
    bool GetState() override { return Checked(serial_backend::GetState(device_)); }
    bool SetState(const PortSettings& settings) override {
        return Checked(serial_backend::SetState(device_, settings));
    }
    bool SetupQueues(std::int32_t inputSize, std::int32_t outputSize) override {
        return Checked(serial_backend::SetupQueues(device_, inputSize, outputSize));
    }
    bool SetTimeouts(std::uint32_t readMs, std::uint32_t writeMs) override {
        return Checked(serial_backend::SetTimeouts(device_, readMs, writeMs));
    }
    bool Purge() override { return Checked(serial_backend::Purge(device_)); }
    bool PurgeInput() override { return Checked(serial_backend::PurgeInput(device_)); }
    bool ReadCall(std::uint8_t* buffer, std::size_t length, std::size_t* got) override {
        return Checked(serial_backend::ReadCall(device_, buffer, length, got));
    }
    bool WriteCall(const std::uint8_t* data, std::size_t length, std::size_t* put) override {
        return Checked(serial_backend::WriteCall(device_, data, length, put));
    }
    bool Flush() override { return Checked(serial_backend::Flush(device_)); }
    bool ReadErrorFlags(std::uint32_t* flags, std::uint32_t* inQueue) override {
        return Checked(serial_backend::ReadErrorFlags(device_, flags, inQueue));
    }
    bool Gone() const override { return device_ && serial_backend::Lost(device_); }

private:
    SerialPort* device_;
};

} // namespace

void SetPortFailure(const char* text) {
    std::strncpy(tFailure, text ? text : "", sizeof tFailure - 1);
    tFailure[sizeof tFailure - 1] = '\0';
}

const char* PortFailure() {
    return tFailure;
}

std::unique_ptr<Port> OpenDevicePort(const char* device) {
    SerialPort* opened = serial_backend::Open(device);
    if (!opened) {
        Checked(false);
        return nullptr;
    }
    return std::make_unique<DevicePort>(opened);
}

void SetNoSuchDevice() {
    serial_backend::SetNoSuchDevice();
    Checked(false);
}

} // namespace vk
