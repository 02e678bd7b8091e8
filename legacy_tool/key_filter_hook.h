#pragma once
// Hooks the key filters and list guards onto the form's controls: a typed character the
// field's filter refuses never reaches it, nothing reaches a filtered field by pasting,
// and leaving a list with nothing selected runs its guard.

#include "legacy_tool/key_filters.h"

#include <QObject>

#include <functional>

class QComboBox;
class QLineEdit;
class QWidget;

namespace vk::legacy {

// Applies `filter` to every character typed into `edit` (or into a list, for NoKeys).
// Keys that type no character the filter judges (Tab, Backtab, Escape, arrows, Ctrl+A)
// pass, so the focus still moves. Paste (Ctrl+V, Shift+Insert, a middle click), drops
// and input-method text are refused on `edit`: they would bring in what no key could type.
void InstallKeyFilter(QLineEdit* edit, KeyFilter filter);
void InstallKeyFilter(QComboBox* list, KeyFilter filter);
// Lets no more than `maxLength` characters be typed into `edit`. Texts the tool sets are
// shown whole: a value from the sensor is never cut to fit what a user may type.
void InstallLengthLimit(QLineEdit* edit, int maxLength);
// Runs `guard` whenever `list` loses the focus.
void InstallExitGuard(QComboBox* list, std::function<void()> guard);
// Removes the guards of every list inside `root`. A window calls it when it is being
// destroyed: the focus leaves its lists only after its own parts are gone.
void RemoveExitGuards(QWidget* root);

} // namespace vk::legacy
