#include "sensor/upload_file.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

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

bool ReadUploadFile(const std::string& path, std::vector<std::uint8_t>* contents,
                    std::string* reason) {
    contents->clear();
    auto refuse = [reason](std::string why) {
        if (reason)
            *reason = std::move(why);
        return false;
    };
    if (path.empty())
        return refuse("no file chosen");
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (ec)
        return refuse(ec.message());
    if (status.type() == std::filesystem::file_type::not_found)
        return refuse(std::make_error_code(std::errc::no_such_file_or_directory).message());
    if (std::filesystem::is_directory(status))
        return refuse("a folder");
    if (!std::filesystem::is_regular_file(status))
        return refuse("not a regular file");
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec)
        return refuse(ec.message());
    if (size == 0)
        return refuse("empty");
    if (size > kMaxUploadFileBytes)
        return refuse("larger than 16 MiB (" + std::to_string(size) + " bytes)");
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return refuse(errno ? std::strerror(errno) : "cannot be opened");
    contents->resize(static_cast<std::size_t>(size));
    if (!file.read(reinterpret_cast<char*>(contents->data()), static_cast<std::streamsize>(size))) {
        contents->clear();
        return refuse("shorter than its size said while it was read");
    }
    return true;
}

} // namespace vk
