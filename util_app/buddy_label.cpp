#include "util_app/buddy_label.h"

#include <QAbstractButton>
#include <QLabel>
#include <QRegularExpression>

namespace vk {

namespace {

// A button's or label's words as a name: without mnemonic markers or doubled blanks.
QString PlainWords(QString text) {
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text.simplified();
}

} // namespace

QLabel* BuddyLabel(const QString& text, QWidget* control, QWidget* parent) {
    auto* label = new QLabel(text, parent ? parent : control->parentWidget());
    label->setBuddy(control);
    // Not every kind of control asks its buddy for a name (lists, read-outs do not), and
    // a composite one (an edit with arrows) hands its focus to the field inside.
    for (QWidget* w = control; w; w = w->focusProxy()) {
        if (w->accessibleName().isEmpty())
            w->setAccessibleName(PlainWords(text));
    }
    return label;
}

QAbstractButton* NameAfterButton(QWidget* field, QAbstractButton* button) {
    field->setAccessibleName(PlainWords(button->text()));
    return button;
}

} // namespace vk
