#include "sensor/local_time.h"

#include <cstdio>
#include <ctime>
#include <mutex>

namespace vk {

namespace {

struct Broken {
    std::tm tm{};
    int milliseconds = 0;
};

Broken BreakDown(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<milliseconds>(time.time_since_epoch());
    auto seconds = duration_cast<std::chrono::seconds>(sinceEpoch);
    auto millis = static_cast<int>((sinceEpoch - seconds).count());
    if (millis < 0) { // before the epoch the remainder runs negative
        millis += 1000;
        seconds -= std::chrono::seconds(1);
    }
    const std::time_t whole = static_cast<std::time_t>(seconds.count());
    // std::localtime shares one buffer across the program; the trace stamps from the
    // link's thread while the window stamps the recorder's rows.
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    Broken out;
    if (const std::tm* tm = std::localtime(&whole))
        out.tm = *tm;
    out.milliseconds = millis;
    return out;
}

} // namespace

std::string LocalTimeOfDay(std::chrono::system_clock::time_point time) {
    const Broken b = BreakDown(time);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", b.tm.tm_hour, b.tm.tm_min, b.tm.tm_sec,
                  b.milliseconds);
    return text;
}

std::string LocalIsoTimestamp(std::chrono::system_clock::time_point time) {
    const Broken b = BreakDown(time);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", b.tm.tm_year + 1900,
                  b.tm.tm_mon + 1, b.tm.tm_mday, b.tm.tm_hour, b.tm.tm_min, b.tm.tm_sec,
                  b.milliseconds);
    return text;
}

} // namespace vk
