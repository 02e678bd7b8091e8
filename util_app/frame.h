#pragma once
// CMainFrame: the main window. Menu, toolbar, status bar, the view in the centre and the
// two docking bars; every command goes to the document, and the commands' enabled and
// checked states are brought up to date before a menu opens, after every command and
// whenever the connection changes.

#include "sensor/log_sink.h"
#include "util_app/command_ids.h"
#include "util_app/command_prompts.h"

#include <QMainWindow>
#include <QString>

class QLabel;
class QMenu;
class QToolBar;

namespace vk {

class CLineTraceBar;
class CLogBar;
class CSensorBar;
class CSensorParentView;
class CVKT02Doc;
class MainActions;
struct MainMenus;
class Profile;
class RecordingControl;
class SensorProfileControl;

class CMainFrame : public QMainWindow {
public:
    // The name of the profile section prefix of the docking bars.
    static constexpr const char* kBarProfileName = "VkUtil";
    // The frame's window title after the document's: "<doc title> - Single Point Setup ".
    static constexpr const char* kTemplateTitle = "Single Point Setup ";
    // Lines the line trace shows at least when it first opens.
    static constexpr int kTraceLinesShown = 12;

    explicit CMainFrame(CVKT02Doc& doc, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CSensorParentView* View() const { return view_; }
    CSensorBar* SensorBar() const { return sensorBar_; }
    CLogBar* LogBar() const { return logBar_; }
    CLineTraceBar* LineTraceBar() const { return traceBar_; }
    RecordingControl* Recording() const { return recording_; }
    SensorProfileControl* Profiles() const { return profiles_; }
    QToolBar* ToolBar() const { return toolbar_; }
    // The "&Edit " menu; the "System:" bar opens it as its context menu.
    QMenu* EditMenu() const { return editMenu_; }
    const MainActions& Actions() const { return *actions_; }

    // Appends one line to the command log.
    void AddLogEntry(const char* text, LogIcon icon);
    // Runs a command as its menu item would, if it is enabled now; false otherwise.
    bool RunCommand(CommandId id);
    // Sets every command's enabled and checked state.
    void RefreshCommandStates();
    // Caption from the document's title.
    void UpdateTitle();
    // What the status bar shows while no prompt is up: "Ready", or why the connection
    // ended ("Port lost: COM1 (/dev/ttyUSB0)").
    void SetIdleText(const QString& text);

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateBars();
    // The line trace window and the CSV recording, with their menu items.
    void AddTraceAndRecording(const MainMenus& menus);
    // View > Line Trace opened the trace: its tab comes to the front, the first time with
    // room for kTraceLinesShown lines at least.
    void OpenTrace();
    // The trace closed: the room it first took goes back to the command log.
    void GiveBackTraceRoom();
    void ConnectCommands();
    void ShowAbout();
    void OpenFile();
    void SaveBarSizes();

    CVKT02Doc& doc_;
    MainActions* actions_;
    CSensorParentView* view_;
    QToolBar* toolbar_;
    QMenu* editMenu_ = nullptr;
    CSensorBar* sensorBar_ = nullptr;
    CLogBar* logBar_ = nullptr;
    CLineTraceBar* traceBar_ = nullptr;
    RecordingControl* recording_ = nullptr;
    QString idleText_ = QString::fromLatin1(kIdlePrompt);
    SensorProfileControl* profiles_ = nullptr;
    bool barsSized_ = false;
    bool traceSized_ = false;
    int roomBeforeTrace_ = 0; // the log's height before the trace first took room; 0 none
    bool closed_ = false;
};

} // namespace vk
