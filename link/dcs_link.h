#pragma once
// DcsLink: one serial port, its settings and last error, and the exchange rules by
// which a request is written and its reply found, checked and matched. Methods return
// true for success; on failure the link's CommError holds a code and a text to quote.
// Nothing here retries; every failed read or write pauses 250 ms and purges the port.

#include "link/comm_error.h"
#include "link/deadline_timer.h"
#include "link/frame.h"
#include "link/link_observer.h"
#include "link/port_settings.h"
#include "link/serial.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vk {

class DcsLink {
public:
    DcsLink() = default;
    ~DcsLink();
    DcsLink(const DcsLink&) = delete;
    DcsLink& operator=(const DcsLink&) = delete;

    // --- port ---------------------------------------------------------------
    // Closes any open port, stores the line settings, opens "COM<port>", applies the
    // settings, purges, then waits 250 ms so the line settles.
    bool OpenPort(std::uint32_t portNumber, std::int32_t baudRate, std::int32_t parity,
                  std::int32_t stopBits, std::int32_t dataBits, std::uint32_t readTimeoutMs,
                  std::uint32_t writeTimeoutMs);
    // The same for a port given by name ("COM5" or a device path).
    bool OpenPortName(const std::string& name, std::int32_t baudRate, std::int32_t parity,
                      std::int32_t stopBits, std::int32_t dataBits, std::uint32_t readTimeoutMs,
                      std::uint32_t writeTimeoutMs);
    // Closes the port; the link is closed afterwards even when closing failed.
    bool ClosePort();
    // Stores the speed and applies the whole settings record.
    bool SetPortBaudRate(std::int32_t baudRate);
    bool IsOpen() const { return handle_ != kInvalidPortHandle; }
    // True once a read or write of the open port found its device gone (sc_PortLost):
    // every exchange from then on fails, so a caller that polls should stop and say so.
    // The exchange that found it failed as usual. False while closed.
    bool PortLost() const { return sc_PortLost(handle_); }
    void GetPortSettings(PortSettings* out) const;
    const PortSettings& Settings() const { return settings_; }
    // Waits 100 ms, purges and throws away whatever still arrives. Always true.
    bool DrainInput();
    bool GetCommErrors(std::uint32_t* flags, std::uint32_t* inQueue);
    bool WriteRaw(const void* data, std::size_t length, std::size_t* count,
                  std::uint32_t timeoutMs);
    bool ReadRaw(void* buffer, std::size_t length, std::size_t* count, std::uint32_t timeoutMs);
    // Drops received bytes not read yet, at once; keeps the link's error record.
    void DiscardStaleInput();

    // --- frames -------------------------------------------------------------
    std::uint8_t dcs_Checksum(const FrameBuffer& frame) const;
    std::uint16_t dcs_Crc16(const FrameBuffer& frame) const;
    // Writes the check field for the link's current method.
    void dcs_FillCheck(FrameBuffer& frame) const;
    // Pause 250 ms, then purge both directions.
    void dcs_Recover();
    // Sets STX, the check field, and writes the frame within `timeoutMs`.
    bool dcs_WritePacket(FrameBuffer* frame, std::uint32_t timeoutMs);
    // Hunts for STX (dropping anything else) and reads address, LENGTH and packet ID.
    bool dcs_ReadHeader(FrameBuffer* frame, const DeadlineTimer& timer);
    // Reads one whole frame within `timeoutMs`; with `verify` checks its check field.
    bool dcs_ReadPacket(FrameBuffer* frame, std::uint32_t timeoutMs, bool verify);
    // Writes the request in `frame`, reads the reply into it, optionally matches the ID.
    bool dcs_SendAndConfirm(FrameBuffer* frame, std::uint32_t timeoutMs, bool checkId, bool verify);

    // --- exchange patterns of the command layer (1000 ms budget each) ------
    // The two requests below first drop what is waiting unread on the line: it cannot
    // answer a request not yet sent. dcs_ReceiveReply and the raw calls never do.
    //
    // One request, one reply of exactly `replyLength` payload bytes into `reply`.
    // `reply` is untouched on failure; a wrong reply length fails without a new text.
    bool dcs_Transact(std::uint8_t address, CheckMethod method, std::uint8_t packetId,
                      const std::uint8_t* request, std::size_t requestLength, std::uint8_t* reply,
                      std::size_t replyLength);
    // One request, no reply read.
    bool dcs_Send(std::uint8_t address, CheckMethod method, std::uint8_t packetId,
                  const std::uint8_t* payload, std::size_t length);
    // Reads one packet already on its way; its payload goes to `destination`, which must
    // hold kMaxPayload bytes. A packet with another ID fails without a new text.
    bool dcs_ReceiveReply(CheckMethod method, std::uint8_t expectedId, std::uint8_t* destination,
                          std::size_t* lengthOut);

    // --- trace -----------------------------------------------------------------
    // Sets the observer that sees the line's traffic from the next read or write on, or
    // none (null). Callable from any thread; the observer must outlive its use: keep it
    // alive until the exchange that may be calling it has ended.
    void SetObserver(LinkObserver* observer) {
        observer_.store(observer, std::memory_order_release);
    }
    LinkObserver* Observer() const { return observer_.load(std::memory_order_acquire); }

    CommError& Error() { return error_; }
    const CommError& Error() const { return error_; }
    const char* ErrorText() const { return error_.text; }
    CheckMethod Method() const { return method_; }

    static constexpr std::uint32_t kExchangeBudgetMs = 1000;
    static constexpr std::uint32_t kRecoveryPauseMs = 250;

private:
    bool BuildRequest(FrameBuffer* frame, std::uint8_t address, CheckMethod method,
                      std::uint8_t packetId, const std::uint8_t* payload, std::size_t length);
    // Tells the observer, if any, about `length` bytes (none: nothing is told).
    void Report(TraceDirection direction, TraceKind kind, const std::uint8_t* bytes,
                std::size_t length, bool checkGood = true);
    // With an observer, reads what waits unread so it shows as stray before a purge
    // drops it; without one, does nothing.
    void ReportQueuedInput();

    CommError error_;
    PortHandle handle_ = kInvalidPortHandle;
    PortSettings settings_;
    CheckMethod method_ = CheckMethod::Checksum;
    std::atomic<LinkObserver*> observer_{nullptr};
};

} // namespace vk
