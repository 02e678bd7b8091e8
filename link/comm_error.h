#pragma once
// The link's error record: the last failure's code and a readable text.
// Success never clears it, so a later failure line may quote an older failure.

#include <cstddef>
#include <cstdint>

namespace vk {

inline constexpr std::size_t kCommErrorTextSize = 256;

struct CommError {
    std::int32_t code = 0;
    char text[kCommErrorTextSize] = {};
};

// Error codes of the port layer and of the packet layer.
enum CommErrorCode : std::int32_t {
    kErrUnknownCommError = 1,
    kErrInvalidArgument = 2,
    kErrNoPerformanceCounter = 6,
    kErrOpenFailed = 7,
    kErrBreak = 8,
    kErrFraming = 9,
    kErrParity = 10,
    kErrIo = 11,
    kErrOverrun = 12,
    kErrMode = 13,
    kErrInputOverflow = 14,
    kErrOutputFull = 15,
    kErrSystemCall = 16,
    kErrNoStartByte = 100,
    kErrIncomplete = 101,
    kErrShortWrite = 102,
    kErrBadCheck = 103,
    kErrWrongPacketId = 104,
};

// Sets code and text (printf-style), truncated to the record's size.
void SetCommError(CommError* err, std::int32_t code, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// Appends " (", at most 252 - current length characters of detail, and ")" when the
// text holds fewer than 252 characters; otherwise leaves it alone. Never exceeds 255.
void AppendParenthesised(CommError* err, const char* detail);

} // namespace vk
