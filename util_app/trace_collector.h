#pragma once
// TraceCollector: the link observer of the trace window. It turns each piece of traffic
// into its trace line on the link's thread and keeps the lines until the window takes
// them in a batch; what the window has not taken is bounded to the newest kKeep lines.

#include "link/link_observer.h"

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace vk {

class TraceCollector final : public LinkObserver {
public:
    // As many lines as the trace window keeps.
    static constexpr std::size_t kKeep = 10000;

    void OnLinkTraffic(const LinkTraffic& traffic) override;
    // The lines since the last call, oldest first.
    std::vector<std::string> Take();

private:
    std::mutex mutex_;
    std::deque<std::string> pending_;
};

} // namespace vk
