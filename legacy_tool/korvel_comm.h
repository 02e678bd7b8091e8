#pragma once
// KorvelComm: the tool's link to the sensors. Requests are framed and written at once;
// the port's data-available event moves received bytes into the receive ring, and a
// reply is read out of the ring within one deadline kept by the one-shot reply timer.
// Every wait pumps the event queue, so the window stays alive while the tool waits.
// Once the window closes (the state's `closing`), nothing is written any more and every
// read and wait fails or ends at once, so a running sequence unwinds quietly.

#include "legacy_tool/com_port.h"
#include "legacy_tool/korvel_codec.h"
#include "legacy_tool/receive_ring.h"
#include "legacy_tool/tool_state.h"

#include <QObject>
#include <QTimer>

namespace vk::legacy {

class KorvelComm : public QObject {
public:
    // Reads and writes `state`: the check method (Connect), the last error (GetPacket).
    KorvelComm(ToolState& state, ComPort& port, QObject* parent = nullptr);

    // Throws away unread input, then writes the request for `code` to `address` in the
    // checksum or CRC variant. In the CRC variant its CRC becomes the last request CRC.
    void SendPacket(std::uint8_t code, std::uint8_t address, const Bytes& payload, bool crc);
    // Reads one reply into `reply` (start byte through the last payload byte) within
    // `timeoutMs`. Sets the last error (0 on success, 1 to 4 as LastError says).
    // `check`, when given, receives the check field as far as it came.
    bool GetPacket(Bytes& reply, bool crc, int timeoutMs, Bytes* check = nullptr);
    // Appends `count` received bytes to `destination` while the reply timer runs. False
    // when the timer ran out first, or when bytes after the ones read were lost to a full
    // receive ring.
    bool GetBytes(Bytes& destination, std::size_t count);
    // The next byte of the ring; 0 when it is empty.
    std::uint8_t GetRxByte();
    // Waits up to `timeoutMs` for one received byte, on the reply timer; 0 when none came.
    std::uint8_t WaitByte(int timeoutMs);
    // Waits at least `ms` milliseconds, handling events meanwhile.
    void DelayMs(int ms);
    // The wait after a request that carries a setting: the acknowledgement in the CRC
    // variant (300 ms, its result ignored), 200 ms in the checksum variant.
    void SetWait();
    // Raw bytes outside any frame.
    void WriteRaw(const Bytes& bytes);
    // Throws away every byte received and not yet read, in the ring and in the port.
    void DiscardInput();

    // Which check method the sensor at the current address answers: a range reading in
    // the checksum variant, then in the CRC variant, 500 ms each. 1 checksum, 2 CRC, 0 no
    // answer (the last error tells why). Leaves the state's method at the one that
    // answered, or at CRC.
    int Connect();

    // The data-available event of the port: every waiting byte into the ring.
    void ApdComPort1TriggerAvail(int count);

    QTimer& Timer1() { return *timer1_; }
    std::uint16_t LastRequestCrc() const { return lastRequestCrc_; }
    const ReceiveRing& Ring() const { return ring_; }

private:
    ToolState& state_;
    ComPort& port_;
    QTimer* timer1_;
    QTimer* delayTimer_;
    ReceiveRing ring_;
    std::uint16_t lastRequestCrc_ = 0;
};

} // namespace vk::legacy
