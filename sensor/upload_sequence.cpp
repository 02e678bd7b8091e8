#include "sensor/upload_sequence.h"

#include "link/xmodem_sender.h"
#include "sensor/sensor_device.h"

namespace vk {

namespace {

constexpr std::size_t kProgressStep = 128;

int Percent(std::size_t index, std::size_t size) {
    return static_cast<int>(std::uint64_t{index} * 100 / size);
}

bool SendUploadCommand(SensorDevice& sensor, UploadKind kind) {
    switch (kind) {
    case UploadKind::Fpga:
        return sensor.UploadFPGA();
    case UploadKind::Dsp:
        return sensor.UploadCode();
    case UploadKind::Calibration:
        return sensor.UploadCalibration();
    }
    return false;
}

// Hands every byte to the sender, the last one flagged; the index of the last byte
// handed over.
std::size_t Stream(XModemSender& sender, const std::vector<std::uint8_t>& image,
                   UploadProgress& progress) {
    const std::size_t size = image.size();
    if (size == 1) {
        sender.Send(image[0], true);
        return 0;
    }
    for (std::size_t i = 0;; ++i) {
        if (sender.Send(image[i], false) != 0)
            return i;
        if (i % kProgressStep == 0) {
            progress.SetPercent(Percent(i, size));
            progress.BytesSent(i);
        }
        if (i + 1 >= size - 1) {
            sender.Send(image[i + 1], true);
            return i + 1;
        }
    }
}

} // namespace

bool LockFlash(SensorDevice& sensor) {
    const bool first = sensor.WriteFlashProtect1(0);
    return sensor.WriteFlashProtect2(0) && first;
}

UploadResult RunUpload(SensorDevice& sensor, XModemSender& sender, UploadKind kind,
                       const std::vector<std::uint8_t>& image, UploadProgress& progress) {
    DcsLink* link = sensor.Link();
    if (!link || image.empty())
        return {};
    link->DrainInput();
    progress.SetPercent(0);
    if (!sensor.WriteFlashProtect1(0xAA) || !sensor.WriteFlashProtect2(0x55))
        return {};
    if (!SendUploadCommand(sensor, kind))
        return {};
    sender.SetLink(link);
    sender.Reset();
    const std::size_t last = Stream(sender, image, progress);
    progress.SetPercent(Percent(last, image.size()));
    UploadResult result{true, sender.Error()};
    progress.TransferEnded(result.error);
    LockFlash(sensor);
    return result;
}

} // namespace vk
