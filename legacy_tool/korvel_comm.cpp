#include "legacy_tool/korvel_comm.h"

#include "legacy_tool/legacy_codes.h"
#include "legacy_tool/reply_reader.h"
#include "legacy_tool/tick_count.h"

#include <QCoreApplication>

namespace vk::legacy {

namespace {

// Lets the reply reader take its bytes through GetBytes.
class CommWaiter : public ByteWaiter {
public:
    explicit CommWaiter(KorvelComm& comm) : comm_(comm) {}
    bool GetBytes(Bytes& to, std::size_t count) override { return comm_.GetBytes(to, count); }

private:
    KorvelComm& comm_;
};

void PumpPending() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Sleeps in the event loop until something happens: a byte, a timer, a click.
void WaitForEvents() {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace

KorvelComm::KorvelComm(ToolState& state, ComPort& port, QObject* parent)
    : QObject(parent), state_(state), port_(port), timer1_(new QTimer(this)),
      delayTimer_(new QTimer(this)) {
    timer1_->setObjectName("Timer1");
    timer1_->setSingleShot(true);
    timer1_->setTimerType(Qt::PreciseTimer);
    delayTimer_->setSingleShot(true);
    delayTimer_->setTimerType(Qt::PreciseTimer);
    connect(&port_, &ComPort::TriggerAvail, this, &KorvelComm::ApdComPort1TriggerAvail);
}

void KorvelComm::SendPacket(std::uint8_t code, std::uint8_t address, const Bytes& payload,
                            bool crc) {
    if (state_.closing)
        return;
    Request request = BuildRequest(code, address, payload, crc);
    DiscardInput();
    if (crc)
        lastRequestCrc_ = request.crc;
    port_.Write(request.frame);
}

bool KorvelComm::GetPacket(Bytes& reply, bool crc, int timeoutMs, Bytes* check) {
    reply.clear();
    if (state_.closing) {
        state_.lastError = kNoResponse;
        return false;
    }
    timer1_->stop();
    timer1_->start(timeoutMs);
    CommWaiter waiter(*this);
    ReplyResult result = ReadReply(waiter, crc, lastRequestCrc_);
    timer1_->stop();
    state_.lastError = result.lastError;
    reply = std::move(result.reply);
    if (check)
        *check = std::move(result.check);
    return result.lastError == kNoError;
}

bool KorvelComm::GetBytes(Bytes& destination, std::size_t count) {
    while (count > 0) {
        // Bytes already received are taken at once; the events are handled whenever the
        // ring runs dry, before every wait. Handling them after every single byte would
        // spend more time than the bytes take on the wire.
        if (ring_.Empty()) {
            PumpPending();
            // A lost port has been closed: nothing more can come, however long we wait.
            if (!timer1_->isActive() || state_.closing || !port_.IsOpen())
                return false;
            if (ring_.Empty()) {
                if (ring_.Overflowed())
                    return false; // what comes next follows a gap
                WaitForEvents();
            }
            continue;
        }
        destination.push_back(GetRxByte());
        --count;
    }
    return true;
}

std::uint8_t KorvelComm::GetRxByte() {
    return ring_.Take();
}

std::uint8_t KorvelComm::WaitByte(int timeoutMs) {
    timer1_->stop();
    timer1_->start(timeoutMs);
    Bytes byte;
    bool came = GetBytes(byte, 1);
    timer1_->stop();
    return came ? byte[0] : 0;
}

void KorvelComm::DelayMs(int ms) {
    if (ms <= 0) {
        PumpPending();
        return;
    }
    std::uint32_t start = TickCount();
    std::uint32_t wanted = static_cast<std::uint32_t>(ms);
    for (;;) {
        std::uint32_t passed = TicksSince(start, TickCount());
        if (passed >= wanted || state_.closing)
            break;
        delayTimer_->start(static_cast<int>(wanted - passed));
        WaitForEvents();
    }
    delayTimer_->stop();
}

void KorvelComm::SetWait() {
    if (state_.method == CheckMethod::Crc16) {
        Bytes acknowledgement;
        GetPacket(acknowledgement, true, kAcknowledgeMs);
    } else {
        DelayMs(kSetPauseMs);
    }
}

void KorvelComm::WriteRaw(const Bytes& bytes) {
    if (!state_.closing)
        port_.Write(bytes);
}

void KorvelComm::DiscardInput() {
    // Bytes the port or its driver still holds are as stale as those in the ring.
    port_.DiscardInput();
    ring_.Discard();
}

int KorvelComm::Connect() {
    Bytes reply;
    state_.method = CheckMethod::Checksum;
    SendPacket(kCmdRangeReading, state_.currentAddress, {}, false);
    if (GetPacket(reply, false, kReplyMs))
        return 1;
    state_.method = CheckMethod::Crc16;
    SendPacket(kCmdRangeReading, state_.currentAddress, {}, true);
    if (GetPacket(reply, true, kReplyMs))
        return 2;
    return 0;
}

void KorvelComm::ApdComPort1TriggerAvail(int) {
    QByteArray bytes = port_.ReadAll();
    if (!bytes.isEmpty())
        ring_.Put(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                  static_cast<std::size_t>(bytes.size()));
}

} // namespace vk::legacy
