#include "util_app/frame.h"

#include "util_app/command_prompts.h"
#include "util_app/docking_bars.h"
#include "util_app/document.h"
#include "util_app/line_trace_bar.h"
#include "util_app/log_dialog.h"
#include "util_app/main_actions.h"
#include "util_app/main_menus.h"
#include "util_app/profile.h"
#include "util_app/recording_control.h"
#include "util_app/sensor_profile_control.h"
#include "util_app/toolbar_icons.h"
#include "util_app/view.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

namespace vk {

CMainFrame::CMainFrame(CVKT02Doc& doc, QWidget* parent)
    : QMainWindow(parent), doc_(doc), actions_(new MainActions(this)),
      view_(new CSensorParentView(this)), toolbar_(new QToolBar(QStringLiteral("Standard"), this)) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(ProgramIcon());
    // A toolbar button says what it does also while another window has the focus.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setCentralWidget(view_);

    const MainMenus menus = BuildMainMenu(menuBar(), *actions_);
    editMenu_ = menus.edit;
    for (QMenu* menu : menus.all)
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::RefreshCommandStates);

    toolbar_->setObjectName(QStringLiteral("toolBar"));
    toolbar_->setIconSize(QSize(16, 15));
    toolbar_->setMovable(true);
    BuildToolBar(toolbar_, *actions_);
    addToolBar(Qt::TopToolBarArea, toolbar_);

    // The idle text comes back whenever a prompt goes away.
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty())
            statusBar()->showMessage(idleText_);
    });
    statusBar()->showMessage(idleText_);

    setDockOptions(dockOptions() | QMainWindow::AllowNestedDocks);
    CreateBars();
    AddTraceAndRecording(menus);
    ConnectCommands();

    doc_.AttachView(view_);
    doc_.SetDialogParent(this);
    connect(&doc_, &CVKT02Doc::connectionChanged, this, &CMainFrame::RefreshCommandStates);
    // A lost port stays said in the status bar until the next connection.
    connect(&doc_, &CVKT02Doc::portLost, this, &CMainFrame::SetIdleText);
    connect(&doc_, &CVKT02Doc::connectionChanged, this, [this] {
        if (doc_.IsConnected())
            SetIdleText(QString::fromLatin1(kIdlePrompt));
    });
    connect(&doc_, &CVKT02Doc::sensorBarRefreshRequested, this, [this] {
        if (sensorBar_)
            sensorBar_->Refill();
    });
    UpdateTitle();
    resize(800, 600);
    RefreshCommandStates();
}

CMainFrame::~CMainFrame() {
    // Hiding the children while QWidget tears the window down emits signals; none may
    // reach this half-destroyed frame.
    for (QObject* sender :
         {static_cast<QObject*>(sensorBar_), static_cast<QObject*>(logBar_),
          static_cast<QObject*>(toolbar_), static_cast<QObject*>(statusBar()),
          static_cast<QObject*>(traceBar_), static_cast<QObject*>(&doc_),
          traceBar_ ? static_cast<QObject*>(traceBar_->toggleViewAction()) : nullptr})
        if (sender)
            disconnect(sender, nullptr, this, nullptr);
    SaveBarSizes();
    doc_.AttachView(nullptr);
    doc_.SetDialogParent(nullptr);
}

void CMainFrame::CreateBars() {
    Profile profile;
    const std::string section = BarSection(kBarProfileName, CSizingBar::kControlId);
    sensorBar_ = new CSensorBar(this, doc_);
    logBar_ = new CLogBar(this);
    for (CSizingBar* bar :
         {static_cast<CSizingBar*>(sensorBar_), static_cast<CSizingBar*>(logBar_)})
        bar->SetSizes(LoadBarSizes(profile, section, bar->Sizes(), CSizingBar::kMinimumSize));
    // A width from the profile is one the user had; without one the bar fits its text.
    sensorBar_->SetFitToText(profile.ReadInt(section, "sizeVertCX", -1) < 0);
    addDockWidget(Qt::LeftDockWidgetArea, sensorBar_);
    addDockWidget(Qt::BottomDockWidgetArea, logBar_);
    for (QDockWidget* bar :
         {static_cast<QDockWidget*>(sensorBar_), static_cast<QDockWidget*>(logBar_)})
        connect(bar, &QDockWidget::visibilityChanged, this, &CMainFrame::RefreshCommandStates);
    connect(toolbar_, &QToolBar::visibilityChanged, this, &CMainFrame::RefreshCommandStates);
}

void CMainFrame::AddTraceAndRecording(const MainMenus& menus) {
    recording_ = new RecordingControl(doc_, *this);
    QAction* exit = actions_->Action(CommandId::Exit);
    menus.file->insertAction(exit, recording_->RecordAction());
    menus.file->insertAction(exit, recording_->StopAction());
    menus.file->insertSeparator(exit);
    profiles_ = new SensorProfileControl(doc_, *this);
    for (QAction* action :
         {profiles_->SaveAction(), profiles_->RestoreAction(), profiles_->CompareAction()})
        menus.file->insertAction(exit, action);
    menus.file->insertSeparator(exit);

    traceBar_ = new CLineTraceBar(this, doc_.Connection().Link(), doc_.Prompts());
    // A tab beside the command log: the trace's lines get the whole width of the window.
    addDockWidget(Qt::BottomDockWidgetArea, traceBar_);
    tabifyDockWidget(logBar_, traceBar_);
    traceBar_->hide();
    QAction* showTrace = traceBar_->toggleViewAction();
    showTrace->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    connect(showTrace, &QAction::triggered, this, [this](bool shown) {
        if (shown)
            OpenTrace();
    });
    connect(showTrace, &QAction::toggled, this, [this](bool shown) {
        if (!shown)
            GiveBackTraceRoom();
    });
    // Right after "Command log", with the other windows.
    const QList<QAction*> viewItems = menus.view->actions();
    const qsizetype logAt = viewItems.indexOf(actions_->Action(CommandId::ViewLogBar));
    menus.view->insertAction(logAt + 1 < viewItems.size() ? viewItems[logAt + 1] : nullptr,
                             showTrace);
}

