#pragma once
// The upload of a file into a sensor's flash: unlock the flash, send the kind's upload
// command, stream the file with XModem-CRC and lock the flash again.

#include "sensor/upload_file.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vk {

class SensorDevice;
class XModemSender;

// What the upload tells the window that shows it.
class UploadProgress {
public:
    virtual ~UploadProgress() = default;
    // The progress bar's position, 0 to 100.
    virtual void SetPercent(int percent) = 0;
    // At the start of every block: `sent` bytes have been handed over. The window shows it
    // and handles its waiting events here.
    virtual void BytesSent(std::size_t sent) = 0;
    // The transfer is over with the sender's `error` (0: the sensor took it whole); the
    // flash is locked next.
    virtual void TransferEnded(int error) = 0;
};

struct UploadResult {
    // False when the flash unlock or the upload command could not be sent: nothing was
    // streamed and the flash was left as it was (the commands logged why).
    bool streamed = false;
    // The sender's error after the transfer (XModemSender::kNoHandshake, ...); 0 for a
    // transfer the sensor took whole.
    int error = 0;
};

// Uploads `image` (at least one byte) of `kind` through `sensor`'s link with `sender`:
// drains the line, writes the protect words 0xAA and 0x55, sends the kind's upload
// command, streams every byte, and after a transfer, failed or not, writes both protect
// words 0. Progress goes to `progress` as it happens.
// Writes both flash-protect words 0, which locks the flash again. False when either
// failed (the command logged it).
bool LockFlash(SensorDevice& sensor);

UploadResult RunUpload(SensorDevice& sensor, XModemSender& sender, UploadKind kind,
                       const std::vector<std::uint8_t>& image, UploadProgress& progress);

} // namespace vk
