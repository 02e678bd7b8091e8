#include "cli/terminal_line.h"

#include <unistd.h>

namespace vk::cli {

TerminalLine::TerminalLine(std::FILE* err, bool quiet)
    : err_(err), shown_(!quiet && isatty(fileno(err))) {}

void TerminalLine::Show(const std::string& text) {
    if (!shown_)
        return;
    // Spaces over what a longer text before left behind; no terminal escapes, so any
    // console takes it.
    const int blank = width_ > text.size() ? static_cast<int>(width_ - text.size()) : 0;
    std::fprintf(err_, "\r%s%*s", text.c_str(), blank, "");
    if (blank > 0)
        std::fprintf(err_, "\r%s", text.c_str());
    std::fflush(err_);
    width_ = text.size();
}

void TerminalLine::Clear() {
    if (!shown_ || width_ == 0)
        return;
    std::fprintf(err_, "\r%*s\r", static_cast<int>(width_), "");
    std::fflush(err_);
    width_ = 0;
}

void TerminalLine::Keep() {
    if (!shown_ || width_ == 0)
        return;
    std::fputc('\n', err_);
    std::fflush(err_);
    width_ = 0;
}

} // namespace vk::cli
