#pragma once
// The CSV recording of a panel's polls: one row per successful poll, after a header row
// that names the columns and the range's unit.
//
//   Time,Base pix.,Sum pix.,...,Range (inch)
//   2024-05-17T14:03:21.250,412,30211,...,12.345
//
// The time is ISO 8601 local time with milliseconds. A range the sensor reports as
// "Out of Range" leaves its cell empty, so a spreadsheet plots a gap instead of a zero.

#include "sensor/csv_field.h"
#include "util_app/poll_sample.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace vk {

// The header line of `sample`'s columns, ending in CR LF.
std::string CsvHeader(const PollSample& sample);
// The row of `sample`, ending in CR LF.
std::string CsvRow(const PollSample& sample);

// Appends rows to a file the user chose. Each row is handed to the operating system as it
// is written, so a crash of the program loses at most the row being written.
class CsvRecorder {
public:
    CsvRecorder() = default;
    ~CsvRecorder() { Stop(); }
    CsvRecorder(const CsvRecorder&) = delete;
    CsvRecorder& operator=(const CsvRecorder&) = delete;

    // Opens `path` to append to (creating it). False with the reason in `error`; a
    // recording already running is stopped first.
    bool Start(const std::string& path, std::string* error);
    // Appends the sample's row, with a header first when the recording has none yet or
    // the columns or unit changed. False with the reason in `error`: the recording has
    // then stopped and the file holds every row written before.
    bool Append(const PollSample& sample, std::string* error);
    // Ends the recording; the file is complete. Nothing when none is running.
    void Stop();
    // Ends the recording with one more line that says why, after the last row: the time
    // and `reason` ("...,Recording ended: Port lost: COM1 (/dev/ttyUSB0)"), so a reader
    // of the file knows the rows stop there because the values did.
    void StopBecause(const std::string& reason, std::chrono::system_clock::time_point time);

    bool Active() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }
    // Rows (headers not counted) written since Start.
    std::uint64_t Rows() const { return rows_; }

private:
    bool Write(const std::string& text, std::string* error);

    std::FILE* file_ = nullptr;
    std::string path_;
    std::string header_;
    std::uint64_t rows_ = 0;
};

} // namespace vk
