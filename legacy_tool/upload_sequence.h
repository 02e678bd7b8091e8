#pragma once
// The upload of a firmware, FPGA or calibration image: the flash unlocked, the upload
// command (the sensor erases, then answers), and the image sent in XModem-CRC blocks as
// raw bytes outside the packet format, without waiting for the receiver's "C".

#include "legacy_tool/legacy_session.h"
#include "legacy_tool/upload_image.h"

#include <functional>

namespace vk::legacy {

// XModemSendBlock results.
enum XModemResult : int {
    kBlockSent = 0,       // sent and acknowledged
    kBlockNotAcked = 2,   // no ACK within 17 tries
    kEndNotAcked = 3,     // the EOT after the last block was not acknowledged
    kCancelledByPeer = 5, // the receiver sent CAN CAN
};

// Sends block `number` (from 1) with its 128 data bytes and waits up to 2 s for the
// answer; anything but ACK, silence included, counts as an error and sends the block
// again, except that a "C" is no answer to block 1 (the wait goes on). After the last
// block, EOT likewise; its errors add to the block's.
int XModemSendBlock(KorvelComm& comm, std::size_t number, const std::uint8_t* data, bool last);

// WriteFlashProtect1 (0xAA) and WriteFlashProtect2 (0x55), each followed by its pause.
void UnlockFlash(LegacySession& session);
// The upload `command`, whose answer (the flash erased) is awaited for 5 s. The state's
// last error tells why when it Failed.
EraseVerdict StartUpload(LegacySession& session, std::uint8_t command);

// Throws away what the receiver sent before, then sends `image` block by block, telling
// `progress` the percentage after each block; stops at the first block that fails. The
// last XModemSendBlock result.
int SendImage(KorvelComm& comm, const UploadImage& image, const std::function<void(int)>& progress);

} // namespace vk::legacy
