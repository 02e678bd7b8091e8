#include "util_app/main_menus.h"

#include "util_app/main_actions.h"

#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QWidget>

namespace vk {

MainMenus BuildMainMenu(QMenuBar* bar, const MainActions& a) {
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(a.Action(CommandId::Connect));
    file->addAction(a.Action(CommandId::FindSensors));
    file->addAction(a.Action(CommandId::Disconnect));
    file->addSeparator();
    file->addAction(a.Action(CommandId::Exit));

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit "));
    edit->addAction(a.Action(CommandId::Address));
    QMenu* method = edit->addMenu(QStringLiteral("Error checking method"));
    method->addAction(a.Action(CommandId::Checksum));
    method->addAction(a.Action(CommandId::Crc));
    edit->addAction(a.Action(CommandId::BaudRate));
    edit->addSeparator();
    edit->addAction(a.Action(CommandId::SensorSettings));
    edit->addAction(a.Action(CommandId::SerialAndModel));
    edit->addAction(a.Action(CommandId::Upload));
    edit->addAction(a.Action(CommandId::ResetSensor));
    edit->addSeparator();
    edit->addAction(a.Action(CommandId::SetDefaults));

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->addAction(a.Action(CommandId::ViewToolbar));
    view->addAction(a.Action(CommandId::ViewStatusBar));
    view->addAction(a.Action(CommandId::ViewSensorBar));
    view->addAction(a.Action(CommandId::ViewLogBar));
    view->addSeparator();
    view->addAction(a.Action(CommandId::ClearLog));

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(a.Action(CommandId::About));

    file->setObjectName(QStringLiteral("fileMenu"));
    edit->setObjectName(QStringLiteral("editMenu"));
    method->setObjectName(QStringLiteral("checkMethodMenu"));
    view->setObjectName(QStringLiteral("viewMenu"));
    help->setObjectName(QStringLiteral("helpMenu"));
    return {{file, edit, method, view, help}, edit, file, view};
}

void BuildToolBar(QToolBar* toolbar, const MainActions& a) {
    toolbar->addAction(a.Action(CommandId::Connect));
    toolbar->addAction(a.Action(CommandId::Disconnect));
    toolbar->addSeparator();
    toolbar->addAction(a.Action(CommandId::Address));
    toolbar->addAction(a.Action(CommandId::SetDefaults));
    toolbar->addAction(a.Action(CommandId::ReloadSettings));
    toolbar->addAction(a.Action(CommandId::About));
    // A screen reader names a button by its words; one that shows only its icon is named
    // by its tooltip, and the reload button, which has neither, by what it does.
    for (QAction* action : toolbar->actions()) {
        QWidget* button = toolbar->widgetForAction(action);
        if (!button || action->isSeparator() || !action->text().isEmpty())
            continue;
        QString name = action->toolTip();
        if (name.isEmpty() && action == a.Action(CommandId::ReloadSettings))
            name = QStringLiteral("Reload settings");
        button->setAccessibleName(name);
    }
}

} // namespace vk
