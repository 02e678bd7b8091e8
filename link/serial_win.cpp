// Windows backend of the port layer: the communications API the port layer was modelled
// on, so each operation is one call (a read that brings nothing also looks at the port).
#include "link/serial_backend.h"

#include "link/comm_state_win.h"

#include <windows.h>

#include <cstring>

namespace vk {

// The port layer's error flags are the system's own CE_ bits, passed on unchanged.
static_assert(kCeRxOver == CE_RXOVER && kCeOverrun == CE_OVERRUN && kCeRxParity == CE_RXPARITY &&
              kCeFrame == CE_FRAME && kCeBreak == CE_BREAK && kCeTxFull == CE_TXFULL &&
              kCeIoe == CE_IOE && kCeMode == CE_MODE);

struct SerialPort {
    HANDLE handle = INVALID_HANDLE_VALUE;
    DCB dcb{};
    DWORD heldErrors = 0; // flags a look at a quiet port cleared, for the next report
    bool lost = false;    // the device went away; the handle is of no use any more
};

namespace serial_backend {

namespace {

thread_local DWORD tLastError = 0;

bool Fail() {
    tLastError = GetLastError();
    return false;
}

// What a USB adapter's driver answers once the adapter has been pulled. An aborted call
// (a line error with abort-on-error set) is not among them: ClearCommError ends it.
bool MeansGone(DWORD error) {
    switch (error) {
    case ERROR_BAD_COMMAND:
    case ERROR_ACCESS_DENIED:
    case ERROR_GEN_FAILURE:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
        return true;
    default:
        return false;
    }
}

// A failed call on an open port: the device may have gone for good.
bool FailOn(SerialPort* port) {
    Fail();
    if (MeansGone(tLastError))
        port->lost = true;
    return false;
}

} // namespace

void SetNoSuchDevice() {
    tLastError = ERROR_FILE_NOT_FOUND;
}

PortHandle Open(const char* device) {
    HANDLE h =
        CreateFileA(device, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        Fail();
        return kInvalidPortHandle;
    }
    auto* port = new SerialPort;
    port->handle = h;
    return port;
}

bool Close(PortHandle port) {
    HANDLE h = port->handle;
    delete port;
    return CloseHandle(h) ? true : Fail();
}

bool GetState(PortHandle port) {
    port->dcb = DCB{};
    port->dcb.DCBlength = sizeof(DCB);
    return GetCommState(port->handle, &port->dcb) ? true : Fail();
}

bool SetState(PortHandle port, const PortSettings& s) {
    DCB dcb = CommStateFor(port->dcb, s);
    if (!SetCommState(port->handle, &dcb))
        return Fail();
    port->dcb = dcb;
    return true;
}

bool SetupQueues(PortHandle port, std::int32_t inputSize, std::int32_t outputSize) {
    return SetupComm(port->handle, static_cast<DWORD>(inputSize), static_cast<DWORD>(outputSize))
               ? true
               : Fail();
}

bool SetTimeouts(PortHandle port, std::uint32_t readMs, std::uint32_t writeMs) {
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = 0;
    t.ReadTotalTimeoutMultiplier = 0;
    // A constant of 0 with the other two 0 would make every read or write wait for all
    // its bytes, on a stalled line for ever; one millisecond keeps a zero time-out a
    // short wait.
    t.ReadTotalTimeoutConstant = readMs ? readMs : 1;
    t.WriteTotalTimeoutMultiplier = 0;
    t.WriteTotalTimeoutConstant = writeMs ? writeMs : 1;
    return SetCommTimeouts(port->handle, &t) ? true : Fail();
}

bool Purge(PortHandle port) {
    return PurgeComm(port->handle, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR)
               ? true
               : FailOn(port);
}

bool PurgeInput(PortHandle port) {
    return PurgeComm(port->handle, PURGE_RXABORT | PURGE_RXCLEAR) ? true : FailOn(port);
}

bool ReadCall(PortHandle port, std::uint8_t* buffer, std::size_t length, std::size_t* got) {
    DWORD n = 0;
    BOOL ok = ReadFile(port->handle, buffer, static_cast<DWORD>(length), &n, nullptr);
    *got = n;
    if (!ok)
        return FailOn(port);
    // Some drivers (Wine's on a terminal whose other side hung up) answer every read of
    // a device that is gone with nothing, as for a quiet line, until the deadline; its
    // status can no longer be read, which tells the two apart.
    if (n == 0 && length > 0) {
        DWORD errors = 0;
        COMSTAT stat{};
        if (!ClearCommError(port->handle, &errors, &stat)) {
            Fail();
            port->lost = true;
            return false;
        }
        port->heldErrors |= errors;
    }
    return true;
}

bool WriteCall(PortHandle port, const std::uint8_t* data, std::size_t length, std::size_t* put) {
    DWORD n = 0;
    BOOL ok = WriteFile(port->handle, data, static_cast<DWORD>(length), &n, nullptr);
    *put = n;
    return ok ? true : FailOn(port);
}

bool Flush(PortHandle port) {
    return FlushFileBuffers(port->handle) ? true : FailOn(port);
}

bool ReadErrorFlags(PortHandle port, std::uint32_t* flags, std::uint32_t* inQueue) {
    DWORD errors = 0;
    COMSTAT stat{};
    if (!ClearCommError(port->handle, &errors, &stat))
        return FailOn(port);
    *flags = errors | port->heldErrors;
    port->heldErrors = 0;
    *inQueue = stat.cbInQue;
    return true;
}

bool Lost(PortHandle port) {
    return port->lost;
}

void LastSystemErrorText(char* out, std::size_t size) {
    if (size == 0)
        return;
    out[0] = '\0';
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             tLastError, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), out,
                             static_cast<DWORD>(size), nullptr);
    out[n < size ? n : size - 1] = '\0';
}

} // namespace serial_backend
} // namespace vk
