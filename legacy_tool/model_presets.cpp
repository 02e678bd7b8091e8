#include "legacy_tool/model_presets.h"

#include <array>

namespace vk::legacy {

namespace {

struct Preset {
    const char* listText;
    const char* field;
    const char* key;
};

constexpr std::array<Preset, 4> kPresets{{
    {"KR1-A-1", "0 KR1-A-1", "A"},
    {"KR2-BB-2", "0 KR2-BB-2", "BB"},
    {"KR3-CCC-3", "1 KR3-CCC-3", "CCC"},
    {"Other", "", ""},
}};

} // namespace

std::vector<std::string> ModelListTexts() {
    std::vector<std::string> texts;
    for (const Preset& p : kPresets)
        texts.emplace_back(p.listText);
    return texts;
}

Bytes ModelField(int row) {
    if (row < 0 || row >= kModelOther)
        return {};
    std::string text = kPresets[static_cast<std::size_t>(row)].field;
    Bytes field(kModelFieldSize, 0);
    for (std::size_t i = 0; i < text.size() && i < kModelFieldSize; ++i)
        field[i] = static_cast<std::uint8_t>(text[i]);
    return field;
}

int DetectModelRow(const std::string& modelText) {
    // Longest key first, so a name that holds several keys picks the longest.
    for (int row : {2, 1, 0}) {
        if (modelText.find(kPresets[static_cast<std::size_t>(row)].key) != std::string::npos)
            return row;
    }
    return kModelOther;
}

} // namespace vk::legacy
