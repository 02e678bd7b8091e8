#pragma once
// How long a piece of a test took, for the protocol's waits, which are real time.

#include <chrono>
#include <utility>

namespace vk::test {

template <typename F> double ElapsedMs(F&& f) {
    auto start = std::chrono::steady_clock::now();
    std::forward<F>(f)();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace vk::test
