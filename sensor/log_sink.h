#pragma once
// Where the command layer and the connection write their log lines. The utility's
// command log implements it; the command-line program prints what it cares about.

namespace vk {

// Severity of a log line; the numbers are the ones the command log shows icons for.
enum class LogIcon : int { Error = 0, Information = 1, Warning = 2 };

class LogSink {
public:
    virtual ~LogSink() = default;
    // Takes one finished line. `text` is only valid during the call.
    virtual void LogMessage(const char* text, LogIcon icon) = 0;
};

} // namespace vk
