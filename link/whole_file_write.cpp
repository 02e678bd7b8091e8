#include "link/whole_file_write.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace vk {

namespace {

namespace fs = std::filesystem;

long ProcessId() {
#ifdef _WIN32
    return static_cast<long>(_getpid());
#else
    return static_cast<long>(getpid());
#endif
}

// What a save writes to: the file itself, or the file a link at the path points to.
// Nothing when the path holds anything but a regular file or nothing.
std::optional<fs::path> SaveTarget(const std::string& path) {
    std::error_code ec;
    if (fs::symlink_status(path, ec).type() == fs::file_type::not_found)
        return fs::path(path);
    if (!fs::is_regular_file(fs::status(path, ec)))
        return std::nullopt;
    fs::path target = fs::canonical(path, ec);
    if (ec)
        return std::nullopt;
    return target;
}

// A file nobody may write is left alone, even by a user whom the system would let
// replace it; opening to append changes nothing and tells what the system allows.
bool Writable(const fs::path& file) {
    std::error_code ec;
    fs::perms p = fs::status(file, ec).permissions();
    if (ec || (p & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) ==
                  fs::perms::none)
        return false;
    return static_cast<bool>(std::ofstream(file, std::ios::binary | std::ios::app));
}

// A new file beside `target` under a name nobody else uses: "x" makes it afresh, so it is
// never one another program (or another save) put there. Null when none could be made.
std::FILE* CreateFresh(const fs::path& target, fs::path& fresh) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        fresh = target;
        fresh += ".new-" + std::to_string(ProcessId()) + "-" + std::to_string(counter++);
        errno = 0;
        if (std::FILE* out = std::fopen(fresh.string().c_str(), "wbx"))
            return out;
        if (errno != EEXIST) // left behind by a process of the same number: try the next
            break;
    }
    return nullptr;
}

bool Fail(std::string* error, const char* why) {
    if (error)
        *error = why;
    return false;
}

} // namespace

bool ReplaceFileWhole(const std::string& path, const std::string& bytes, std::string* error) {
    const std::optional<fs::path> target = SaveTarget(path);
    if (!target)
        return Fail(error, "it is not a regular file");
    std::error_code ec;
    const bool replacing = fs::exists(*target, ec);
    if (replacing && !Writable(*target))
        return Fail(error, "it is read-only");
    fs::path fresh;
    std::FILE* out = CreateFresh(*target, fresh);
    if (!out)
        return Fail(error, "no new file could be made beside it");
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    ok = std::fflush(out) == 0 && ok;
    ok = std::fclose(out) == 0 && ok;
    if (ok && replacing)
        fs::permissions(fresh, fs::status(*target, ec).permissions(), ec);
    if (ok)
        fs::rename(fresh, *target, ec);
    if (!ok || ec) {
        fs::remove(fresh, ec); // made by this save, so no one else's
        return Fail(error, "it could not be written");
    }
    return true;
}

} // namespace vk
