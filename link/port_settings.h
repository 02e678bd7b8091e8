#pragma once
// Line settings of one link, in the units the sensor tools use everywhere.

#include <cstdint>

namespace vk {

// Parity codes as the tools number them.
enum ParityCode : std::int32_t {
    kParityNone = 0,
    kParityOdd = 1,
    kParityEven = 2,
    kParityMark = 3,
    kParitySpace = 4
};
// Stop-bit codes as the tools number them.
enum StopBitsCode : std::int32_t { kStopOne = 0, kStopOneAndHalf = 1, kStopTwo = 2 };

struct PortSettings {
    std::int32_t baudRate = 57600;
    std::int32_t parity = kParityNone;
    std::int32_t stopBits = kStopOne;
    std::int32_t dataBits = 8;
    std::int32_t outputQueueSize = 1024;
    std::int32_t inputQueueSize = 1024;
    std::int32_t readTimeoutMs = 100;  // one read call waits at most this long
    std::int32_t writeTimeoutMs = 100; // one write call waits at most this long
    std::int32_t rtsControl = 1;       // 1 = RTS on while open
    std::int32_t dtrControl = 1;       // 1 = DTR on while open
    std::int32_t ctsOutputFlow = 0;
    std::int32_t dsrOutputFlow = 0;
    std::int32_t xonXoffOutput = 0;
    std::int32_t xonXoffInput = 0;
    std::uint8_t xonChar = 0;
    std::uint8_t xoffChar = 0;
    std::int32_t xonLimit = 0;
    std::int32_t xoffLimit = 0;
};

} // namespace vk
