#include "link/xmodem_sender.h"

#include "link/xmodem.h"

namespace vk {

using namespace vk::xmodem;

void XModemSender::Reset() {
    error_ = 0;
    inBlock_ = 0;
    blockNumber_ = 0;
}

int XModemSender::Send(std::uint8_t byte, bool last) {
    if (error_ != 0)
        return error_;
    int attempts = 0;
    if (blockNumber_ == 0 && inBlock_ == 0 && !Handshake(attempts))
        return error_;
    block_[inBlock_++] = byte;
    while (last && inBlock_ < block_.size())
        block_[inBlock_++] = byte;
    if (inBlock_ == block_.size() && !SendBlock(attempts))
        return error_;
    if (last && !SendEnd(attempts))
        return error_;
    return 0;
}

bool XModemSender::Handshake(int& attempts) {
    for (;;) {
        std::uint8_t byte = 0;
        Read read = ReadByte(&byte);
        if (++attempts == kAttemptsPerCall)
            return Fail(kNoHandshake);
        if (read == Read::Byte && (byte == kNak || byte == kCrcPrompt))
            return true;
        BetweenAttempts();
    }
}

bool XModemSender::SendBlock(int& attempts) {
    ++blockNumber_;
    std::array<std::uint8_t, kBlockSize> frame;
    frame[0] = kSoh;
    frame[1] = static_cast<std::uint8_t>(blockNumber_);
    frame[2] = static_cast<std::uint8_t>(~frame[1]);
    std::copy(block_.begin(), block_.end(), frame.begin() + 3);
    const std::uint16_t crc = Crc16(block_.data(), block_.size());
    frame[kBlockSize - 2] = static_cast<std::uint8_t>(crc >> 8);
    frame[kBlockSize - 1] = static_cast<std::uint8_t>(crc);
    for (;;) {
        if (++attempts == kAttemptsPerCall)
            return Fail(kBlockNotAcked);
        Write(frame.data(), frame.size());
        std::uint8_t answer = 0;
        Read read = ReadByte(&answer);
        if (read == Read::Byte && answer == kAck)
            break;
        BetweenAttempts();
    }
    inBlock_ = 0;
    return true;
}

bool XModemSender::SendEnd(int& attempts) {
    for (;;) {
        Write(&kEot, 1);
        std::uint8_t answer = 0;
        Read read = ReadByte(&answer);
        if (++attempts == kAttemptsPerCall)
            return Fail(kEndNotAcked);
        if (read == Read::Byte && answer == kAck)
            return true;
        BetweenAttempts();
    }
}

XModemSender::Read XModemSender::ReadByte(std::uint8_t* byte) {
    if (!link_ || !link_->IsOpen())
        return Read::PortClosed;
    // One blocking read until the byte comes or the wait is over: the answer is taken
    // the moment it arrives, and nothing spins while the receiver thinks.
    std::size_t count = 0;
    if (!link_->ReadRaw(byte, 1, &count, byteWaitMs_)) {
        std::uint32_t flags = 0, queued = 0;
        link_->GetCommErrors(&flags, &queued);
        return Read::Failed;
    }
    return count == 1 ? Read::Byte : Read::NoByte;
}

void XModemSender::Write(const std::uint8_t* data, std::size_t length) {
    // A block goes out in one write: the receiver sees the same bytes back to back, and
    // a USB adapter is not made to flush after every one of them. What did not get out
    // shows as a missing acknowledgement.
    if (!link_ || !link_->IsOpen())
        return;
    std::size_t written = 0;
    link_->WriteRaw(data, length, &written, DcsLink::kExchangeBudgetMs);
}

bool XModemSender::Fail(int error) {
    error_ = error;
    return false;
}

void XModemSender::BetweenAttempts() const {
    if (betweenAttempts_)
        betweenAttempts_();
}

} // namespace vk
