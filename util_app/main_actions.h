#pragma once
// MainActions: one QAction per command of the main window, with its text, shortcut,
// prompts and icon. Menus and toolbar show these actions; Refresh sets their enabled and
// checked states from the rules.

#include "util_app/command_ids.h"
#include "util_app/command_rules.h"

#include <QObject>

#include <map>

class QAction;

namespace vk {

class MainActions : public QObject {
public:
    explicit MainActions(QWidget* owner);

    // The action of `id`; null for a number that has none.
    QAction* Action(CommandId id) const;
    const std::map<CommandId, QAction*>& All() const { return actions_; }
    // Applies CommandStateFor to every action.
    void Refresh(const CommandContext& context);

private:
    QAction* Add(CommandId id, const char* text, bool checkable = false);

    QWidget* owner_;
    std::map<CommandId, QAction*> actions_;
};

} // namespace vk
