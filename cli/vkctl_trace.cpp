#include "cli/vkctl_trace.h"

#include "sensor/trace_line.h"

namespace vk::cli {

void TracePrinter::OnLinkTraffic(const LinkTraffic& traffic) {
    const std::string line = FormatTraceLine(traffic, std::chrono::system_clock::now());
    std::fprintf(out_, "%s\n", line.c_str());
    // Interleaved with the failure lines on the same stream, in the order they happened.
    std::fflush(out_);
}

} // namespace vk::cli
