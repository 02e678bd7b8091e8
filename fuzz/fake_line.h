#pragma once
// The line the link fuzz target talks to: a port that serves the fuzz input and a
// clock that moves only when the link waits, so no case ever sleeps.
//
// The input after the target's own header is a series of records: one length byte, then
// that many bytes. Each request the link writes lets the next record arrive; a record of
// 255 bytes brings the one after it along (so frames of any length fit), and a length
// byte of 0 makes the device vanish from there on (every later call fails).

#include <cstddef>
#include <cstdint>

namespace vk::fuzz {

// Starts a new case: nothing has arrived, nothing is gone, the clock is where it was.
// At most `bytesPerRead` bytes come per read call (0: all there are).
void ResetLine(const std::uint8_t* records, std::size_t size, std::size_t bytesPerRead);
// Lets the next record arrive now, as if the sensor had been asked.
void ArriveNext();

} // namespace vk::fuzz
