#include "link/dcs_link.h"

#include <cstring>

namespace vk {

DcsLink::~DcsLink() {
    ClosePort();
}

bool DcsLink::OpenPort(std::uint32_t portNumber, std::int32_t baudRate, std::int32_t parity,
                       std::int32_t stopBits, std::int32_t dataBits, std::uint32_t readTimeoutMs,
                       std::uint32_t writeTimeoutMs) {
    return OpenPortName("COM" + std::to_string(portNumber), baudRate, parity, stopBits, dataBits,
                        readTimeoutMs, writeTimeoutMs);
}

bool DcsLink::OpenPortName(const std::string& name, std::int32_t baudRate, std::int32_t parity,
                           std::int32_t stopBits, std::int32_t dataBits,
                           std::uint32_t readTimeoutMs, std::uint32_t writeTimeoutMs) {
    if (!sc_Close(handle_, &error_)) {
        handle_ = kInvalidPortHandle;
        return false;
    }
    handle_ = kInvalidPortHandle;
    settings_.baudRate = baudRate;
    settings_.parity = parity;
    settings_.stopBits = stopBits;
    settings_.dataBits = dataBits;
    settings_.readTimeoutMs = static_cast<std::int32_t>(readTimeoutMs);
    settings_.writeTimeoutMs = static_cast<std::int32_t>(writeTimeoutMs);
    handle_ = sc_OpenName(name.c_str(), &error_);
    if (handle_ == kInvalidPortHandle)
        return false;
    if (!sc_SetSettings(handle_, &settings_, &error_) || !sc_PurgeBuffers(handle_, &error_))
        return false;
    PauseMs(250);
    return true;
}

bool DcsLink::ClosePort() {
    bool ok = sc_Close(handle_, &error_);
    handle_ = kInvalidPortHandle;
    return ok;
}

bool DcsLink::SetPortBaudRate(std::int32_t baudRate) {
    settings_.baudRate = baudRate;
    return sc_SetSettings(handle_, &settings_, &error_);
}

void DcsLink::GetPortSettings(PortSettings* out) const {
    if (out)
        *out = settings_;
}

bool DcsLink::DrainInput() {
    PauseMs(100);
    ReportQueuedInput();
    CommError scratch;
    sc_PurgeBuffers(handle_, &scratch);
    std::uint32_t flags = 0, inQueue = 0;
    if (sc_GetCommErrors(handle_, &flags, &inQueue) && inQueue > 0) {
        std::uint8_t discard[2048];
        std::size_t count = 0;
        std::size_t take = inQueue < sizeof discard ? inQueue : sizeof discard;
        sc_Read(handle_, discard, take, &count, 0, &scratch);
        Report(TraceDirection::Received, TraceKind::Stray, discard, count);
    }
    return true;
}

bool DcsLink::GetCommErrors(std::uint32_t* flags, std::uint32_t* inQueue) {
    return sc_GetCommErrors(handle_, flags, inQueue);
}

bool DcsLink::WriteRaw(const void* data, std::size_t length, std::size_t* count,
                       std::uint32_t timeoutMs) {
    std::size_t written = 0;
    const bool ok = sc_Write(handle_, data, length, &written, timeoutMs, &error_);
    Report(TraceDirection::Sent, TraceKind::Raw, static_cast<const std::uint8_t*>(data), written);
    if (count)
        *count = written;
    return ok;
}

bool DcsLink::ReadRaw(void* buffer, std::size_t length, std::size_t* count,
                      std::uint32_t timeoutMs) {
    std::size_t got = 0;
    const bool ok = sc_Read(handle_, buffer, length, &got, timeoutMs, &error_);
    Report(TraceDirection::Received, TraceKind::Raw, static_cast<const std::uint8_t*>(buffer), got);
    if (count)
        *count = got;
    return ok;
}

void DcsLink::Report(TraceDirection direction, TraceKind kind, const std::uint8_t* bytes,
                     std::size_t length, bool checkGood) {
    LinkObserver* observer = Observer();
    if (!observer || length == 0 || !bytes)
        return;
    observer->OnLinkTraffic(LinkTraffic{direction, kind, method_, checkGood, bytes, length});
}

void DcsLink::ReportQueuedInput() {
    if (!Observer())
        return;
    std::uint32_t flags = 0, inQueue = 0;
    if (!sc_GetCommErrors(handle_, &flags, &inQueue) || inQueue == 0)
        return;
    std::uint8_t queued[2048];
    std::size_t count = 0;
    CommError scratch;
    sc_Read(handle_, queued, inQueue < sizeof queued ? inQueue : sizeof queued, &count, 0,
            &scratch);
    Report(TraceDirection::Received, TraceKind::Stray, queued, count);
}

std::uint8_t DcsLink::dcs_Checksum(const FrameBuffer& frame) const {
    return FrameChecksum(frame.data(), frame[2] + 3u);
}

std::uint16_t DcsLink::dcs_Crc16(const FrameBuffer& frame) const {
    return FrameCrc16(frame.data(), frame[2] + 4u);
}

void DcsLink::dcs_FillCheck(FrameBuffer& frame) const {
    FillCheckField(frame.data(), method_);
}

void DcsLink::dcs_Recover() {
    PauseMs(kRecoveryPauseMs);
    // The failure that led here is what the caller quotes; a purge that fails on a
    // vanished device must not replace it.
    ReportQueuedInput();
    CommError scratch;
    sc_PurgeBuffers(handle_, &scratch);
}

bool DcsLink::dcs_WritePacket(FrameBuffer* frame, std::uint32_t timeoutMs) {
    if (!frame) {
        SetCommError(&error_, kErrInvalidArgument, "dcs_WritePacket: invalid argument");
        return false;
    }
    (*frame)[0] = kStx;
    std::size_t size = FrameSize(method_, (*frame)[2]);
    dcs_FillCheck(*frame);
    std::size_t written = 0;
    const bool ok = sc_Write(handle_, frame->data(), size, &written, timeoutMs, &error_);
    Report(TraceDirection::Sent, written == size ? TraceKind::Frame : TraceKind::Partial,
           frame->data(), written);
    if (!ok) {
        dcs_Recover();
        return false;
    }
    if (written < size) {
        SetCommError(&error_, kErrShortWrite,
                     "dcs_WritePacket could not write complete packet (attemptedBytes=%d, "
                     "completedBytes=%d)",
                     static_cast<int>(size), static_cast<int>(written));
        dcs_Recover();
        return false;
    }
    return true;
}

bool DcsLink::dcs_ReadHeader(FrameBuffer* frame, const DeadlineTimer& timer) {
    // Skipped bytes are gathered only for an observer, and handed over in runs.
    std::array<std::uint8_t, 64> skipped;
    std::size_t skippedCount = 0;
    const bool tracing = Observer() != nullptr;
    auto reportSkipped = [&] {
        Report(TraceDirection::Received, TraceKind::Stray, skipped.data(), skippedCount);
        skippedCount = 0;
    };
    bool found = false;
    for (;;) {
        std::size_t count = 0;
        if (!sc_Read(handle_, frame->data(), 1, &count, timer.RemainingMs(), &error_)) {
            reportSkipped();
            return false;
        }
        if (count == 1 && (*frame)[0] == kStx) {
            found = true;
            break;
        }
        if (count == 1 && tracing) {
            skipped[skippedCount++] = (*frame)[0];
            if (skippedCount == skipped.size())
                reportSkipped();
        }
        if (timer.RemainingTicks() == 0)
            break;
    }
    reportSkipped();
    if (!found) {
        SetCommError(&error_, kErrNoStartByte, "dcs_ReadHeader timeout waiting for STX");
        return false;
    }
    std::size_t count = 0;
    const bool ok = sc_Read(handle_, frame->data() + 1, 3, &count, timer.RemainingMs(), &error_);
    if (!ok || count < 3)
        Report(TraceDirection::Received, TraceKind::Partial, frame->data(), 1 + count);
    if (!ok)
        return false;
    if (count < 3) {
        SetCommError(&error_, kErrIncomplete,
                     "dcs_ReadHeader did not receive complete packet header.");
        return false;
    }
    return true;
}

bool DcsLink::dcs_ReadPacket(FrameBuffer* frame, std::uint32_t timeoutMs, bool verify) {
    if (!frame) {
        SetCommError(&error_, kErrInvalidArgument, "dcs_ReadPacket: invalid argument");
        return false;
    }
    DeadlineTimer timer;
    timer.Start(std::uint64_t{timeoutMs} * 1000);
    if (!dcs_ReadHeader(frame, timer)) {
        dcs_Recover();
        return false;
    }
    // At most LENGTH + 2 = 257 bytes after the header: always inside the 261-byte buffer.
    std::size_t expected = BytesAfterHeader(method_, (*frame)[2]);
    std::size_t count = 0;
    const bool ok = sc_Read(handle_, frame->data() + kHeaderSize, expected, &count,
                            timer.RemainingMs(), &error_);
    if (!ok || count < expected) {
        Report(TraceDirection::Received, TraceKind::Partial, frame->data(), kHeaderSize + count);
    } else if (Observer()) {
        Report(TraceDirection::Received, TraceKind::Frame, frame->data(), kHeaderSize + expected,
               CheckFieldValid(frame->data(), method_));
    }
    if (!ok) {
        dcs_Recover();
        return false;
    }
    if (count < expected) {
        SetCommError(&error_, kErrIncomplete,
                     "dcs_ReadPacket did not receive complete packet data (expectedBytes=%d, "
                     "actualBytes=%d)",
                     static_cast<int>(expected), static_cast<int>(count));
        dcs_Recover();
        return false;
    }
    if (!verify)
        return true;
    if (!CheckFieldValid(frame->data(), method_)) {
        SetCommError(&error_, kErrBadCheck, "dcs_ReadPacket detected an invalid checksum");
        dcs_Recover();
        return false;
    }
    return true;
}

bool DcsLink::dcs_SendAndConfirm(FrameBuffer* frame, std::uint32_t timeoutMs, bool checkId,
                                 bool verify) {
    if (!frame) {
        SetCommError(&error_, kErrInvalidArgument, "dcs_WritePacket: invalid argument");
        return false;
    }
    std::uint8_t requestId = (*frame)[3];
    DeadlineTimer timer;
    timer.Start(std::uint64_t{timeoutMs} * 1000);
    if (!dcs_WritePacket(frame, timeoutMs))
        return false;
    if (!dcs_ReadPacket(frame, timer.RemainingMs(), verify))
        return false;
    if (checkId && (*frame)[3] != requestId) {
        SetCommError(&error_, kErrWrongPacketId, "dcs_SendAndConfirm received incorrect packet ID");
        return false;
    }
    return true;
}

bool DcsLink::BuildRequest(FrameBuffer* frame, std::uint8_t address, CheckMethod method,
                           std::uint8_t packetId, const std::uint8_t* payload, std::size_t length) {
    method_ = method;
    if (BuildFrame(*frame, method, address, packetId, payload, length) == 0) {
        SetCommError(&error_, kErrInvalidArgument, "dcs_WritePacket: invalid argument");
        return false;
    }
    return true;
}

void DcsLink::DiscardStaleInput() {
    // No answer to this request can be waiting before it is sent: whatever is there is a
    // stray frame or the rest of an earlier reply, and would be read in place of ours,
    // one frame late, for every exchange to come. A purge that fails leaves the error
    // to the write that follows.
    ReportQueuedInput();
    CommError scratch;
    sc_PurgeInput(handle_, &scratch);
}

bool DcsLink::dcs_Transact(std::uint8_t address, CheckMethod method, std::uint8_t packetId,
                           const std::uint8_t* request, std::size_t requestLength,
                           std::uint8_t* reply, std::size_t replyLength) {
    FrameBuffer frame{};
    if (!BuildRequest(&frame, address, method, packetId, request, requestLength))
        return false;
    if (replyLength > MaxPayload(method) || (replyLength && !reply)) {
        SetCommError(&error_, kErrInvalidArgument, "dcs_ReadPacket: invalid argument");
        return false;
    }
    DiscardStaleInput();
    if (!dcs_SendAndConfirm(&frame, kExchangeBudgetMs, true, true))
        return false;
    if (frame[2] != LengthByte(method, replyLength))
        return false;
    if (replyLength)
        std::memcpy(reply, frame.data() + kHeaderSize, replyLength);
    return true;
}

bool DcsLink::dcs_Send(std::uint8_t address, CheckMethod method, std::uint8_t packetId,
                       const std::uint8_t* payload, std::size_t length) {
    FrameBuffer frame{};
    if (!BuildRequest(&frame, address, method, packetId, payload, length))
        return false;
    DiscardStaleInput();
    return dcs_WritePacket(&frame, kExchangeBudgetMs);
}

bool DcsLink::dcs_ReceiveReply(CheckMethod method, std::uint8_t expectedId,
                               std::uint8_t* destination, std::size_t* lengthOut) {
    method_ = method;
    FrameBuffer frame{};
    if (!dcs_ReadPacket(&frame, kExchangeBudgetMs, true))
        return false;
    if (frame[3] != expectedId)
        return false;
    std::size_t length = PayloadLength(method, frame[2]);
    if (destination)
        std::memcpy(destination, frame.data() + kHeaderSize, length);
    if (lengthOut)
        *lengthOut = length;
    return true;
}

} // namespace vk
