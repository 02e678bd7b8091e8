#pragma once
// What a vkctl command prints on standard output, in either of its two shapes:
// `key: value` lines or CSV lines for people and shell scripts, or with --json one JSON
// object (records) or one JSON array of objects (tables) for programs.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace vk::cli {

// One value: text as it is shown, and whether JSON should carry it as a number.
struct Cell {
    std::string text;
    bool number = false;

    static Cell Text(std::string text) { return {std::move(text), false}; }
    static Cell Number(long long value) { return {std::to_string(value), true}; }
    // A number when the text is one in JSON's grammar, else text ("Out of Range").
    static Cell Auto(std::string text);
};

// A record of key and value pairs. As text each pair is printed at once (its texts through
// PlainText), so what a
// command could read is out even when it fails later; as JSON the object is printed by
// Finish (or the destructor), also with only the pairs a failing command got.
class RecordWriter {
public:
    RecordWriter(std::FILE* out, bool json) : out_(out), json_(json) {}
    ~RecordWriter() { Finish(); }
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    void Add(const std::string& key, const Cell& value);
    void Add(const std::string& key, const std::string& text) { Add(key, Cell::Text(text)); }
    // Prints the JSON object (once); nothing to do for text.
    void Finish();

private:
    std::FILE* out_;
    bool json_;
    bool finished_ = false;
    std::string object_;
};

// A table: as text a CSV header line and one CSV line per row (fields through PlainText,
// then quoted where they hold a comma or a quote); as JSON an array with one object per row, keyed
// by the column names. Rows go out as they come and are flushed, for commands that run until
// stopped.
class TableWriter {
public:
    // `header` false leaves out the CSV header line (a file that has one already).
    TableWriter(std::FILE* out, bool json, std::vector<std::string> columns, bool header = true);
    ~TableWriter() { Finish(); }
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    // `cells` holds one value per column.
    void Row(const std::vector<Cell>& cells);
    // Closes the JSON array (once); nothing to do for text.
    void Finish();

private:
    std::FILE* out_;
    bool json_;
    bool finished_ = false;
    std::size_t rows_ = 0;
    std::vector<std::string> columns_;
};

// One CSV line of `fields` with its line end.
std::string CsvLine(const std::vector<std::string>& fields);

// `text` as the plain output shows it: control characters, DEL and every byte from 0x80
// up as \xHH, and the backslash as \\. A sensor's text (model string, serial number)
// is untrusted bytes: so it can neither start an output line of its own nor send the
// terminal an escape sequence, and the escaped form still reads back unambiguously.
std::string PlainText(std::string_view text);

} // namespace vk::cli
