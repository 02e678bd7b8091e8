#include "util_app/trace_collector.h"

#include "sensor/trace_line.h"

#include <chrono>
#include <iterator>

namespace vk {

void TraceCollector::OnLinkTraffic(const LinkTraffic& traffic) {
    std::string line = FormatTraceLine(traffic, std::chrono::system_clock::now());
    std::lock_guard<std::mutex> lock(mutex_);
    pending_.push_back(std::move(line));
    if (pending_.size() > kKeep)
        pending_.pop_front();
}

std::vector<std::string> TraceCollector::Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> lines(std::make_move_iterator(pending_.begin()),
                                   std::make_move_iterator(pending_.end()));
    pending_.clear();
    return lines;
}

} // namespace vk
