#include "sensor/model_table.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace vk {

namespace {
constexpr std::int32_t Type(ModelType type) {
    return static_cast<std::int32_t>(type);
}
} // namespace

const std::array<ModelStringRecord, kModelStringRows> ModelStringTable = {{
    {Type(ModelType::RmxShort), 0, "0 RMX2000"},
    {Type(ModelType::RmxShort), 0, "0 RMX7-GG-77"},
    {Type(ModelType::RmxShort), 0, "O RMX2000"}, // a capital O, not a zero
    {Type(ModelType::RmxLong), 0, "1 RMXLONG"},
    {Type(ModelType::RmxLong), 0, "1 RMX2000LR"},
    {Type(ModelType::RmxLong), 0, "0 RMX2000LR"},
    {Type(ModelType::VKT04), 0, "0 K4-D-4"},
    {Type(ModelType::VKT04), 0, "0 K4-D-5HO"},
    {Type(ModelType::VKT04VezirOrududu), 0, "0 K4-D-4BF"},
    {Type(ModelType::VKT02), 0, "0 KR1-A-1"},
    {Type(ModelType::VKT02), 0, "0 KR2-BB-2"},
    {Type(ModelType::VKT02), 0, "1 KR3-CCC-3"},
    {Type(ModelType::VKT02), 0, "0 KR5-EE-5"},
    {Type(ModelType::VKT02), 0, "0 VKT-02"},
}};

std::optional<ModelType> FindModelType(const SensorText& modelName) {
    std::string_view reply = modelName.View();
    for (const auto& row : ModelStringTable) {
        std::string_view candidate(row.modelString,
                                   strnlen(row.modelString, sizeof row.modelString));
        if (candidate == reply)
            return static_cast<ModelType>(row.type);
    }
    return std::nullopt;
}

const char* ModelDisplayName(ModelType type) {
    switch (type) {
    case ModelType::VKT02:
        return "VKT02";
    case ModelType::VKT04:
        return "VKT04";
    case ModelType::RmxLong:
        return "Rmx Long";
    case ModelType::RmxShort:
        return "Rmx Short";
    case ModelType::VKT04VezirOrududu:
        return "VKT04 Vezir Orududu";
    }
    return "";
}

ModelTable MakeModelTable(const SettingsDialogs& dialogs) {
    auto entry = [](ModelType type, SettingsDialogLink* dialog) {
        return ModelEntry{type, ModelDisplayName(type), dialog};
    };
    return {{
        entry(ModelType::VKT02, dialogs.vkt02),
        entry(ModelType::VKT04, dialogs.vkt04),
        entry(ModelType::RmxLong, dialogs.vkt02),
        entry(ModelType::RmxShort, dialogs.rmxShort),
        entry(ModelType::VKT04VezirOrududu, dialogs.vezirOrududu),
    }};
}

std::string FirmwareVersionText(std::uint16_t hundredths, char revision) {
    char text[32];
    // %c of a zero byte would put the zero inside the text; cutting there is the same.
    std::snprintf(text, sizeof text, "%4.2f%c", hundredths * 0.01, revision);
    return text;
}

std::string FpgaVersionText(std::uint8_t tenths) {
    char text[32];
    std::snprintf(text, sizeof text, "%4.1f", tenths * 0.1);
    return text;
}

} // namespace vk
