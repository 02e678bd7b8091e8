#pragma once
// One open port behind the sc_ functions: a device of the system (device_port.cpp, on the
// backend of serial_backend.h) or a connection to a serial device server (net_port.cpp).
// Each operation is one step of the port layer; false leaves the reason for
// sc_AppendSystemError with SetPortFailure. The port layer owns and deletes the object.

#include "link/port_settings.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vk {

class Port {
public:
    virtual ~Port() = default;
    // Releases the port; false when the system refused (the object is deleted anyway).
    virtual bool Close() = 0;
    virtual bool GetState() = 0;
    virtual bool SetState(const PortSettings& settings) = 0;
    virtual bool SetupQueues(std::int32_t inputSize, std::int32_t outputSize) = 0;
    virtual bool SetTimeouts(std::uint32_t readMs, std::uint32_t writeMs) = 0;
    // Drops what is queued in both directions.
    virtual bool Purge() = 0;
    // Drops what was received and not read yet; what is being sent goes on.
    virtual bool PurgeInput() = 0;
    // One read call: returns when `length` bytes came or the port's read time-out has
    // passed since the call began. False when the port failed or went away.
    virtual bool ReadCall(std::uint8_t* buffer, std::size_t length, std::size_t* got) = 0;
    // One write call, bounded by the port's write time-out.
    virtual bool WriteCall(const std::uint8_t* data, std::size_t length, std::size_t* put) = 0;
    virtual bool Flush() = 0;
    // Reads and clears the error flags (CommErrorFlags), and the bytes waiting to be read.
    virtual bool ReadErrorFlags(std::uint32_t* flags, std::uint32_t* inQueue) = 0;
    // Whether a call found the port gone for good (a device pulled or hung up, a connection
    // the server closed or reset); nothing clears it but closing.
    virtual bool Gone() const = 0;
};

inline constexpr std::size_t kPortFailureSize = 256;

// The reason of this thread's last failed port operation: `text` ("" for none) is kept
// until the next failure; sc_AppendSystemError quotes it.
void SetPortFailure(const char* text);
const char* PortFailure();

// Opens a device of the system (the backend of serial_backend.h). Null on failure, with
// the system's reason kept by SetPortFailure.
std::unique_ptr<Port> OpenDevicePort(const char* device);
// Keeps the system's "no such file or device" as the reason of the last failure.
void SetNoSuchDevice();

} // namespace vk
