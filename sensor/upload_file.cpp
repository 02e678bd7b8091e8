#include "sensor/upload_file.h"

#include <array>
#include <filesystem>
#include <fstream>

namespace vk {

namespace {

constexpr std::array<UploadKindInfo, kUploadKindCount> kKinds = {{
    {"FPGA", "Single point binary code file(*.bin)", 20000, 28000},
    {"DSP", "Single point binary code file(*.bin)", 64000, 66000},
    {"Calibration", "Single point binary calibration file(*.cal)", 0, 0},
}};

} // namespace

const UploadKindInfo* FindUploadKind(int index) {
    if (index < 0 || index >= kUploadKindCount)
        return nullptr;
    return &kKinds[static_cast<std::size_t>(index)];
}

const UploadKindInfo& UploadKindDetails(UploadKind kind) {
    return kKinds[static_cast<std::size_t>(kind)];
}

bool UploadSizeUsual(UploadKind kind, std::size_t size) {
    const UploadKindInfo& info = UploadKindDetails(kind);
    if (info.usualMin == 0 && info.usualMax == 0)
        return true;
    return size >= info.usualMin && size <= info.usualMax;
}

bool ReadUploadFile(const std::string& path, std::vector<std::uint8_t>* contents) {
    contents->clear();
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec))
        return false;
    std::ifstream file(path, std::ios::binary);
    if (!file.seekg(0, std::ios::end))
        return false;
    const std::streamoff size = file.tellg();
    if (size <= 0 || static_cast<std::uint64_t>(size) > kMaxUploadFileBytes)
        return false;
    if (!file.seekg(0, std::ios::beg))
        return false;
    contents->resize(static_cast<std::size_t>(size));
    if (!file.read(reinterpret_cast<char*>(contents->data()), size)) {
        contents->clear();
        return false;
    }
    return true;
}

} // namespace vk
