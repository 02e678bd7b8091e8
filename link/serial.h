#pragma once
// The serial port layer: open one COM port, apply its line settings, purge it and
// read and write bytes against a deadline. Every function reports through the
// caller's CommError and returns 1 for success, 0 for failure, unless stated.

#include "link/comm_error.h"
#include "link/port_settings.h"

#include <cstddef>
#include <cstdint>

namespace vk {

class Port; // one open port: a device of the system or a network connection (port_object.h)
using PortHandle = Port*;
inline constexpr PortHandle kInvalidPortHandle = nullptr;

// Error flags as the port reports them (the bits a driver may set).
enum CommErrorFlags : std::uint32_t {
    kCeRxOver = 0x0001,   // input overflow
    kCeOverrun = 0x0002,  // character-buffer overrun
    kCeRxParity = 0x0004, // parity error
    kCeFrame = 0x0008,    // framing error
    kCeBreak = 0x0010,    // break condition
    kCeTxFull = 0x0100,   // output buffer full
    kCeIoe = 0x0400,      // I/O error (also: the device went away)
    kCeMode = 0x8000,     // mode not supported or handle invalid
};

// Opens "COM<port number>". Returns the handle, or kInvalidPortHandle with code 6 or 7.
PortHandle sc_Open(std::uint32_t portNumber, CommError* err);
// Opens a port by name: "COMn" resolves as ResolvePortName does, an absolute path opens
// as it is, "tcp://HOST:PORT" and "rfc2217://HOST:PORT" connect to a serial device server
// (net_port_name.h) within 3 s, and any other name opens nothing (the system's reason: no
// such file). Failure: code 7, "sc_Open: could not open <name>" and the system's reason;
// a COM name is followed by the device it stood for: "... COM1 (/dev/ttyS0) (Permission
// denied)"; a network port that cannot be reached gives "sc_Open: could not connect to
// <name> (Connection refused)", and a malformed one says what is wrong with it.
PortHandle sc_OpenName(const char* name, CommError* err);
// Closes the port; the invalid handle succeeds and does nothing.
int sc_Close(PortHandle handle, CommError* err);
// Applies speed, framing, flow control, queue sizes and the two time-outs.
int sc_SetSettings(PortHandle handle, const PortSettings* settings, CommError* err);
// Drops everything queued in both directions and clears the error flags.
int sc_PurgeBuffers(PortHandle handle, CommError* err);
// Drops everything received and not read yet, and clears the error flags; what is
// being sent goes on. Code 2 for the invalid handle, 16 when the system refuses.
int sc_PurgeInput(PortHandle handle, CommError* err);
// Reads up to `length` bytes within `timeoutMs`. A short count is success; `*count`
// holds the bytes read, also on failure. May overrun the time-out by one read time-out.
int sc_Read(PortHandle handle, void* buffer, std::size_t length, std::size_t* count,
            std::uint32_t timeoutMs, CommError* err);
// Writes up to `length` bytes within `timeoutMs`, then waits until they left the port.
int sc_Write(PortHandle handle, const void* data, std::size_t length, std::size_t* count,
             std::uint32_t timeoutMs, CommError* err);

// Appends " (<system's text for the last error>)" to the record's text.
void sc_AppendSystemError(CommError* err);
// Reads (and clears) the port's error flags and turns the first one set into the record's
// code and a parenthesised description; code 16 when the flags cannot be read.
void sc_AppendCommError(CommError* err, PortHandle handle);
// Whether the high-resolution counter exists.
bool sc_HasPerformanceCounter();

// Reads and clears the error flags and the number of bytes waiting to be read.
bool sc_GetCommErrors(PortHandle handle, std::uint32_t* flags, std::uint32_t* inQueue);

// Whether the port's device has gone for good since it was opened: the adapter was pulled,
// the line hung up, the network peer closed the connection. The call that found it failed
// with its usual code and text; every later read and write fails too, until the handle is
// closed and the port opened again. False for the invalid handle, and after a time-out,
// a check error or line noise: those pass, a lost port does not.
bool sc_PortLost(PortHandle handle);

} // namespace vk
