#pragma once
// Hooks the key filters and list guards onto the form's controls: a typed key the
// field's filter refuses never reaches it, and leaving a list with nothing selected runs
// its guard.

#include "legacy_tool/key_filters.h"

#include <QObject>

#include <functional>

class QComboBox;
class QLineEdit;

namespace vk::legacy {

// Applies `filter` to every character typed into `edit` (or into a list, for NoKeys).
void InstallKeyFilter(QLineEdit* edit, KeyFilter filter);
void InstallKeyFilter(QComboBox* list, KeyFilter filter);
// Lets no more than `maxLength` characters be typed into `edit`. Texts the tool sets are
// shown whole: a value from the sensor is never cut to fit what a user may type.
void InstallLengthLimit(QLineEdit* edit, int maxLength);
// Runs `guard` whenever `list` loses the focus.
void InstallExitGuard(QComboBox* list, std::function<void()> guard);

} // namespace vk::legacy
