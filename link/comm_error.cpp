#include "link/comm_error.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace vk {

void SetCommError(CommError* err, std::int32_t code, const char* format, ...) {
    if (!err)
        return;
    err->code = code;
    va_list args;
    va_start(args, format);
    std::vsnprintf(err->text, sizeof err->text, format, args);
    va_end(args);
}

void AppendParenthesised(CommError* err, const char* detail) {
    constexpr std::size_t kRoomLimit = 252;
    std::size_t used = strnlen(err->text, sizeof err->text);
    if (used >= kRoomLimit)
        return;
    std::size_t room = kRoomLimit - used;
    std::size_t take = detail ? strnlen(detail, room) : 0;
    char* out = err->text + used;
    *out++ = ' ';
    *out++ = '(';
    std::memcpy(out, detail ? detail : "", take);
    out += take;
    *out++ = ')';
    *out = '\0';
}

} // namespace vk
