#pragma once
// The utility's per-user profile: QSettings("Korvel", "VkUil"), which on Windows is the
// registry key Software\Korvel\VkUil. A section name's backslash becomes a group
// separator, so "Settings\Communication timeouts" is the group
// "Settings/Communication timeouts".

#include "sensor/connection_host.h"

#include <QString>

#include <cstdint>
#include <string>

namespace vk {

class Profile : public ProfileWriter {
public:
    static constexpr const char* kOrganisation = "Korvel";
    static constexpr const char* kApplication = "VkUil";

    void WriteInt(const std::string& section, const std::string& name, std::int64_t value) override;
    void WriteText(const std::string& section, const std::string& name,
                   const std::string& value) override;
    // The stored text, or "" when there is none.
    std::string ReadText(const std::string& section, const std::string& name) const;
    // The stored value, or `fallback` when there is none or it is not a whole number.
    std::int64_t ReadInt(const std::string& section, const std::string& name,
                         std::int64_t fallback) const;

    // The settings key of a value: "<section with / for \>/<name>".
    static QString Key(const std::string& section, const std::string& name);
};

} // namespace vk
