// The portable half of the port layer: argument checks, error texts and the
// deadline loop around the operating system's single read and write calls.
#include "link/serial.h"

#include "link/deadline_timer.h"
#include "link/net_port.h"
#include "link/net_port_name.h"
#include "link/port_names.h"
#include "link/port_names_os.h"
#include "link/port_object.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace vk {

bool sc_HasPerformanceCounter() {
    std::uint64_t now = 0;
    return PerformanceFrequency() != 0 && ReadPerformanceCounter(&now);
}

void sc_AppendSystemError(CommError* err) {
    AppendParenthesised(err, PortFailure());
}

namespace {

struct FlagDescription {
    std::uint32_t flag;
    std::int32_t code;
    const char* text;
};

// Checked in this order; the first flag set names the error.
constexpr FlagDescription kFlagDescriptions[] = {
    {kCeBreak, kErrBreak, "The hardware detected a break condition."},
    {kCeFrame, kErrFraming, "The hardware detected a framing error."},
    {kCeIoe, kErrIo, "An I/O error occurred during communications with the device."},
    {kCeMode, kErrMode, "The requested mode is not supported, or the comm handle is invalid."},
    {kCeOverrun, kErrOverrun,
     "A character-buffer overrun has occurred. The next character is lost."},
    {kCeRxOver, kErrInputOverflow,
     "An input buffer overflow has occurred, or a character was received after EOF."},
    {kCeRxParity, kErrParity, "The hardware detected a parity error."},
    {kCeTxFull, kErrOutputFull,
     "The application tried to transmit a character, but the output buffer was full."},
};

constexpr const char* kUnknownCommError = "An unknown error code was returned by ClearComError";

} // namespace

void sc_AppendCommError(CommError* err, PortHandle handle) {
    std::uint32_t flags = 0, inQueue = 0;
    if (!handle->ReadErrorFlags(&flags, &inQueue)) {
        err->code = kErrSystemCall;
        sc_AppendSystemError(err);
        return;
    }
    const char* description = kUnknownCommError;
    err->code = kErrUnknownCommError;
    for (const auto& d : kFlagDescriptions) {
        if (flags & d.flag) {
            err->code = d.code;
            description = d.text;
            break;
        }
    }
    AppendParenthesised(err, description);
}

bool sc_GetCommErrors(PortHandle handle, std::uint32_t* flags, std::uint32_t* inQueue) {
    if (handle == kInvalidPortHandle || !flags || !inQueue)
        return false;
    return handle->ReadErrorFlags(flags, inQueue);
}

bool sc_PortLost(PortHandle handle) {
    return handle != kInvalidPortHandle && handle->Gone();
}

PortHandle sc_Open(std::uint32_t portNumber, CommError* err) {
    char name[16];
    std::snprintf(name, sizeof name, "COM%u", portNumber);
    return sc_OpenName(name, err);
}

namespace {

// A port of a serial device server: a name that does not parse says what is wrong with
// it; a server that cannot be reached gives the system's or the server's reason.
PortHandle OpenNetworkPortName(const std::string& name, CommError* err) {
    std::string problem;
    std::optional<NetPortName> parsed = ParseNetworkPortName(name, &problem);
    if (!parsed) {
        SetCommError(err, kErrOpenFailed, "sc_Open: could not open %s", name.c_str());
        AppendParenthesised(err, problem.c_str());
        return kInvalidPortHandle;
    }
    std::string reason;
    std::unique_ptr<Port> port = OpenNetworkPort(*parsed, &reason);
    if (!port) {
        SetCommError(err, kErrOpenFailed, "sc_Open: could not connect to %s", name.c_str());
        AppendParenthesised(err, reason.c_str());
    }
    return port.release();
}

} // namespace

PortHandle sc_OpenName(const char* name, CommError* err) {
    if (!sc_HasPerformanceCounter()) {
        SetCommError(err, kErrNoPerformanceCounter,
                     "sc_Open: no high-performance counter available.");
        return kInvalidPortHandle;
    }
    const std::string given = name ? name : "";
    if (IsNetworkPortName(given))
        return OpenNetworkPortName(given, err);
    std::unique_ptr<Port> port;
    // Only a COM name or an absolute path names a port; a relative path would depend on
    // the working folder, so it opens nothing, like a port that is not there.
    if (ComNumber(given) || std::filesystem::path(given).is_absolute())
        port = OpenDevicePort(ResolvePortName(given).c_str());
    else
        SetNoSuchDevice();
    if (!port) {
        // A COM name says which device it stood for, so a technician sees what was tried.
        SetCommError(err, kErrOpenFailed, "sc_Open: could not open %s",
                     PortNameWithDevice(given).c_str());
        sc_AppendSystemError(err);
    }
    return port.release();
}

