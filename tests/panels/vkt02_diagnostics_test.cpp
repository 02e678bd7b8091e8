// The rows of the VKT02 panel's "Diagnostic" page.
#include "panels/vkt02_diagnostics.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

TEST(Vkt02Diagnostics, RowsAndValues) {
    EXPECT_STREQ(kVkt02DiagnosticRowNames[0], "Base pix.");
    EXPECT_STREQ(kVkt02DiagnosticRowNames[8], "");
    EXPECT_STREQ(kVkt02DiagnosticRowNames[9], "Range");

    Vkt02StateRecord state;
    state.basePixel = 65535; // pixel words are unsigned
    state.pixelSum = 40000;
    state.pixelCount = 12;
    state.subPixel = 3;
    state.range = 0x8000;     // shown only through the range text
    state.scanCount = 0xFFFE; // signed
    state.scanning = 0x0100;  // any non-zero word is "On"
    const auto values = Vkt02DiagnosticValues(state, 255, 0x8000, "Out of Range");
    const std::pair<int, const char*> expected[] = {
        {0, "65535"}, {1, "40000"},  {2, "12"},           {3, "3"}, {4, "-2"}, {5, "On"},
        {6, "255"},   {7, "-32768"}, {9, "Out of Range"},
    };
    ASSERT_EQ(values.size(), std::size(expected));
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values[i].row, expected[i].first);
        EXPECT_EQ(values[i].text, expected[i].second) << "row " << expected[i].first;
    }

    state.scanning = 0;
    EXPECT_EQ(Vkt02DiagnosticValues(state, 0, 0, "")[5].text, "Off");
}

} // namespace
} // namespace vk
