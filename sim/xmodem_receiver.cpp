#include "sim/xmodem_receiver.h"

#include "link/xmodem.h"

namespace vk::sim {

using namespace vk::xmodem;

void XModemReceiver::Start(Clock::time_point now) {
    phase_ = Phase::AwaitingFirst;
    image_.clear();
    block_.clear();
    blocks_ = 0;
    badInARow_ = 0;
    prompts_ = 0;
    faultNaks_ = 0;
    canSeen_ = false;
    fault_ = nextFault_;
    nextFault_ = {};
    nextPrompt_ = fault_.kind == ReceiverFaultKind::LateStart ? now + kPromptInterval : now;
}

bool XModemReceiver::Wants(std::uint8_t byte, bool frameInProgress) const {
    switch (phase_) {
    case Phase::Idle:
        return false;
    case Phase::InBlock:
        return true;
    case Phase::AwaitingFirst:
        if (NotYetListening())
            return true; // lost, commands too
        break;
    case Phase::AwaitingBlock:
        break;
    }
    return !frameInProgress && (byte == kSoh || byte == kEot || byte == kCan);
}

void XModemReceiver::Feed(std::uint8_t byte, Clock::time_point at, std::vector<std::uint8_t>& out) {
    if (NotYetListening())
        return;
    lastByte_ = at;
    if (phase_ != Phase::InBlock) {
        BetweenBlocks(byte, out);
        return;
    }
    block_.push_back(byte);
    if (block_.size() == kBlockSize - 1) {
        phase_ = Phase::AwaitingBlock;
        CheckBlock(out);
    }
}

void XModemReceiver::BetweenBlocks(std::uint8_t byte, std::vector<std::uint8_t>& out) {
    bool secondCan = byte == kCan && canSeen_;
    canSeen_ = byte == kCan;
    if (secondCan) {
        End(false, "cancelled by the sender");
        return;
    }
    if (byte == kSoh) {
        block_.clear();
        phase_ = Phase::InBlock;
    } else if (byte == kEot && !Silenced()) {
        out.push_back(kAck);
        End(true, "complete");
    }
}

void XModemReceiver::CheckBlock(std::vector<std::uint8_t>& out) {
    if (Silenced())
        return;
    const std::uint8_t number = block_[0];
    const std::uint8_t* data = block_.data() + 2;
    const std::uint16_t crc =
        static_cast<std::uint16_t>(block_[kBlockSize - 3] << 8 | block_[kBlockSize - 2]);
    if (static_cast<std::uint8_t>(number ^ block_[1]) != 0xFF || Crc16(data, kBlockData) != crc) {
        BadBlock(out);
        return;
    }
    const int due = blocks_ + 1;
    if (number == static_cast<std::uint8_t>(due)) {
        if (fault_.kind == ReceiverFaultKind::Cancel && fault_.block == due) {
            Cancel(out, "cancelled by the receiver at block " + std::to_string(due));
            return;
        }
        if (fault_.kind == ReceiverFaultKind::NakTwice && fault_.block == due && faultNaks_ < 2) {
            ++faultNaks_;
            out.push_back(kNak);
            return;
        }
        image_.insert(image_.end(), data, data + kBlockData);
        ++blocks_;
        badInARow_ = 0;
        out.push_back(kAck);
        return;
    }
    // The sender did not hear our ACK and sent the block again.
    if (blocks_ > 0 && number == static_cast<std::uint8_t>(blocks_)) {
        out.push_back(kAck);
        return;
    }
    Cancel(out, "block " + std::to_string(number) + " came where block " +
                    std::to_string(due % 256) + " was due");
}

void XModemReceiver::BadBlock(std::vector<std::uint8_t>& out) {
    if (++badInARow_ > kMaxBadBlocks) {
        Cancel(out, "too many bad blocks in a row");
        return;
    }
    out.push_back(kNak);
}

void XModemReceiver::Cancel(std::vector<std::uint8_t>& out, const std::string& why) {
    out.push_back(kCan);
    out.push_back(kCan);
    End(false, why);
}

std::optional<Clock::time_point> XModemReceiver::NextTimer() const {
    switch (phase_) {
    case Phase::AwaitingFirst:
        return nextPrompt_;
    case Phase::InBlock:
        return lastByte_ + kBlockGap;
    case Phase::Idle:
    case Phase::AwaitingBlock:
        break;
    }
    return std::nullopt;
}

void XModemReceiver::OnTimer(Clock::time_point now, std::vector<std::uint8_t>& out) {
    auto due = NextTimer();
    if (!due || now < *due)
        return;
    if (phase_ == Phase::InBlock) {
        // What came of the block is lost for good; NAK asks for all of it again.
        phase_ = Phase::AwaitingBlock;
        if (!Silenced())
            BadBlock(out);
        return;
    }
    if (prompts_ == kPrompts) {
        End(false, "no block came");
        return;
    }
    ++prompts_;
    nextPrompt_ = now + kPromptInterval;
    if (!(fault_.kind == ReceiverFaultKind::Silence && fault_.block <= 0))
        out.push_back(kCrcPrompt);
}

void XModemReceiver::Abort(const std::string& why) {
    if (Active())
        End(false, why);
}

std::optional<XModemReceiver::Ended> XModemReceiver::TakeEnded() {
    std::optional<Ended> ended;
    ended.swap(ended_);
    return ended;
}

bool XModemReceiver::NotYetListening() const {
    return fault_.kind == ReceiverFaultKind::LateStart && prompts_ == 0;
}

bool XModemReceiver::Silenced() const {
    return fault_.kind == ReceiverFaultKind::Silence && blocks_ + 1 >= fault_.block;
}

void XModemReceiver::End(bool complete, const std::string& why) {
    phase_ = Phase::Idle;
    ended_ = Ended{complete, std::move(image_), why};
    image_.clear();
    block_.clear();
    fault_ = {};
}

} // namespace vk::sim
