// Every window and dialog of the utility, as a screen reader finds it and as a technician
// reads it on a screen of 800 x 600.

#include "tests/widgets/readable_widgets.h"
#include "util_app/docking_bars.h"
#include "util_app/find_sensors_dialog.h"
#include "util_app/frame.h"
#include "util_app/sensor_info.h"
#include "util_app/toolbar_icons.h"
#include "util_app/view.h"
#include "util_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>

#include <functional>

#include <gtest/gtest.h>

namespace vk::test {
namespace {

class ReadableWindows : public UtilTest {
protected:
    // What a window showed that a screen reader could not name, a list or a text cut
    // short, or one thing covering another.
    void Inspect(QWidget* window, const std::string& where) {
        for (const std::string& path : UnnamedControls(window))
            faults.push_back(where + ": unnamed " + path);
        for (const std::string& list : ClippedNameColumns(window))
            faults.push_back(where + ": clipped " + list);
        for (const std::string& text : CutTexts(window))
            faults.push_back(where + ": cut " + text);
        for (const std::string& pair : Overlapping(window))
            faults.push_back(where + ": " + pair);
    }
    // Runs `open` and inspects the dialog it opens, which is then cancelled; it must fit
    // a screen of 800 x 600 with its title bar.
    void InspectDialog(const std::function<void()>& open, const std::string& where) {
        WhenModal inspect([this, where](QWidget* modal) {
            modal->show(); // sizes and lays it out as the user sees it
            Inspect(modal, where);
            if (modal->width() > 800 || modal->height() > 600 - 32)
                faults.push_back(where + ": " + std::to_string(modal->width()) + " x " +
                                 std::to_string(modal->height()) + " does not fit 800 x 600");
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
            return true;
        });
        open();
        EXPECT_TRUE(inspect.Done()) << where;
    }
    // The main window at 800 x 600 with every page of the panel shown in turn.
    void InspectMainWindow(const std::string& where) {
        Frame().resize(800, 600);
        QCoreApplication::processEvents();
        if (Frame().size() != QSize(800, 600))
            faults.push_back(where + ": the main window needs more than 800 x 600");
        auto* pages = Frame().View()->CurrentPanel()->findChild<QTabWidget*>();
        for (int page = 0; page < (pages ? pages->count() : 1); ++page) {
            if (pages)
                pages->setCurrentIndex(page);
            Inspect(&Frame(), where + " page " + std::to_string(page));
        }
        if (pages)
            pages->setCurrentIndex(0);
    }
    std::vector<std::string> faults;
};

TEST_F(ReadableWindows, EveryControlIsNamedAndNothingIsCutAt800x600) {
    Start({"-QXV"}); // the factory's dialogs too
    Frame().show();
    const QFont font = QApplication::font();
    // The desktop's font, and one size larger.
    for (double larger : {0.0, 1.0}) {
        QFont bigger = font;
        bigger.setPointSizeF(font.pointSizeF() + larger);
        QApplication::setFont(bigger);
        const std::string size = larger > 0 ? " (larger font)" : "";
        InspectMainWindow("main window" + size);
        InspectDialog([this] { Frame().RunCommand(CommandId::Connect); }, "Connect" + size);
        {
            CFindSensorsDlg find("/nonexistent", {}, {});
            find.show();
            Inspect(&find, "Find Sensors" + size);
        }
        for (const char* model : {"VKT02", "VKT04", "BF", "RMXS", "RMXL"}) {
            const std::string name = model + size;
            ASSERT_TRUE(ConnectQuiet(model)) << model;
            // The values in place, as after the first polls.
            for (auto* box : Frame().findChildren<QCheckBox*>(QStringLiteral("updateDiagnostics")))
                if (Frame().View()->CurrentPanel()->isAncestorOf(box))
                    box->click();
            Frame().View()->UpdatePanel();
            InspectMainWindow(name);
            Frame().SensorBar()->Info()->Tabs()->setCurrentIndex(1);
            Inspect(&Frame(), name + " settings tab");
            Frame().SensorBar()->Info()->Tabs()->setCurrentIndex(0);
            for (CommandId id : {CommandId::SensorSettings, CommandId::Address, CommandId::BaudRate,
                                 CommandId::SerialAndModel, CommandId::Upload, CommandId::About})
                InspectDialog([this, id] { Frame().RunCommand(id); },
                              name + " dialog " + std::to_string(static_cast<int>(id)));
            // The scan buffer reader, from the panel that has one.
            for (auto* read :
                 Frame().findChildren<QPushButton*>(QStringLiteral("readScanBuffer"))) {
                if (Frame().View()->CurrentPanel()->isAncestorOf(read))
                    InspectDialog([read] { read->click(); }, name + " scan buffer");
            }
            Frame().RunCommand(CommandId::Disconnect);
        }
    }
    QApplication::setFont(font);
    for (const std::string& fault : faults)
        ADD_FAILURE() << fault;
}

TEST(ToolbarIcons, TheIconThemeFirstLetterTilesOnlyWhereItHasNone) {
    EnsureApplication();
    sim::test::ScopedPortDir themes; // any private folder
    const QString root = QString::fromStdString(themes.Path());
    QDir(root).mkpath(QStringLiteral("plain/16x16/actions"));
    QFile index(root + "/plain/index.theme");
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=plain\nDirectories=16x16/actions\n\n"
                "[16x16/actions]\nSize=16\nContext=Actions\nType=Fixed\n");
    index.close();
    QPixmap picture(16, 16);
    picture.fill(Qt::blue);
    // A theme that keeps only the "-symbolic" form of a name still serves it.
    ASSERT_TRUE(picture.save(root + "/plain/16x16/actions/view-refresh-symbolic.png"));
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
    QIcon::setThemeSearchPaths({root});
    QIcon::setThemeName(QStringLiteral("plain"));
    EXPECT_EQ(ToolbarIcon(CommandId::ReloadSettings).name(), "view-refresh-symbolic");
    // Nothing for "about": the letter tile.
    const QIcon about = ToolbarIcon(CommandId::About);
    EXPECT_TRUE(about.name().isEmpty());
    EXPECT_FALSE(about.pixmap(16, 16).isNull());
    QIcon::setThemeSearchPaths(searchPaths);
    QIcon::setThemeName(themeName);
}

} // namespace
} // namespace vk::test
