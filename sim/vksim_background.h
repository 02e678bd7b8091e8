#pragma once
// vksim in the background: started so that the command returns once the port exists,
// recorded beside its link, and stopped by that record.

#include <optional>
#include <string>

namespace vk::sim {

// Where the background vksim of COMn in `portDir` records its process id and writes the
// messages it has after its start.
std::string PidFilePath(const std::string& portDir, int comNumber);
std::string LogFilePath(const std::string& portDir, int comNumber);

// The process id of the background vksim recorded for COMn, when that process still runs
// and is a background vksim (a record left by one that died names nobody).
std::optional<int> RecordedVksim(const std::string& portDir, int comNumber);

// Ends the background vksim of COMn and waits until it is gone (its link and record with
// it). Returns 0, or 1 with a line on standard error when there is none or it does not end.
int StopBackgroundVksim(const std::string& portDir, int comNumber);

// Splits the program in two before any thread starts. The parent waits until the child
// reports, prints what it reported ("COMn <device>" on standard output, or the reason it
// failed on standard error) and gets the exit status to return (0 or 1). The child gets
// nothing and goes on to serve; it must call Ready or Failed.
class BackgroundStart {
public:
    std::optional<int> Fork();
    // The port exists: records the process id, tells the parent `announce`, and lets go of
    // the caller's terminal (standard error goes to the log file from now on). False with
    // a reason when the record cannot be written (the parent is told so).
    bool Ready(const std::string& announce, const std::string& pidFile, const std::string& logFile,
               std::string* error);
    // The start failed: the parent prints `reason` and exits with 1.
    void Failed(const std::string& reason);
    // Serving has ended: the record goes, while it still names this process.
    void Finished();

private:
    void Report(const std::string& line);
    int pipe_ = -1; // the child's end of the report pipe
    std::string pidFile_;
};

} // namespace vk::sim
