// The main window without a sensor: start-up, title, menus with their separators,
// shortcuts and states, toolbar, status bar, the docking bars and their sizes, the line
// trace's place.
#include "util_test_support.h"

#include "util_app/about_dialog.h"
#include "util_app/bar_sizes.h"
#include "util_app/command_rules.h"
#include "util_app/docking_bars.h"
#include "util_app/document.h"
#include "util_app/frame.h"
#include "util_app/line_trace_bar.h"
#include "util_app/log_dialog.h"
#include "util_app/main_actions.h"
#include "util_app/profile.h"
#include "util_app/view.h"

#include <QAction>
#include <QHelpEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolTip>

#include <map>

namespace vk::test {
namespace {

// One line per item: its text, or "-" for a separator, ">" + title for a submenu.
std::vector<std::string> Items(const QMenu* menu) {
    std::vector<std::string> items;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            items.push_back("-");
        else if (action->menu())
            items.push_back(action->menu()->title().toStdString().insert(0, 1, '>'));
        else
            items.push_back(action->text().toStdString());
    }
    return items;
}

const QMenu* Menu(const CMainFrame& frame, const char* name) {
    return frame.findChild<QMenu*>(QString::fromLatin1(name));
}

class MainWindowTest : public UtilTest {};

TEST_F(MainWindowTest, StartsWithItsMenusTitleAndIdleText) {
    Start();
    EXPECT_FALSE(app->ManufacturingMode());
    EXPECT_EQ(Frame().windowTitle(), "VkUtil - Single Point Setup ");
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_EQ(Frame().statusBar()->currentMessage(), "Ready");
    EXPECT_EQ(Frame().View()->CurrentPanel()->GetText(), "Not Connected");
    EXPECT_TRUE(LogTexts().empty());

    std::vector<std::string> titles;
    for (const QAction* menu : Frame().menuBar()->actions())
        titles.push_back(menu->text().toStdString());
    EXPECT_EQ(titles, (std::vector<std::string>{"&File", "&Edit ", "&View", "&Help"}));
    EXPECT_EQ(Items(Menu(Frame(), "fileMenu")),
              (std::vector<std::string>{"Co&nnect...\tCtrl+N", "&Find Sensors...",
                                        "&Disconnect  \tCtrl+D", "-", "Record to CSV...",
                                        "Stop Recording", "-", "Save Sensor Profile...",
                                        "Restore Sensor Profile...",
                                        "Compare with Sensor Profile...", "-", "E&xit"}));
    EXPECT_EQ(Items(Menu(Frame(), "editMenu")),
              (std::vector<std::string>{"Address...", ">Error checking method", "Boudrate...", "-",
                                        "Sensor Settings", "Serial Number and Model",
                                        "Upload FPGA / DSP / CAL Table", "Reset Sensor", "-",
                                        "Set sensor defaults"}));
    EXPECT_EQ(Items(Menu(Frame(), "checkMethodMenu")),
              (std::vector<std::string>{"Checksum", "CRC"}));
    EXPECT_EQ(Items(Menu(Frame(), "viewMenu")),
              (std::vector<std::string>{"&Toolbar", "&Status Bar", "Sensor setup", "Command log",
                                        "Line Trace", "-", "Clear log"}));
    EXPECT_EQ(Items(Menu(Frame(), "helpMenu")), (std::vector<std::string>{"&About VkUtil..."}));

    const MainActions& a = Frame().Actions();
    EXPECT_EQ(a.Action(CommandId::Connect)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(a.Action(CommandId::Disconnect)->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));
    EXPECT_EQ(a.Action(CommandId::Exit)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    EXPECT_EQ(a.Action(CommandId::About)->shortcut(), QKeySequence(QStringLiteral("F1")));
    const std::pair<const char*, const char*> more[] = {{"recordCsv", "Ctrl+Shift+R"},
                                                        {"stopRecording", "Ctrl+Shift+E"},
                                                        {"viewLineTrace", "Ctrl+Shift+T"}};
    for (const auto& [name, keys] : more)
        EXPECT_EQ(Frame().findChild<QAction*>(QString::fromLatin1(name))->shortcut(),
                  QKeySequence(QString::fromLatin1(keys)))
            << name;
    // No two commands share a key.
    std::map<QKeySequence, std::string> taken;
    for (const QAction* action : Frame().findChildren<QAction*>()) {
        if (action->shortcut().isEmpty())
            continue;
        const auto [at, fresh] =
            taken.emplace(action->shortcut(), action->objectName().toStdString());
        EXPECT_TRUE(fresh) << action->objectName().toStdString() << " and " << at->second;
    }
    EXPECT_EQ(a.Action(CommandId::Address)->statusTip(), "Set sensor address ");
    EXPECT_EQ(a.Action(CommandId::SetDefaults)->statusTip(), "Set sensor factory defaults ");
}

TEST_F(MainWindowTest, DisconnectedStatesWithAndWithoutManufacturingMode) {
    Start();
    CommandContext context;
    ExpectCommandStates(Frame(), context);
    for (CommandId id :
         {CommandId::Disconnect, CommandId::Address, CommandId::Checksum, CommandId::BaudRate,
          CommandId::SensorSettings, CommandId::SerialAndModel, CommandId::Upload,
          CommandId::ResetSensor, CommandId::SetDefaults, CommandId::ReloadSettings})
        EXPECT_FALSE(Frame().Actions().Action(id)->isEnabled()) << static_cast<int>(id);
    EXPECT_TRUE(Frame().Actions().Action(CommandId::Checksum)->isChecked());
    EXPECT_FALSE(Frame().RunCommand(CommandId::Disconnect));

    app.reset();
    Start({"-QXV"});
    EXPECT_TRUE(app->ManufacturingMode());
    context.manufacturing = true;
    ExpectCommandStates(Frame(), context); // factory items still need a connection

    app.reset();
    Start({"-QXV", "more"});
    EXPECT_FALSE(app->ManufacturingMode());
}

TEST_F(MainWindowTest, ToolbarHasItsSevenEntriesWithTheirTooltips) {
    Start();
    std::vector<std::string> entries;
    for (const QAction* action : Frame().ToolBar()->actions())
        entries.push_back(action->isSeparator() ? "-" : std::to_string(action->data().toInt()));
    EXPECT_EQ(entries,
              (std::vector<std::string>{"1012", "132", "-", "154", "143", "3007", "57664"}));
    const MainActions& a = Frame().Actions();
    EXPECT_EQ(a.Action(CommandId::Connect)->toolTip(), "New");
    EXPECT_EQ(a.Action(CommandId::Disconnect)->toolTip(), "Close connection");
    EXPECT_EQ(a.Action(CommandId::Address)->toolTip(), "Set sensor address ");
    EXPECT_EQ(a.Action(CommandId::SetDefaults)->toolTip(),
              " Reset the sensor to use all default values");
    EXPECT_EQ(a.Action(CommandId::ReloadSettings)->toolTip(), "");
    EXPECT_EQ(a.Action(CommandId::About)->toolTip(), "About");
    for (QAction* action : Frame().ToolBar()->actions())
        if (!action->isSeparator()) {
            EXPECT_FALSE(action->icon().isNull()) << action->data().toInt();
        }
    // Resting the mouse on a button shows its tooltip, also while the window is not the
    // active one.
    EXPECT_TRUE(Frame().testAttribute(Qt::WA_AlwaysShowToolTips));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Frame()));
    for (CommandId id : {CommandId::Connect, CommandId::SetDefaults}) {
        QWidget* button = Frame().ToolBar()->widgetForAction(a.Action(id));
        const QPoint middle = button->rect().center();
        QHelpEvent hover(QEvent::ToolTip, middle, button->mapToGlobal(middle));
        QCoreApplication::sendEvent(button, &hover);
        EXPECT_TRUE(QToolTip::isVisible()) << static_cast<int>(id);
        EXPECT_EQ(QToolTip::text(), a.Action(id)->toolTip());
        QToolTip::hideText();
    }
}

