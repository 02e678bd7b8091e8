#pragma once
// A broken promise of the code under test is a crash, so the fuzzer keeps the input.

inline void Require(bool condition) {
    if (!condition)
        __builtin_trap();
}
