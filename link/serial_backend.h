#pragma once
// What the portable half of the port layer needs from the operating system for a
// device (device_port.cpp makes it a Port). One implementation per system
// (serial_posix.cpp, serial_win.cpp). Each function leaves the system's error code where
// LastSystemErrorText finds it on failure.

#include "link/serial.h"

namespace vk {
struct SerialPort; // one open device; the system's part lives in serial_<os>.cpp
}

namespace vk::serial_backend {

// Here a handle is the device's own object, not the port layer's.
using PortHandle = SerialPort*;
inline constexpr PortHandle kInvalidPortHandle = nullptr;

PortHandle Open(const char* device);
// Leaves the system's "no such file or device" error where LastSystemErrorText finds it,
// for a name the port layer refuses without asking the system.
void SetNoSuchDevice();
bool Close(PortHandle handle);
// Returns false and leaves the system error when the device refuses the settings.
bool GetState(PortHandle handle);
bool SetState(PortHandle handle, const PortSettings& settings);
bool SetupQueues(PortHandle handle, std::int32_t inputSize, std::int32_t outputSize);
bool SetTimeouts(PortHandle handle, std::uint32_t readMs, std::uint32_t writeMs);
bool Purge(PortHandle handle);
// Drops what was received and not read yet; what is being sent goes on.
bool PurgeInput(PortHandle handle);
// One read call: returns when `length` bytes came or the port's read time-out has
// passed since the call began. False when the device failed or went away.
bool ReadCall(PortHandle handle, std::uint8_t* buffer, std::size_t length, std::size_t* got);
// One write call, bounded by the port's write time-out.
bool WriteCall(PortHandle handle, const std::uint8_t* data, std::size_t length, std::size_t* put);
bool Flush(PortHandle handle);
bool ReadErrorFlags(PortHandle handle, std::uint32_t* flags, std::uint32_t* inQueue);
// Whether a call on `handle` found its device gone for good. Every call above that fails
// because of it (a hang-up, EIO/ENXIO/ENODEV, or what a pulled adapter's driver answers)
// marks the port lost before it returns false, and nothing
// clears the mark until Close. A time-out, a refused setting or line noise never marks it.
bool Lost(PortHandle handle);
// The system's message for the calling thread's last error ("" when it has none).
void LastSystemErrorText(char* out, std::size_t size);

} // namespace vk::serial_backend
