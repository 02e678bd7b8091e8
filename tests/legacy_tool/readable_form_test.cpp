// Every page and dialog of the tool, as a screen reader finds it and as a technician reads
// it on a small screen.

#include "legacy_test_support.h"
#include "legacy_tool/about_dialog.h"
#include "legacy_tool/select_port_dialog.h"
#include "tests/widgets/readable_widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTabWidget>

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

// The default font, or one point larger.
class ReadableOnASmallScreen : public FormFixture, public ::testing::WithParamInterface<int> {
protected:
    ReadableOnASmallScreen() : font_(QApplication::font()) {
        QFont larger = font_;
        larger.setPointSizeF(font_.pointSizeF() + GetParam());
        QApplication::setFont(larger);
    }
    ~ReadableOnASmallScreen() override { QApplication::setFont(font_); }

    // What `window` shows now that is cut or covered, or does not fit an 800x600 screen
    // with a task bar below it and a title bar and frame around the window.
    void Inspect(QWidget* window, const std::string& where) {
        QCoreApplication::processEvents();
        for (const std::string& fault : vk::test::ClippedNameColumns(window))
            ADD_FAILURE() << where << ": clipped " << fault;
        for (const std::string& fault : vk::test::CutTexts(window))
            ADD_FAILURE() << where << ": cut " << fault;
        for (const std::string& fault : vk::test::Overlapping(window))
            ADD_FAILURE() << where << ": " << fault;
        const QSize room = QSize(800, 600) - QSize(2 * 8, 40 + 30 + 8);
        EXPECT_TRUE(window->width() <= room.width() && window->height() <= room.height())
            << where << ": " << window->width() << "x" << window->height() << " on 800x600";
    }

private:
    QFont font_;
};

TEST_P(ReadableOnASmallScreen, NothingIsCutOnAnyPageNorInTheDialogs) {
    MakeConnectedForm({sim::test::Sensor(1)});
    // The longest texts the tool puts where a sensor's answer goes.
    Find<QCheckBox>("cbxGlobal")->setChecked(true);
    Find<QLabel>("pnlCalibration")->setText("Calibration Fail");
    Find<QLabel>("pnlScanStatus")->setText("Not Scanning");
    Find<QLabel>("pnlLaser")->setText("LASER OFF");
    Find<QLineEdit>("editAvg")->setText("-21474836.48");
    Find<QLineEdit>("editRangeOffset")->setText("-3276.8");
    form->SetStatus("SetupVk2.ini could not be read: settings will not be saved");
    auto* pages = Find<QTabWidget>("PageControl1");
    auto* views = Find<QTabWidget>("PageControl2");
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        for (int view = 0; view < (page == 2 ? views->count() : 1); ++view) {
            views->setCurrentIndex(view);
            Inspect(form.get(), "page " + std::to_string(page) + "." + std::to_string(view));
        }
    }

    TdlgAbout& about = form->AboutDialog();
    about.show();
    about.findChild<QLineEdit*>("editPasswrod")->setVisible(true);
    Inspect(&about, "About");
    about.hide();
    SelectPortDialog select({QStringLiteral("COM1"), QStringLiteral("COM33 (/dev/ttyUSB0)")},
                            form.get());
    select.show();
    Inspect(&select, "Select Port");
}

INSTANTIATE_TEST_SUITE_P(DefaultAndLargerFont, ReadableOnASmallScreen, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param ? "Larger" : "Default"; });

} // namespace
} // namespace vk::legacy::test
