#pragma once
// Labels that name the control they stand beside, so that a screen reader announces the
// control by the label's words and the label's mnemonic reaches it.

#include <QString>

class QAbstractButton;
class QLabel;
class QWidget;

namespace vk {

// A label with `text` for `control`, owned by `parent` (the control's parent when null),
// whose buddy is `control`; a control without an accessible name, and the field it hands
// its focus to, take the label's words.
QLabel* BuddyLabel(const QString& text, QWidget* control, QWidget* parent = nullptr);

// Names a field that has no label of its own after the button that acts on it ("Set
// Averaging Period" for the period's field), without the button's mnemonic. Returns
// `button`, to be laid out.
QAbstractButton* NameAfterButton(QWidget* field, QAbstractButton* button);

} // namespace vk