int sc_Close(PortHandle handle, CommError* err) {
    if (handle == kInvalidPortHandle)
        return 1;
    const bool closed = handle->Close();
    delete handle;
    if (!closed) {
        SetCommError(err, kErrSystemCall, "sc_Close: could not close port handle");
        sc_AppendSystemError(err);
        return 0;
    }
    return 1;
}

int sc_SetSettings(PortHandle handle, const PortSettings* settings, CommError* err) {
    if (handle == kInvalidPortHandle || !settings) {
        SetCommError(err, kErrInvalidArgument, "sc_SetSettings: an invalid argument was passed.");
        return 0;
    }
    auto failed = [err](const char* what) {
        SetCommError(err, kErrSystemCall, "sc_SetSettings: %s failed", what);
        sc_AppendSystemError(err);
        return 0;
    };
    if (!handle->GetState())
        return failed("GetCommState");
    if (!handle->SetState(*settings))
        return failed("SetCommState");
    if (!handle->SetupQueues(settings->inputQueueSize, settings->outputQueueSize))
        return failed("SetupComm");
    if (!handle->SetTimeouts(static_cast<std::uint32_t>(settings->readTimeoutMs),
                             static_cast<std::uint32_t>(settings->writeTimeoutMs)))
        return failed("SetCommTimeouts");
    return 1;
}

namespace {

// A purge of the directions `purge` drops, then the error flags read and thrown away,
// which also clears a port that an error halted.
int PurgeWith(PortHandle handle, CommError* err, const char* name, bool (Port::*purge)()) {
    if (handle == kInvalidPortHandle) {
        SetCommError(err, kErrInvalidArgument, "%s: an invalid argument was passed.", name);
        return 0;
    }
    if (!(handle->*purge)()) {
        SetCommError(err, kErrSystemCall, "%s: PurgeComm failed", name);
        sc_AppendSystemError(err);
        return 0;
    }
    std::uint32_t flags = 0, inQueue = 0;
    if (!handle->ReadErrorFlags(&flags, &inQueue)) {
        SetCommError(err, kErrSystemCall, "%s: ClearCommError failed", name);
        sc_AppendSystemError(err);
        return 0;
    }
    return 1;
}

} // namespace

int sc_PurgeBuffers(PortHandle handle, CommError* err) {
    return PurgeWith(handle, err, "sc_PurgeBuffers", &Port::Purge);
}

int sc_PurgeInput(PortHandle handle, CommError* err) {
    return PurgeWith(handle, err, "sc_PurgeInput", &Port::PurgeInput);
}

namespace {

// The deadline loop shared by sc_Read and sc_Write: one call for the bytes still
// missing, repeated until all came or the deadline passed. The deadline is checked
// only after a call returns, so the first call always happens.
template <typename Buffer, typename Call>
int TransferWithin(PortHandle handle, Buffer buffer, std::size_t length, std::size_t* count,
                   std::uint32_t timeoutMs, CommError* err, const char* failText, Call call) {
    DeadlineTimer timer;
    timer.Start(std::uint64_t{timeoutMs} * 1000);
    std::size_t done = 0;
    for (;;) {
        std::size_t moved = 0;
        if (!(handle->*call)(buffer + done, length - done, &moved)) {
            *count = done + moved;
            SetCommError(err, kErrUnknownCommError, "%s", failText);
            sc_AppendCommError(err, handle);
            return 0;
        }
        done += moved;
        if (done >= length || timer.RemainingTicks() == 0)
            break;
    }
    *count = done;
    return 1;
}

} // namespace

int sc_Read(PortHandle handle, void* buffer, std::size_t length, std::size_t* count,
            std::uint32_t timeoutMs, CommError* err) {
    if (count)
        *count = 0;
    if (!buffer || !count || handle == kInvalidPortHandle) {
        SetCommError(err, kErrInvalidArgument, "sc_Read: an invalid argument was passed.");
        return 0;
    }
    if (length == 0)
        return 1;
    return TransferWithin(handle, static_cast<std::uint8_t*>(buffer), length, count, timeoutMs, err,
                          "::sc_Read ReadFile failed", &Port::ReadCall);
}

int sc_Write(PortHandle handle, const void* data, std::size_t length, std::size_t* count,
             std::uint32_t timeoutMs, CommError* err) {
    if (count)
        *count = 0;
    if (!data || !count || handle == kInvalidPortHandle) {
        SetCommError(err, kErrInvalidArgument, "sc_Write: an invalid argument was passed.");
        return 0;
    }
    if (length == 0)
        return 1;
    if (!TransferWithin(handle, static_cast<const std::uint8_t*>(data), length, count, timeoutMs,
                        err, "::sc_Write WriteFile failed", &Port::WriteCall))
        return 0;
    if (!handle->Flush()) {
        SetCommError(err, kErrSystemCall, "::sc_Write FlushFileBuffers failed");
        sc_AppendSystemError(err);
        return 0;
    }
    return 1;
}

} // namespace vk
