#include "legacy_tool/upload_image.h"

#include "link/xmodem.h"

#include <algorithm>
#include <array>

namespace vk::legacy {

namespace {

const std::array<UploadKindRow, 3> kKinds{{
    {"DSP", 86, 0, "Dsp Firmware upload?"},
    {"FPGA", 87, 1, "Fpga code upload?"},
    {"Calibration", 88, 2, "Calibration data upload?"},
}};

} // namespace

const UploadKindRow& UploadKindAt(int position) {
    if (position < 0 || position >= static_cast<int>(kKinds.size()))
        return kKinds[0];
    return kKinds[static_cast<std::size_t>(position)];
}

const std::vector<FileFilter>& UploadFileFilters() {
    static const std::vector<FileFilter> filters{{"DSP File ", "*rt*.bin"},
                                                 {"FPGA File", "*fpga*.bin"},
                                                 {"Cal File ", "*.cal"},
                                                 {"All [*.*]", "*.*"}};
    return filters;
}

UploadImage LoadUploadImage(std::istream& in) {
    UploadImage image;
    image.buffer.assign(kImageBufferSize + 1, 0xFF);
    in.read(reinterpret_cast<char*>(image.buffer.data()),
            static_cast<std::streamsize>(image.buffer.size()));
    if (in.bad()) {
        image.problem = UploadImage::Problem::Unreadable;
    } else {
        image.size = static_cast<std::size_t>(in.gcount());
        if (image.size == 0)
            image.problem = UploadImage::Problem::Empty;
        else if (image.size > kImageBufferSize)
            image.problem = UploadImage::Problem::TooLarge;
    }
    image.buffer.resize(kImageBufferSize);
    if (image.problem != UploadImage::Problem::None)
        image.size = 0;
    return image;
}

std::size_t BlockCount(std::size_t size) {
    return (size + xmodem::kBlockData - 1) / xmodem::kBlockData;
}

int PercentDone(std::size_t block, std::size_t blocks) {
    if (blocks == 0)
        return 0;
    std::size_t q = block * 100 / blocks;
    std::size_t twiceRest = 2 * (block * 100 % blocks);
    if (twiceRest > blocks || (twiceRest == blocks && q % 2 == 1))
        ++q;
    return static_cast<int>(q);
}

Bytes XModemBlockFrame(std::size_t number, const std::uint8_t* data) {
    Bytes frame;
    frame.reserve(xmodem::kBlockSize);
    frame.push_back(xmodem::kSoh);
    frame.push_back(static_cast<std::uint8_t>(number));
    frame.push_back(static_cast<std::uint8_t>(255 - frame.back()));
    frame.insert(frame.end(), data, data + xmodem::kBlockData);
    // The packet CRC of the data followed by two zero bytes is XModem's CRC.
    Bytes augmented(xmodem::kBlockData + 2, 0);
    std::copy_n(data, xmodem::kBlockData, augmented.begin());
    auto crc = CalcCrc16(augmented, 0);
    frame.insert(frame.end(), crc.begin(), crc.end());
    return frame;
}

EraseVerdict JudgeEraseAnswer(const EraseAnswer& answer, std::uint8_t command) {
    // A packet ID of 0 is the sensor's way of saying that it could not erase.
    if (answer.valid)
        return answer.reply.size() > 3 && answer.reply[3] != 0 ? EraseVerdict::Erased
                                                               : EraseVerdict::Refused;
    Bytes arrived = answer.reply;
    arrived.insert(arrived.end(), answer.check.begin(), answer.check.end());
    if (arrived.size() >= 4) {
        if (arrived[0] != kStx || arrived[2] != 0)
            return EraseVerdict::Failed;
        return arrived[3] == command ? EraseVerdict::Erased : EraseVerdict::Refused;
    }
    return !arrived.empty() && arrived[0] == xmodem::kAck ? EraseVerdict::Erased
                                                          : EraseVerdict::Failed;
}

} // namespace vk::legacy
