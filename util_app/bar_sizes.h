#pragma once
// The sizes a docking bar remembers: docked at the top or bottom ("Horz"), docked at
// the left or right ("Vert") and floating. They are kept in the profile as the six
// integers "sizeHorzCX" ... "sizeFloatCY" of the section "<profile name>-SCBar-<id>".

#include <QSize>

#include <string>

namespace vk {

class Profile;

struct BarSizes {
    QSize horz;
    QSize vert;
    QSize floating;
    friend bool operator==(const BarSizes&, const BarSizes&) = default;
};

// "VkUtil-SCBar-50" for profile name "VkUtil" and control id 50.
std::string BarSection(const std::string& profileName, int controlId);

// `defaults` with every stored value that is not below `minimum` (in its direction)
// taken over from the profile.
BarSizes LoadBarSizes(const Profile& profile, const std::string& section, const BarSizes& defaults,
                      QSize minimum);
// Writes all six values.
void SaveBarSizes(Profile& profile, const std::string& section, const BarSizes& sizes);

} // namespace vk
