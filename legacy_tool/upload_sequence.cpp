#include "legacy_tool/upload_sequence.h"

#include "legacy_tool/legacy_codes.h"
#include "link/xmodem.h"

namespace vk::legacy {

namespace {

constexpr int kMaxErrors = 16;

enum class Answer { Ack, Cancel, Other };

// One answer byte; a CAN counts as cancelling only when a second one follows.
Answer AwaitAnswer(KorvelComm& comm, int& errors) {
    std::uint8_t byte = comm.WaitByte(kXModemByteMs);
    if (byte == xmodem::kAck)
        return Answer::Ack;
    ++errors;
    if (byte == xmodem::kCan && comm.WaitByte(kXModemByteMs) == xmodem::kCan)
        return Answer::Cancel;
    return Answer::Other;
}

} // namespace

int XModemSendBlock(KorvelComm& comm, std::size_t number, const std::uint8_t* data, bool last) {
    int errors = 0;
    const Bytes frame = XModemBlockFrame(number, data);
    for (;;) {
        comm.WriteRaw(frame);
        Answer a = AwaitAnswer(comm, errors);
        if (a == Answer::Cancel)
            return kCancelledByPeer;
        if (errors > kMaxErrors)
            return kBlockNotAcked;
        if (a == Answer::Ack)
            break;
    }
    while (last) {
        comm.WriteRaw({xmodem::kEot});
        Answer a = AwaitAnswer(comm, errors);
        if (a == Answer::Cancel)
            return kCancelledByPeer;
        if (errors > kMaxErrors)
            return kEndNotAcked;
        if (a == Answer::Ack)
            break;
    }
    return kBlockSent;
}

EraseVerdict UnlockAndErase(LegacySession& s, std::uint8_t command) {
    s.Tell(kCmdWriteFlashProtect1, {0xAA});
    s.Pause(kFlashProtectPauseMs);
    s.Tell(kCmdWriteFlashProtect2, {0x55});
    s.Pause(kFlashProtectPauseMs);
    s.Tell(command);
    EraseAnswer answer;
    answer.valid = s.Comm().GetPacket(answer.reply, s.Crc(), kEraseMs, &answer.check);
    return JudgeEraseAnswer(answer, command);
}

int SendImage(KorvelComm& comm, const UploadImage& image,
              const std::function<void(int)>& progress) {
    const std::size_t blocks = BlockCount(image.size);
    int result = kBlockSent;
    for (std::size_t j = 1; j <= blocks && result == kBlockSent; ++j) {
        result = XModemSendBlock(comm, j, image.buffer.data() + (j - 1) * xmodem::kBlockData,
                                 j == blocks);
        progress(PercentDone(j, blocks));
    }
    return result;
}

} // namespace vk::legacy
