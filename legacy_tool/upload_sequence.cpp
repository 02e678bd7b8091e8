#include "legacy_tool/upload_sequence.h"

#include "legacy_tool/legacy_codes.h"
#include "legacy_tool/tick_count.h"
#include "link/xmodem.h"

namespace vk::legacy {

namespace {

constexpr int kMaxErrors = 16;

enum class Answer { Ack, Cancel, Other };

// The answer byte, within 2 s. A receiver that opens the transfer with "C" may send one
// more while block 1 is on its way; it asks for what has already gone, so for block 1 it
// is no answer and the wait goes on for the rest of the 2 s.
std::uint8_t AnswerByte(KorvelComm& comm, bool firstBlock) {
    const std::uint32_t start = TickCount();
    for (;;) {
        const std::uint32_t passed = TicksSince(start, TickCount());
        if (passed >= static_cast<std::uint32_t>(kXModemByteMs))
            return 0;
        std::uint8_t byte = comm.WaitByte(kXModemByteMs - static_cast<int>(passed));
        if (!firstBlock || byte != xmodem::kCrcPrompt)
            return byte;
    }
}

// One answer byte; a CAN counts as cancelling only when a second one follows.
Answer AwaitAnswer(KorvelComm& comm, int& errors, bool firstBlock) {
    std::uint8_t byte = AnswerByte(comm, firstBlock);
    if (byte == xmodem::kAck)
        return Answer::Ack;
    ++errors;
    if (byte == xmodem::kCan && comm.WaitByte(kXModemByteMs) == xmodem::kCan)
        return Answer::Cancel;
    return Answer::Other;
}

// Writes `frame` until it is acknowledged; every other answer, silence included, counts
// in `errors`. kBlockSent, kCancelledByPeer, or `failure` once the errors pass 16.
int SendUntilAcknowledged(KorvelComm& comm, const Bytes& frame, int& errors, int failure,
                          bool firstBlock) {
    for (;;) {
        comm.WriteRaw(frame);
        Answer a = AwaitAnswer(comm, errors, firstBlock);
        if (a == Answer::Cancel)
            return kCancelledByPeer;
        if (errors > kMaxErrors)
            return failure;
        if (a == Answer::Ack)
            return kBlockSent;
    }
}

} // namespace

int XModemSendBlock(KorvelComm& comm, std::size_t number, const std::uint8_t* data, bool last) {
    int errors = 0;
    int result = SendUntilAcknowledged(comm, XModemBlockFrame(number, data), errors, kBlockNotAcked,
                                       number == 1);
    if (result != kBlockSent || !last)
        return result;
    // The EOT draws on the same count of errors as the block before it.
    return SendUntilAcknowledged(comm, {xmodem::kEot}, errors, kEndNotAcked, false);
}

void UnlockFlash(LegacySession& s) {
    s.Tell(kCmdWriteFlashProtect1, {0xAA});
    s.Pause(kFlashProtectPauseMs);
    s.Tell(kCmdWriteFlashProtect2, {0x55});
    s.Pause(kFlashProtectPauseMs);
}

EraseVerdict StartUpload(LegacySession& s, std::uint8_t command) {
    s.Tell(command);
    EraseAnswer answer;
    answer.valid = s.Comm().GetPacket(answer.reply, s.Crc(), kEraseMs, &answer.check);
    return JudgeEraseAnswer(answer, command);
}

int SendImage(KorvelComm& comm, const UploadImage& image,
              const std::function<void(int)>& progress) {
    const std::size_t blocks = BlockCount(image.size);
    // What the receiver sent while the flash was erased ("C" to open the transfer) would
    // be read as the answer to block 1, and every later answer one block late.
    comm.DiscardInput();
    int result = kBlockSent;
    for (std::size_t j = 1; j <= blocks && result == kBlockSent; ++j) {
        result = XModemSendBlock(comm, j, image.buffer.data() + (j - 1) * xmodem::kBlockData,
                                 j == blocks);
        progress(PercentDone(j, blocks));
    }
    return result;
}

} // namespace vk::legacy