void CMainFrame::OpenTrace() {
    // The tab of a window just shown comes with the next layout; only then can it be
    // brought to the front.
    QMetaObject::invokeMethod(traceBar_, &QWidget::raise, Qt::QueuedConnection);
    const Qt::DockWidgetArea area = dockWidgetArea(traceBar_);
    if (traceSized_ || traceBar_->isFloating() ||
        (area != Qt::TopDockWidgetArea && area != Qt::BottomDockWidgetArea))
        return;
    // The first time it opens, a dozen lines at least, more in a taller window; what the
    // user makes of it afterwards stays. Tabs below the windows take their own room.
    traceSized_ = true;
    const int tabs = tabifiedDockWidgets(traceBar_).isEmpty() ? 0 : fontMetrics().height() + 12;
    const int wanted = std::max(traceBar_->HeightForLines(kTraceLinesShown) + tabs, height() / 3);
    const bool besideLog = logBar_->isVisible() && dockWidgetArea(logBar_) == area;
    const int before = besideLog ? logBar_->height() : 0;
    if (before >= wanted)
        return;
    roomBeforeTrace_ = before;
    resizeDocks({traceBar_}, {wanted}, Qt::Vertical);
}

void CMainFrame::GiveBackTraceRoom() {
    // The room the trace took when it first opened goes back to the command log when it
    // closes, once.
    if (closed_ || roomBeforeTrace_ <= 0 || !logBar_->isVisible() ||
        dockWidgetArea(logBar_) != dockWidgetArea(traceBar_))
        return;
    resizeDocks({logBar_}, {roomBeforeTrace_}, Qt::Vertical);
    roomBeforeTrace_ = 0;
}

// Both bars share one profile section. Each keeps the sizes it was docked with, so the
// section gets the top/bottom size from the bar docked there and the left/right size from
// the other: neither bar's last size is lost to the other's save.
void CMainFrame::SaveBarSizes() {
    if (!sensorBar_ || !logBar_ || !barsSized_)
        return;
    BarSizes merged = sensorBar_->Sizes();
    for (CSizingBar* bar :
         {static_cast<CSizingBar*>(sensorBar_), static_cast<CSizingBar*>(logBar_)}) {
        if (bar->isFloating()) {
            merged.floating = bar->Sizes().floating;
            continue;
        }
        const Qt::DockWidgetArea area = dockWidgetArea(bar);
        if (area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea)
            merged.horz = bar->Sizes().horz;
        else
            merged.vert = bar->Sizes().vert;
    }
    Profile profile;
    vk::SaveBarSizes(profile, BarSection(kBarProfileName, CSizingBar::kControlId), merged);
    barsSized_ = false;
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!barsSized_) {
        sensorBar_->ApplySize();
        logBar_->ApplySize();
        barsSized_ = true;
    }
}

bool CMainFrame::event(QEvent* event) {
    // A press between the window's parts starts a drag of a bar's edge: from then on the
    // bars keep the sizes the user gives them. (A press on a part that a child left to
    // its parent comes here too, but over that child.)
    if (event->type() == QEvent::MouseButtonPress && sensorBar_ &&
        !childAt(static_cast<QMouseEvent*>(event)->position().toPoint()))
        sensorBar_->SetFitToText(false);
    return QMainWindow::event(event);
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (sensorBar_)
        sensorBar_->FitToText();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        // The document closes with the window: the ticker stops before anything goes.
        doc_.Close();
        closed_ = true;
    }
    SaveBarSizes();
    event->accept();
}

void CMainFrame::SetIdleText(const QString& text) {
    if (idleText_ == text)
        return;
    idleText_ = text;
    statusBar()->showMessage(idleText_);
}

void CMainFrame::UpdateTitle() {
    setWindowTitle(doc_.Title() + QStringLiteral(" - ") + QString::fromLatin1(kTemplateTitle));
}

void CMainFrame::AddLogEntry(const char* text, LogIcon icon) {
    if (logBar_)
        logBar_->Log()->AddEntry(text, icon);
}

void CMainFrame::RefreshCommandStates() {
    CommandContext context;
    context.connected = doc_.IsConnected();
    context.manufacturing = doc_.ManufacturingMode();
    context.method = doc_.Connection().Sensor().Method();
    context.toolbarVisible = toolbar_->isVisibleTo(this);
    context.statusBarVisible = statusBar()->isVisibleTo(this);
    context.sensorBarVisible = sensorBar_ && sensorBar_->isVisibleTo(this);
    context.logBarVisible = logBar_ && logBar_->isVisibleTo(this);
    actions_->Refresh(context);
}

bool CMainFrame::RunCommand(CommandId id) {
    RefreshCommandStates();
    QAction* action = actions_->Action(id);
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}

} // namespace vk
