// An upload file as whatever file the fuzzer makes up: read into the image buffer and cut
// into XModem blocks; its first bytes also stand for the sensor's answer to the upload
// command.
//
// Input: a control byte (bit 0: the answer counts as a valid packet; bits 1-3: how many of
// the next bytes are the answer's reply buffer, the rest of it its check field), then the
// file.
#include "fuzz/require.h"
#include "legacy_tool/upload_image.h"
#include "link/xmodem.h"

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>

namespace {

using vk::fuzz::Require;

using namespace vk::legacy;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::uint8_t control = data[0];
    const std::uint8_t* file = data + 1;
    const std::size_t fileSize = size - 1;

    EraseAnswer answer;
    answer.valid = control & 1;
    std::size_t replyBytes = std::min<std::size_t>((control >> 1) & 7, fileSize);
    answer.reply.assign(file, file + replyBytes);
    answer.check.assign(file + replyBytes, file + std::min<std::size_t>(replyBytes + 2, fileSize));
    JudgeEraseAnswer(answer, 86);

    std::istringstream in(std::string(reinterpret_cast<const char*>(file), fileSize));
    UploadImage image = LoadUploadImage(in);
    Require(image.buffer.size() == kImageBufferSize);
    if (image.problem != UploadImage::Problem::None) {
        Require(image.size == 0);
        return 0;
    }
    Require(image.size == fileSize && image.size <= kImageBufferSize);
    Require(std::memcmp(image.buffer.data(), file, image.size) == 0);
    const std::size_t blocks = BlockCount(image.size);
    Require(blocks * vk::xmodem::kBlockData <= kImageBufferSize);
    for (std::size_t j = 1; j <= blocks; ++j) {
        Bytes frame = XModemBlockFrame(j, image.buffer.data() + (j - 1) * vk::xmodem::kBlockData);
        Require(frame.size() == vk::xmodem::kBlockSize);
        int percent = PercentDone(j, blocks);
        Require(percent >= 0 && percent <= 100);
    }
    Require(std::all_of(image.buffer.begin() + static_cast<std::ptrdiff_t>(image.size),
                        image.buffer.end(), [](std::uint8_t b) { return b == 0xFF; }));
    return 0;
}
