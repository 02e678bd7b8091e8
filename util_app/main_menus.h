#pragma once
// The menu bar and the toolbar of the main window, built from its actions.

#include <QList>

class QMenu;
class QMenuBar;
class QToolBar;

namespace vk {

class MainActions;

struct MainMenus {
    // Every menu, submenus included, so their states can be refreshed before they open.
    QList<QMenu*> all;
    // "&Edit ", which is also the context menu of the "System:" bar.
    QMenu* edit = nullptr;
    QMenu* file = nullptr;
    QMenu* view = nullptr;
};

// Fills `bar` with "&File", "&Edit ", "&View" and "&Help".
MainMenus BuildMainMenu(QMenuBar* bar, const MainActions& actions);

// Connect, Disconnect, a separator, Address, Set sensor defaults, reload settings, About.
void BuildToolBar(QToolBar* toolbar, const MainActions& actions);

} // namespace vk
