// The port backend and the clock of the link, faked for the fuzz targets: the bytes that
// "arrive" are the fuzz input's, and the time a real port would spend waiting is added
// to a virtual clock instead of being slept.
#include "fuzz/fake_line.h"
#include "link/deadline_timer.h"
#include "link/serial_backend.h"

#include <algorithm>
#include <cstring>
#include <deque>

namespace vk {

struct SerialPort {
    std::uint32_t readTimeoutMs = 100;
};

namespace {

struct FakeLine {
    const std::uint8_t* records = nullptr;
    std::size_t size = 0;
    std::size_t next = 0; // the next record's length byte
    std::size_t bytesPerRead = 0;
    std::deque<std::uint8_t> arrived;
    bool gone = false;
    int lastError = 0;
};

FakeLine line;
std::uint64_t nowNs = 0;
constexpr std::uint64_t kNsPerMs = 1000000;

} // namespace

namespace fuzz {

void ResetLine(const std::uint8_t* records, std::size_t size, std::size_t bytesPerRead) {
    line.records = records;
    line.size = size;
    line.next = 0;
    line.bytesPerRead = bytesPerRead;
    line.arrived.clear();
    line.gone = false;
}

void ArriveNext() {
    for (;;) {
        if (line.gone || line.next >= line.size)
            return;
        std::size_t length = line.records[line.next++];
        if (length == 0) {
            line.gone = true;
            return;
        }
        std::size_t available = std::min(length, line.size - line.next);
        line.arrived.insert(line.arrived.end(), line.records + line.next,
                            line.records + line.next + available);
        line.next += available;
        if (length < 255)
            return;
    }
}

} // namespace fuzz

std::uint64_t PerformanceFrequency() {
    return 1000000000ULL;
}

bool ReadPerformanceCounter(std::uint64_t* now) {
    *now = nowNs;
    return true;
}

void PauseMs(std::uint32_t ms) {
    nowNs += ms * kNsPerMs;
}

namespace serial_backend {

namespace {
bool Fail() {
    line.lastError = 5; // EIO: the device went away
    return false;
}
} // namespace

PortHandle Open(const char*) {
    return line.gone ? (Fail(), kInvalidPortHandle) : new SerialPort;
}

void SetNoSuchDevice() {
    line.lastError = 2;
}

bool Close(PortHandle handle) {
    delete handle;
    return true;
}

bool GetState(PortHandle) {
    return !line.gone || Fail();
}

bool SetState(PortHandle, const PortSettings&) {
    return !line.gone || Fail();
}

bool SetupQueues(PortHandle, std::int32_t, std::int32_t) {
    return true;
}

bool SetTimeouts(PortHandle handle, std::uint32_t readMs, std::uint32_t) {
    handle->readTimeoutMs = readMs;
    return true;
}

bool Purge(PortHandle) {
    line.arrived.clear();
    return !line.gone || Fail();
}

bool PurgeInput(PortHandle handle) {
    return Purge(handle);
}

bool ReadCall(PortHandle handle, std::uint8_t* buffer, std::size_t length, std::size_t* got) {
    *got = 0;
    if (line.gone && line.arrived.empty())
        return Fail();
    std::size_t n = std::min(length, line.arrived.size());
    if (line.bytesPerRead)
        n = std::min(n, line.bytesPerRead);
    std::copy_n(line.arrived.begin(), n, buffer);
    line.arrived.erase(line.arrived.begin(), line.arrived.begin() + static_cast<std::ptrdiff_t>(n));
    *got = n;
    // A call that did not get all it asked for waited its whole read time-out.
    if (n < length)
        nowNs += std::max<std::uint32_t>(handle->readTimeoutMs, 1) * kNsPerMs;
    return true;
}

bool WriteCall(PortHandle, const std::uint8_t*, std::size_t length, std::size_t* put) {
    *put = 0;
    if (line.gone)
        return Fail();
    *put = length;
    fuzz::ArriveNext();
    return true;
}

bool Flush(PortHandle) {
    return !line.gone || Fail();
}

bool ReadErrorFlags(PortHandle, std::uint32_t* flags, std::uint32_t* inQueue) {
    *flags = line.gone ? kCeIoe : 0;
    *inQueue = static_cast<std::uint32_t>(line.arrived.size());
    return true;
}

bool Lost(PortHandle) {
    return line.gone;
}

void LastSystemErrorText(char* out, std::size_t size) {
    if (size == 0)
        return;
    std::strncpy(out, line.lastError ? std::strerror(line.lastError) : "", size - 1);
    out[size - 1] = '\0';
}

} // namespace serial_backend
} // namespace vk
