// "SetupVk2.ini" as whatever file the fuzzer makes up: read, its keys looked up and
// changed, and written back.
#include "legacy_tool/host_settings.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace vk::legacy;

std::filesystem::path folder;

void RemoveFolder() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

// In memory where there is such a folder: on a disk each save waits for the rename.
const std::filesystem::path& Folder() {
    if (folder.empty()) {
        std::error_code ec;
        std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                         ? std::filesystem::path("/dev/shm")
                                         : std::filesystem::temp_directory_path();
        folder = base / ("vk-fuzz-ini-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        std::atexit(RemoveFolder);
    }
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = (Folder() / "SetupVk2.ini").string();
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    IniFile file(path);
    HostSettings s = LoadHostSettings(file);
    file.ReadInteger(std::string(reinterpret_cast<const char*>(data), size > 8 ? 8 : size), "Port",
                     1);
    SaveHostSettings(file, {s.port + 1, s.baud});
    IniFile again(path);
    LoadHostSettings(again);
    return 0;
}
