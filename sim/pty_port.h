#pragma once
// The master side of a pseudo-terminal, as the simulated line needs it: non-blocking
// reads and writes, a wait that another thread can cut short, and the line format the
// program set on the slave side.

#include "sim/sensor_state.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vk::sim {

struct LineFormat {
    std::int32_t baudRate = 0; // 0 when the speed is none the sensors know
    int bitsPerByte = 10;      // start, data, parity and stop bits
};

struct WaitResult {
    bool readable = false;
    bool writable = false;
    bool failed = false; // the terminal is unusable (closed under us)
};

class PtyPort {
public:
    PtyPort() = default;
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    // Opens a new pseudo-terminal in raw mode at 57600 baud, keeps its slave open so the
    // line survives the program closing its end. False with a reason in `error`.
    bool Open(std::string* error);
    // Closes both sides (the program then sees a hang-up) and the wake channel.
    void Close();
    const std::string& SlavePath() const { return slavePath_; }

    // Waits for input, for room to write (when `wantWrite`), for Wake, or until
    // `deadline` (none: no limit).
    WaitResult Wait(std::optional<Clock::time_point> deadline, bool wantWrite);
    // Cuts a Wait short; callable from any thread.
    void Wake();

    // Reads what is waiting, up to `capacity` bytes; 0 when nothing is, -1 on failure.
    long Read(std::uint8_t* buffer, std::size_t capacity);
    // Writes what the terminal takes now; the count, or -1 on failure.
    long Write(const std::uint8_t* data, std::size_t length);

    // Bytes the program wrote that Read has not taken yet.
    std::size_t InputWaiting() const;

    // The speed and character size the program set on its end.
    LineFormat Format() const;

private:
    int master_ = -1;
    int slave_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::string slavePath_;
};

} // namespace vk::sim
