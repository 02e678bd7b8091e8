#include "util_app/main_actions.h"

#include "util_app/command_prompts.h"
#include "util_app/toolbar_icons.h"

#include <QAction>
#include <QWidget>

namespace vk {

MainActions::MainActions(QWidget* owner) : QObject(owner), owner_(owner) {
    Add(CommandId::Connect, "Co&nnect...\tCtrl+N")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    Add(CommandId::FindSensors, "&Find Sensors...");
    Add(CommandId::Disconnect, "&Disconnect  \tCtrl+D")
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    Add(CommandId::Exit, "E&xit")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    Add(CommandId::Address, "Address...");
    Add(CommandId::Checksum, "Checksum", true);
    Add(CommandId::Crc, "CRC", true);
    Add(CommandId::BaudRate, "Boudrate...");
    Add(CommandId::SensorSettings, "Sensor Settings");
    Add(CommandId::SerialAndModel, "Serial Number and Model");
    Add(CommandId::Upload, "Upload FPGA / DSP / CAL Table");
    Add(CommandId::ResetSensor, "Reset Sensor");
    Add(CommandId::SetDefaults, "Set sensor defaults");
    Add(CommandId::ViewToolbar, "&Toolbar", true);
    Add(CommandId::ViewStatusBar, "&Status Bar", true);
    Add(CommandId::ViewSensorBar, "Sensor setup", true);
    Add(CommandId::ViewLogBar, "Command log", true);
    Add(CommandId::ClearLog, "Clear log");
    Add(CommandId::About, "&About VkUtil...")->setShortcut(QKeySequence(Qt::Key_F1));
    // Only on the toolbar, with no words of its own.
    Add(CommandId::ReloadSettings, "");
    // Only on the keyboard: it opens nothing the program could read.
    Add(CommandId::Open, "")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));

    for (CommandId id : {CommandId::Connect, CommandId::Disconnect, CommandId::Address,
                         CommandId::SetDefaults, CommandId::ReloadSettings, CommandId::About})
        actions_[id]->setIcon(ToolbarIcon(id));
}

QAction* MainActions::Add(CommandId id, const char* text, bool checkable) {
    auto* action = new QAction(QString::fromLatin1(text), owner_);
    action->setObjectName(QStringLiteral("command%1").arg(static_cast<int>(id)));
    action->setData(static_cast<int>(id));
    action->setCheckable(checkable);
    const CommandPrompt prompt = PromptFor(id);
    action->setStatusTip(QString::fromStdString(prompt.statusTip));
    // An empty tooltip would make Qt fall back to the item text; a button without a
    // prompt shows none instead.
    action->setToolTip(QString::fromStdString(prompt.toolTip));
    action->setIconVisibleInMenu(false);
    actions_[id] = action;
    owner_->addAction(action);
    return action;
}

QAction* MainActions::Action(CommandId id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void MainActions::Refresh(const CommandContext& context) {
    for (auto& [id, action] : actions_) {
        const CommandState state = CommandStateFor(id, context);
        action->setEnabled(state.enabled);
        if (action->isCheckable())
            action->setChecked(state.checked);
    }
}

} // namespace vk
