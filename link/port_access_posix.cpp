#include "link/port_access.h"

#include "link/port_names.h"

#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vk {

namespace {

std::string GroupName(gid_t gid) {
    group entry{};
    group* found = nullptr;
    std::vector<char> buffer(16384);
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return {};
    return found->gr_name;
}

bool SessionHasGroup(gid_t gid) {
    if (getegid() == gid)
        return true;
    int count = getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(count > 0 ? count : 0));
    count = getgroups(static_cast<int>(groups.size()), groups.data());
    for (int i = 0; i < count; ++i) {
        if (groups[static_cast<std::size_t>(i)] == gid)
            return true;
    }
    return false;
}

// The login name, and whether the group database lists the user in `gid` by now.
bool UserInGroupDatabase(gid_t gid, std::string* user) {
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return false;
    *user = found->pw_name;
    int count = 64;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    if (getgrouplist(found->pw_name, found->pw_gid, groups.data(), &count) < 0) {
        groups.resize(static_cast<std::size_t>(count));
        if (getgrouplist(found->pw_name, found->pw_gid, groups.data(), &count) < 0)
            return false;
    }
    for (int i = 0; i < count; ++i) {
        if (groups[static_cast<std::size_t>(i)] == gid)
            return true;
    }
    return false;
}

} // namespace

std::string PortAccessHint(const std::string& name) {
    const std::string device = PortDeviceName(name);
    struct stat info {};
    if (stat(device.c_str(), &info) != 0)
        return {};
    if (access(device.c_str(), R_OK | W_OK) == 0 || errno != EACCES)
        return {};
    // Only a group that may read and write the device is one to join; root's is not.
    constexpr mode_t kGroupReadWrite = S_IRGRP | S_IWGRP;
    if ((info.st_mode & kGroupReadWrite) != kGroupReadWrite || info.st_gid == 0 ||
        SessionHasGroup(info.st_gid))
        return {};
    const std::string group = GroupName(info.st_gid);
    if (group.empty())
        return {};
    std::string user;
    if (UserInGroupDatabase(info.st_gid, &user))
        return "hint: you joined group " + group + ", which may use " + device +
               ", after this session began: log out and in again";
    return "hint: only group " + group + " may use " + device +
           ", and you are not in it: " + "sudo usermod -aG " + group + " " +
           (user.empty() ? "$USER" : user) + ", then log out and in again";
}

} // namespace vk
