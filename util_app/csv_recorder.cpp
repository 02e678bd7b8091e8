#include "util_app/csv_recorder.h"

#include "sensor/local_time.h"

#include <cerrno>
#include <cstring>

namespace vk {

namespace {
constexpr const char* kLineEnd = "\r\n";
} // namespace

std::string CsvHeader(const PollSample& sample) {
    std::string line = "Time";
    for (const PollColumn& column : sample.columns)
        line += ',' + CsvField(column.name);
    line += ',' + CsvField(sample.range.unit.empty() ? std::string("Range")
                                                     : "Range (" + sample.range.unit + ")");
    return line + kLineEnd;
}

std::string CsvRow(const PollSample& sample) {
    std::string line = LocalIsoTimestamp(sample.time);
    for (const PollColumn& column : sample.columns)
        line += ',' + CsvField(column.text);
    line += ',' + CsvField(sample.range.text);
    return line + kLineEnd;
}

bool CsvRecorder::Start(const std::string& path, std::string* error) {
    Stop();
    file_ = std::fopen(path.c_str(), "ab");
    if (!file_) {
        if (error)
            *error = "Could not open " + path + " for recording: " + std::strerror(errno);
        return false;
    }
    path_ = path;
    header_.clear();
    rows_ = 0;
    return true;
}

bool CsvRecorder::Append(const PollSample& sample, std::string* error) {
    if (!file_)
        return false;
    const std::string header = CsvHeader(sample);
    if (header != header_) {
        if (!Write(header, error))
            return false;
        header_ = header;
    }
    if (!Write(CsvRow(sample), error))
        return false;
    ++rows_;
    return true;
}

bool CsvRecorder::Write(const std::string& text, std::string* error) {
    errno = 0;
    const bool ok =
        std::fwrite(text.data(), 1, text.size(), file_) == text.size() && std::fflush(file_) == 0;
    if (ok)
        return true;
    if (error)
        *error = "Could not write to " + path_ + ": " +
                 (errno ? std::strerror(errno) : "write failed") + ". Recording stopped.";
    Stop();
    return false;
}

void CsvRecorder::StopBecause(const std::string& reason,
                              std::chrono::system_clock::time_point time) {
    if (!file_)
        return;
    // A file that cannot take the line is as complete as it was; Write stops it then.
    if (Write(LocalIsoTimestamp(time) + ',' + CsvField("Recording ended: " + reason) + kLineEnd,
              nullptr))
        Stop();
}

void CsvRecorder::Stop() {
    if (!file_)
        return;
    std::fclose(file_);
    file_ = nullptr;
}

} // namespace vk
