// Every window and dialog of the utility, as a screen reader finds it.

#include "tests/widgets/readable_widgets.h"
#include "util_app/find_sensors_dialog.h"
#include "util_app/frame.h"
#include "util_app/toolbar_icons.h"
#include "util_app/view.h"
#include "util_test_support.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <QPushButton>

#include <functional>

#include <gtest/gtest.h>

namespace vk::test {
namespace {

class ReadableWindows : public UtilTest {
protected:
    // What a window showed that a screen reader could not name, or a list cut short.
    void Inspect(QWidget* window, const std::string& where) {
        for (const std::string& path : UnnamedControls(window))
            faults.push_back(where + ": unnamed " + path);
        for (const std::string& list : ClippedNameColumns(window))
            faults.push_back(where + ": clipped " + list);
    }
    // Runs `open` and inspects the dialog it opens, which is then cancelled.
    void InspectDialog(const std::function<void()>& open, const std::string& where) {
        WhenModal inspect([this, where](QWidget* modal) {
            modal->show(); // sizes and lays it out as the user sees it
            Inspect(modal, where);
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
            return true;
        });
        open();
        EXPECT_TRUE(inspect.Done()) << where;
    }
    std::vector<std::string> faults;
};

TEST_F(ReadableWindows, EveryControlIsNamedAndEveryNameColumnFits) {
    Start({"-QXV"}); // the factory's dialogs too
    Frame().show();
    Inspect(&Frame(), "main window");
    InspectDialog([this] { Frame().RunCommand(CommandId::Connect); }, "Connect");
    {
        CFindSensorsDlg find("/nonexistent", {}, {});
        find.show();
        Inspect(&find, "Find Sensors");
    }
    for (const char* model : {"VKT02", "VKT04", "BF", "RMXS", "RMXL"}) {
        ASSERT_TRUE(ConnectQuiet(model)) << model;
        Inspect(&Frame(), model);
        for (CommandId id : {CommandId::SensorSettings, CommandId::Address, CommandId::BaudRate,
                             CommandId::SerialAndModel, CommandId::Upload, CommandId::About})
            InspectDialog([this, id] { Frame().RunCommand(id); },
                          std::string(model) + " dialog " + std::to_string(static_cast<int>(id)));
        // The scan buffer reader, from the panel that has one.
        for (auto* read : Frame().findChildren<QPushButton*>(QStringLiteral("readScanBuffer"))) {
            if (Frame().View()->CurrentPanel()->isAncestorOf(read))
                InspectDialog([read] { read->click(); }, std::string(model) + " scan buffer");
        }
        Frame().RunCommand(CommandId::Disconnect);
    }
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