TEST_F(MainWindowTest, LineTraceOpensAsATabOfTheLogWithRoomForADozenLines) {
    Start();
    Frame().resize(800, 600);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Frame()));
    CLineTraceBar* trace = Frame().LineTraceBar();
    const int logHeight = Frame().LogBar()->height();
    trace->Model()->Append(std::vector<std::string>(40, "00:00:00.000 TX addr 1 ID 128"));
    auto toggle = [trace] {
        trace->toggleViewAction()->trigger();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    };
    toggle();
    EXPECT_TRUE(Frame().tabifiedDockWidgets(Frame().LogBar()).contains(trace));
    // The trace's tab is the one in front.
    EXPECT_FALSE(trace->visibleRegion().isEmpty());
    EXPECT_TRUE(Frame().LogBar()->visibleRegion().isEmpty());
    EXPECT_GE(trace->List()->viewport()->height(), 12 * trace->List()->sizeHintForRow(0));
    // Closed, it gives the command log its height back.
    toggle();
    EXPECT_NEAR(Frame().LogBar()->height(), logHeight, 2); // the layout rounds
}

TEST_F(MainWindowTest, ViewMenuShowsAndHidesTheBarsAndClearsTheLog) {
    Start();
    CommandContext context;
    ExpectCommandStates(Frame(), context);
    ASSERT_TRUE(Frame().RunCommand(CommandId::ViewLogBar));
    EXPECT_FALSE(Frame().LogBar()->isVisible());
    ASSERT_TRUE(Frame().RunCommand(CommandId::ViewSensorBar));
    EXPECT_FALSE(Frame().SensorBar()->isVisible());
    ASSERT_TRUE(Frame().RunCommand(CommandId::ViewToolbar));
    EXPECT_FALSE(Frame().ToolBar()->isVisible());
    ASSERT_TRUE(Frame().RunCommand(CommandId::ViewStatusBar));
    EXPECT_FALSE(Frame().statusBar()->isVisible());
    context.logBarVisible = context.sensorBarVisible = false;
    context.toolbarVisible = context.statusBarVisible = false;
    ExpectCommandStates(Frame(), context);

    ASSERT_TRUE(Frame().RunCommand(CommandId::ViewLogBar));
    EXPECT_TRUE(Frame().LogBar()->isVisible());
    EXPECT_TRUE(Frame().Actions().Action(CommandId::ViewLogBar)->isChecked());
    // A bar closed with its own button unticks its item too.
    Frame().SensorBar()->show();
    Frame().SensorBar()->close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(Frame().Actions().Action(CommandId::ViewSensorBar)->isChecked());

    app->LogMessage("one", LogIcon::Information);
    app->LogMessage("two", LogIcon::Error);
    EXPECT_EQ(LogTexts(), (std::vector<std::string>{"one", "two"}));
    ASSERT_TRUE(Frame().RunCommand(CommandId::ClearLog));
    EXPECT_TRUE(LogTexts().empty());
}

