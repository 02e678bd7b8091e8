// The upload of a file the user picked, into a sensor that answers whatever the fuzzer
// makes up: the file read back whole, the size rules, and the transfer with its
// progress and error.
//
// Input: a kind byte, two bytes of file length (low byte first, cut to what follows),
// the file, then the line's records (see fake_line.h).
#include "fuzz/fake_line.h"
#include "link/dcs_link.h"
#include "link/xmodem_sender.h"
#include "sensor/sensor_device.h"
#include "sensor/upload_file.h"
#include "sensor/upload_sequence.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace vk;

void Require(bool condition) {
    if (!condition)
        __builtin_trap();
}

struct CheckedProgress : UploadProgress {
    explicit CheckedProgress(std::size_t size) : size(size) {}
    void SetPercent(int percent) override {
        Require(percent >= last && percent <= 100);
        last = percent;
    }
    void BytesSent(std::size_t sent) override {
        Require(sent % 128 == 0 && sent < size && ended == 0);
    }
    void TransferEnded(int error) override {
        Require(error >= 0 && error <= XModemSender::kEndNotAcked);
        ++ended;
    }
    std::size_t size;
    int last = 0;
    int ended = 0;
};

std::string FilePath() {
    return "/tmp/vk-fuzz-upload-" + std::to_string(getpid()) + ".bin";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    const auto kind = static_cast<UploadKind>(data[0] % kUploadKindCount);
    const std::size_t length = std::min<std::size_t>(data[1] | data[2] << 8, size - 3);
    const std::vector<std::uint8_t> file(data + 3, data + 3 + length);

    static const std::string path = FilePath();
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return 0;
    Require(std::fwrite(file.data(), 1, file.size(), out) == file.size());
    std::fclose(out);
    std::vector<std::uint8_t> contents{0xEE};
    const bool read = ReadUploadFile(path, &contents);
    Require(read == !file.empty() && contents == file);
    if (!read)
        return 0;
    UploadSizeUsual(kind, contents.size());

    fuzz::ResetLine(data + 3 + length, size - 3 - length, 0);
    DcsLink link;
    if (!link.OpenPortName("/dev/ttyFUZZ", 57600, 0, 0, 8, 100, 100))
        return 0;
    SensorDevice sensor;
    sensor.SetLink(&link);
    XModemSender sender;
    CheckedProgress progress(contents.size());
    const UploadResult result = RunUpload(sensor, sender, kind, contents, progress);
    Require(progress.ended == (result.streamed ? 1 : 0));
    Require(result.error == sender.Error());
    return 0;
}
