// Every page and dialog of the tool, as a screen reader finds it.

#include "legacy_test_support.h"
#include "legacy_tool/about_dialog.h"
#include "legacy_tool/select_port_dialog.h"
#include "tests/widgets/readable_widgets.h"

#include <gtest/gtest.h>

namespace vk::legacy::test {
namespace {

using ReadableForm = FormFixture;

TEST_F(ReadableForm, EveryControlOfEveryPageAndDialogIsNamed) {
    MakeForm();
    std::vector<std::string> unnamed = vk::test::UnnamedControls(form.get());
    TdlgAbout about(form.get());
    SelectPortDialog select({QStringLiteral("COM1"), QStringLiteral("COM33")}, form.get());
    for (QDialog* dialog : {static_cast<QDialog*>(&about), static_cast<QDialog*>(&select)}) {
        const std::vector<std::string> more = vk::test::UnnamedControls(dialog);
        unnamed.insert(unnamed.end(), more.begin(), more.end());
    }
    EXPECT_TRUE(unnamed.empty()) << ::testing::PrintToString(unnamed);
}

} // namespace
} // namespace vk::legacy::test
