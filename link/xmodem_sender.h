#pragma once
// XModemSender: streams an upload into a sensor with XModem-CRC, one byte at a time as
// the caller hands them over, on the raw reads and writes of a DcsLink.
//
// Before the very first byte it waits for the receiver's NAK or "C"; blocks always go
// out with a CRC, whichever of the two came. Every 128 bytes make one block, numbered
// from 1 and wrapping after 255 to 0; the last byte is repeated to fill its block, then
// EOT ends the transfer. The attempts of one call (handshake reads, block sends, EOT
// sends) share one counter: the 20th ends the transfer with its error, and every later
// call returns that error at once.

#include "link/dcs_link.h"

#include <array>
#include <cstdint>
#include <functional>

namespace vk {

class XModemSender {
public:
    // The errors Send returns; 0 is success.
    static constexpr int kNoHandshake = 1;      // neither NAK nor "C" came
    static constexpr int kBlockNotAcked = 2;    // a block was not acknowledged
    static constexpr int kEndNotAcked = 3;      // the EOT was not acknowledged
    static constexpr int kAttemptsPerCall = 20; // the 20th attempt fails
    static constexpr std::uint32_t kByteWaitMs = 2000;

    // `link` is not owned and may be set later; `byteWaitMs` is how long one read waits
    // for the receiver's answer.
    explicit XModemSender(DcsLink* link = nullptr, std::uint32_t byteWaitMs = kByteWaitMs)
        : link_(link), byteWaitMs_(byteWaitMs) {}

    void SetLink(DcsLink* link) { link_ = link; }
    void SetByteWaitMs(std::uint32_t ms) { byteWaitMs_ = ms; }
    // Runs after every attempt that brought no acknowledgement (at most one wait for a
    // byte apart), so a window can repaint while a silent receiver is given its chances.
    void SetBetweenAttempts(std::function<void()> hook) { betweenAttempts_ = std::move(hook); }

    // Forgets the last transfer: no error, no block, the handshake due again.
    void Reset();
    // Hands over one byte of the upload; `last` sends the final block, padded with copies
    // of `byte`, and the EOT. Returns 0, or the error that ended the transfer.
    int Send(std::uint8_t byte, bool last);
    int Error() const { return error_; }

private:
    enum class Read { Byte, PortClosed, NoByte, Failed };

    Read ReadByte(std::uint8_t* byte);
    void Write(const std::uint8_t* data, std::size_t length);
    // Ends the transfer with `error`; always false.
    bool Fail(int error);
    bool Handshake(int& attempts);
    bool SendBlock(int& attempts);
    bool SendEnd(int& attempts);
    void BetweenAttempts() const;

    DcsLink* link_;
    std::uint32_t byteWaitMs_;
    std::function<void()> betweenAttempts_;
    int error_ = 0;
    std::size_t inBlock_ = 0;
    unsigned blockNumber_ = 0;
    std::array<std::uint8_t, 128> block_{};
};

} // namespace vk
