#pragma once
// Progress for a person watching: one line on standard error, rewritten in place. Nothing
// is written when standard error is not a terminal (a script, a log file) or the run is
// --quiet, so what scripts read never changes.

#include <cstddef>
#include <cstdio>
#include <string>

namespace vk::cli {

class TerminalLine {
public:
    // `err` is where the line goes, shown only when it is a terminal and not `quiet`.
    TerminalLine(std::FILE* err, bool quiet);
    // Clears a line still shown.
    ~TerminalLine() { Clear(); }
    TerminalLine(const TerminalLine&) = delete;
    TerminalLine& operator=(const TerminalLine&) = delete;

    bool Shown() const { return shown_; }
    // Replaces the line with `text`.
    void Show(const std::string& text);
    // Blanks the line and returns to its start, so other output can follow.
    void Clear();
    // Leaves the line as it stands and moves on to the next one.
    void Keep();

private:
    std::FILE* err_;
    bool shown_;
    std::size_t width_ = 0; // of what stands on the line now
};

} // namespace vk::cli