TEST_F(MainWindowTest, AboutBoxOpenAndQuitShortcuts) {
    Start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    QTest::keyClick(&Frame(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(prompts.shown,
              (std::vector<ScriptedPrompts::Shown>{{"open", "VKT02 Files (*.vkt02)"}}));
    std::string text;
    WhenModal about([&](QWidget* modal) {
        if (!dynamic_cast<CAboutDlg*>(modal))
            return false;
        text = modal->findChild<QLabel*>(QStringLiteral("versionText"))->text().toStdString();
        EXPECT_EQ(modal->windowTitle(), "About VkUtil");
        static_cast<QDialog*>(modal)->accept();
        return true;
    });
    QTest::keyClick(&Frame(), Qt::Key_F1);
    EXPECT_TRUE(about.Done());
    EXPECT_EQ(text, "VkUtil Version 1.0.1");
    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    QTest::keyClick(&Frame(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(Frame().isVisible());
}

TEST_F(MainWindowTest, LogLinesWithoutAWindowAreDropped) {
    CVkUtilApp idle({}, &prompts);
    idle.LogMessage("nobody sees this", LogIcon::Error); // must not crash
    EXPECT_EQ(idle.MainFrame(), nullptr);
}

TEST_F(MainWindowTest, BarSizesComeBackFromTheProfileAndBothAreKept) {
    Profile stored;
    const std::string section = BarSection("VkUtil", 50);
    SaveBarSizes(stored, section, BarSizes{QSize(500, 170), QSize(260, 300), QSize(320, 240)});
    // A value below the bars' minimum is not taken.
    stored.WriteInt(section, "sizeFloatCY", 5);

    Start();
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame().LogBar()->height(), 170);
    EXPECT_EQ(Frame().SensorBar()->width(), 260);
    EXPECT_EQ(Frame().SensorBar()->Sizes().floating, QSize(320, 200));

    // Both bars change; both sizes survive the restart although they share a section.
    Frame().resizeDocks({Frame().LogBar()}, {140}, Qt::Vertical);
    Frame().resizeDocks({Frame().SensorBar()}, {230}, Qt::Horizontal);
    QCoreApplication::processEvents();
    Frame().close();
    app.reset();
    EXPECT_EQ(stored.ReadInt(section, "sizeHorzCY", 0), 140);
    EXPECT_EQ(stored.ReadInt(section, "sizeVertCX", 0), 230);

    Start();
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame().LogBar()->height(), 140);
    EXPECT_EQ(Frame().SensorBar()->width(), 230);
    // The profile is in the test's own folder, under the utility's names.
    EXPECT_TRUE(QSettings(QStringLiteral("Korvel"), QStringLiteral("VkUil"))
                    .fileName()
                    .startsWith(QString::fromStdString(profile.Path())));
}

} // namespace
} // namespace vk::test
