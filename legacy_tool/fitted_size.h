#pragma once
// Sizes that fit a widget to the longest text it is to show, measured in its own font and
// style, so the form is no larger than its values need at any font size and no value is
// cut.

class QLabel;
class QLineEdit;
class QString;

namespace vk::legacy {

// Keeps `edit` no wider than it takes to show `widest` whole.
void FitWidthTo(QLineEdit* edit, const QString& widest);
// Fixes `panel`, styled as it will be shown, at the size that shows `widest` whole: a new
// text then never lays out the window again.
void FixSizeFor(QLabel* panel, const QString& widest);

} // namespace vk::legacy
