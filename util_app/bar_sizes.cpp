#include "util_app/bar_sizes.h"

#include "util_app/profile.h"

namespace vk {

std::string BarSection(const std::string& profileName, int controlId) {
    return profileName + "-SCBar-" + std::to_string(controlId);
}

namespace {

int LoadOne(const Profile& profile, const std::string& section, const char* name, int fallback,
            int minimum) {
    const std::int64_t stored = profile.ReadInt(section, name, fallback);
    if (stored < minimum || stored > 100000)
        return fallback;
    return static_cast<int>(stored);
}

QSize LoadPair(const Profile& profile, const std::string& section, const char* cx, const char* cy,
               QSize fallback, QSize minimum) {
    return QSize(LoadOne(profile, section, cx, fallback.width(), minimum.width()),
                 LoadOne(profile, section, cy, fallback.height(), minimum.height()));
}

} // namespace

BarSizes LoadBarSizes(const Profile& profile, const std::string& section, const BarSizes& defaults,
                      QSize minimum) {
    return {LoadPair(profile, section, "sizeHorzCX", "sizeHorzCY", defaults.horz, minimum),
            LoadPair(profile, section, "sizeVertCX", "sizeVertCY", defaults.vert, minimum),
            LoadPair(profile, section, "sizeFloatCX", "sizeFloatCY", defaults.floating, minimum)};
}

void SaveBarSizes(Profile& profile, const std::string& section, const BarSizes& sizes) {
    profile.WriteInt(section, "sizeHorzCX", sizes.horz.width());
    profile.WriteInt(section, "sizeHorzCY", sizes.horz.height());
    profile.WriteInt(section, "sizeVertCX", sizes.vert.width());
    profile.WriteInt(section, "sizeVertCY", sizes.vert.height());
    profile.WriteInt(section, "sizeFloatCX", sizes.floating.width());
    profile.WriteInt(section, "sizeFloatCY", sizes.floating.height());
}

} // namespace vk
