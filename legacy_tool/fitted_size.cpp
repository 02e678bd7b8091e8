#include "legacy_tool/fitted_size.h"

#include <QLabel>
#include <QLineEdit>

namespace vk::legacy {

namespace {

// QLineEdit asks for room for 17 "x" besides its frame and margins.
constexpr int kHintedCharacters = 17;

} // namespace

void FitWidthTo(QLineEdit* edit, const QString& widest) {
    edit->ensurePolished();
    const QFontMetrics metrics = edit->fontMetrics();
    const int chrome =
        edit->sizeHint().width() - kHintedCharacters * metrics.horizontalAdvance(QLatin1Char('x'));
    edit->setMaximumWidth(chrome + metrics.horizontalAdvance(widest));
}

void FixSizeFor(QLabel* panel, const QString& widest) {
    panel->ensurePolished();
    const QString text = panel->text();
    panel->setText(widest);
    const QSize size = panel->sizeHint();
    panel->setText(text);
    panel->setFixedSize(size);
}

} // namespace vk::legacy
