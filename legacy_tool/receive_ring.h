#pragma once
// The bytes the port delivered and nobody has read yet. One writer (the port's
// data-available event) and one reader (the reply wait) on the same thread.
//
// A full ring never overwrites unread bytes: the newest bytes are dropped instead, the
// ring is marked overflowed and takes nothing more until the next Discard. The reader
// learns of the gap through Overflowed() once it has read what came before it, so a
// reply that ran into the gap fails instead of being pieced together across it.

#include <array>
#include <cstddef>
#include <cstdint>

namespace vk::legacy {

inline constexpr std::size_t kRingSize = 16384;

class ReceiveRing {
public:
    // Stores `count` bytes in order. Returns how many were stored; the rest were dropped
    // because the ring was full or had overflowed since the last Discard.
    std::size_t Put(const std::uint8_t* data, std::size_t count);
    // Unread bytes.
    std::size_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    // Takes the oldest unread byte; 0 when the ring is empty.
    std::uint8_t Take();
    // Throws away every unread byte and ends an overflow.
    void Discard();
    // Bytes were dropped since the last Discard.
    bool Overflowed() const { return overflowed_; }

private:
    std::array<std::uint8_t, kRingSize> bytes_{};
    std::size_t read_ = 0;
    std::size_t count_ = 0;
    bool overflowed_ = false;
};

} // namespace vk::legacy
