#pragma once
// vkctl --trace: every frame and every stray byte of the run, one trace line each, on a
// stream (standard error), as the utility's trace window shows them.

#include "link/link_observer.h"

#include <cstdio>

namespace vk::cli {

class TracePrinter final : public LinkObserver {
public:
    // `out` must outlive the printer.
    explicit TracePrinter(std::FILE* out) : out_(out) {}
    void OnLinkTraffic(const LinkTraffic& traffic) override;

private:
    std::FILE* out_;
};

} // namespace vk::cli
