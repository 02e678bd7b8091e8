#pragma once
// What every fuzz target checks with: a broken promise of the code under test is a
// crash, so the fuzzer keeps the input that broke it.

namespace vk::fuzz {

inline void Require(bool condition) {
    if (!condition)
        __builtin_trap();
}

} // namespace vk::fuzz
