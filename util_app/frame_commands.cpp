// What each command of the main window does.
#include "util_app/about_dialog.h"
#include "util_app/docking_bars.h"
#include "util_app/document.h"
#include "util_app/frame.h"
#include "util_app/log_dialog.h"
#include "util_app/main_actions.h"
#include "util_app/user_prompts.h"

#include <QAction>
#include <QStatusBar>
#include <QToolBar>

#include <functional>
#include <utility>

namespace vk {

// The document announces every change of the commands' states (connectionChanged) and
// the bars and the toolbar announce their own (visibilityChanged); the handlers refresh
// the states themselves only where nothing else does.
void CMainFrame::ConnectCommands() {
    auto on = [this](CommandId id, std::function<void()> handler) {
        connect(actions_->Action(id), &QAction::triggered, this, std::move(handler));
    };
    on(CommandId::Connect, [this] { doc_.Connect(); });
    on(CommandId::FindSensors, [this] { doc_.FindSensors(); });
    on(CommandId::Disconnect, [this] { doc_.Disconnect(); });
    on(CommandId::Exit, [this] { close(); });
    on(CommandId::Address, [this] { doc_.ChangeSensorAddress(); });
    on(CommandId::Checksum, [this] { doc_.SelectCheckMethod(CheckMethod::Checksum); });
    on(CommandId::Crc, [this] { doc_.SelectCheckMethod(CheckMethod::Crc16); });
    on(CommandId::BaudRate, [this] { doc_.ChangeBaudRate(); });
    on(CommandId::SensorSettings, [this] { doc_.ShowSensorSettings(); });
    on(CommandId::SerialAndModel, [this] { doc_.ShowSerialAndModel(); });
    on(CommandId::Upload, [this] { doc_.ShowUpload(); });
    on(CommandId::ResetSensor, [this] { doc_.ResetSensor(); });
    on(CommandId::SetDefaults, [this] { doc_.ResetToDefaults(); });
    on(CommandId::ReloadSettings, [this] { doc_.ReloadSettings(); });
    on(CommandId::ViewToolbar, [this] { toolbar_->setVisible(!toolbar_->isVisibleTo(this)); });
    on(CommandId::ViewStatusBar, [this] {
        statusBar()->setVisible(!statusBar()->isVisibleTo(this));
        RefreshCommandStates(); // the status bar has no signal of its own
    });
    on(CommandId::ViewSensorBar,
       [this] { sensorBar_->setVisible(!sensorBar_->isVisibleTo(this)); });
    on(CommandId::ViewLogBar, [this] { logBar_->setVisible(!logBar_->isVisibleTo(this)); });
    on(CommandId::ClearLog, [this] { logBar_->Log()->Clear(); });
    on(CommandId::About, [this] { ShowAbout(); });
    on(CommandId::Open, [this] { OpenFile(); });
}

void CMainFrame::ShowAbout() {
    CAboutDlg about(this);
    about.exec();
}

// The document keeps nothing in files, so a file chosen here is not read.
void CMainFrame::OpenFile() {
    doc_.Prompts().OpenFile(this, QStringLiteral("VKT02 Files (*.vkt02)"));
}

} // namespace vk
