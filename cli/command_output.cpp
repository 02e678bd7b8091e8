#include "cli/command_output.h"

#include "panels/json_text.h"
#include "sensor/csv_field.h"

namespace vk::cli {

Cell Cell::Auto(std::string text) {
    const bool number = IsJsonNumber(text);
    return {std::move(text), number};
}

namespace {

std::string JsonValue(const Cell& cell) {
    return cell.number ? cell.text : JsonString(cell.text);
}

} // namespace

std::string PlainText(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\') {
            plain += "\\\\";
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            plain += escape;
        } else {
            plain += c;
        }
    }
    return plain;
}

void RecordWriter::Add(const std::string& key, const Cell& value) {
    if (!json_) {
        std::fprintf(out_, "%s: %s\n", PlainText(key).c_str(), PlainText(value.text).c_str());
        return;
    }
    object_ += object_.empty() ? "{" : ", ";
    object_ += JsonString(key) + ": " + JsonValue(value);
}

void RecordWriter::Finish() {
    if (finished_)
        return;
    finished_ = true;
    if (json_)
        std::fprintf(out_, "%s}\n", object_.empty() ? "{" : object_.c_str());
    std::fflush(out_);
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i)
            line += ',';
        line += CsvField(fields[i]);
    }
    line += '\n';
    return line;
}

TableWriter::TableWriter(std::FILE* out, bool json, std::vector<std::string> columns, bool header)
    : out_(out), json_(json), columns_(std::move(columns)) {
    if (json_)
        std::fputs("[", out_);
    else if (header)
        std::fputs(CsvLine(columns_).c_str(), out_);
}

void TableWriter::Row(const std::vector<Cell>& cells) {
    if (json_) {
        std::string object = rows_ ? ",\n{" : "\n{";
        for (std::size_t i = 0; i < columns_.size() && i < cells.size(); ++i)
            object += (i ? ", " : "") + JsonString(columns_[i]) + ": " + JsonValue(cells[i]);
        std::fputs((object + "}").c_str(), out_);
    } else {
        std::vector<std::string> fields;
        for (const Cell& cell : cells)
            fields.push_back(PlainText(cell.text));
        std::fputs(CsvLine(fields).c_str(), out_);
    }
    ++rows_;
    std::fflush(out_);
}

void TableWriter::Finish() {
    if (finished_)
        return;
    finished_ = true;
    if (json_)
        std::fputs(rows_ ? "\n]\n" : "]\n", out_);
    std::fflush(out_);
}

} // namespace vk::cli
