#include "panels/numeric_edit.h"

#include "panels/number_text.h"
#include "util_app/range_modes.h"
#include "util_app/user_prompts.h"

#include <QAbstractEventDispatcher>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScopedValueRollback>

namespace vk {

namespace {

enum class KeyKind {
    Space,   // swallowed
    Edit,    // a character or an editing shortcut: checked
    Paste,   // checked, white space removed
    Passive, // navigation, Delete, copy, Enter...: left to the base class
};

KeyKind Classify(const QKeyEvent* event) {
    if (event->text() == QStringLiteral(" "))
        return KeyKind::Space;
    if (event->matches(QKeySequence::Paste))
        return KeyKind::Paste;
    if (event->key() == Qt::Key_Backspace || event->matches(QKeySequence::Cut) ||
        event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo))
        return KeyKind::Edit;
    const QString text = event->text();
    if (!text.isEmpty() && text.front().isPrint())
        return KeyKind::Edit;
    return KeyKind::Passive;
}

bool IsPrintableNonDigit(const QKeyEvent* event) {
    const QString text = event->text();
    return !text.isEmpty() && text.front().isPrint() && !text.front().isDigit();
}

bool AllDigits(const QString& text) {
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

CNumericEdit::CNumericEdit(QWidget* parent) : QLineEdit(parent) {
    // Numbers need neither dropped text nor composed input.
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // text(), not the signal's argument: a refusal inside textEdited is followed by the
    // textChanged of the refused edit, which still carries the refused text.
    connect(this, &QLineEdit::textChanged, this, [this] { shownText_ = text(); });
    connect(this, &QLineEdit::textEdited, this, &CNumericEdit::GuardOtherEdit);
    reporter_ = [this](const QString& message) { QtUserPrompts().Error(this, message); };
}

void CNumericEdit::SetErrorReporter(ErrorReporter reporter) {
    reporter_ = std::move(reporter);
}

unsigned CNumericEdit::Reported(unsigned result) const {
    if (!reportErrors_ || result == kNumberValid)
        return result;
    if (reporter_)
        reporter_(QString::fromStdString(NumericCheckMessage(result)));
    return result;
}

unsigned CNumericEdit::CheckText(const QString& text) const {
    return Reported(CheckLeadingNumber(text.toStdString(), bounds_));
}

unsigned CNumericEdit::CheckOwnText() const {
    return Reported(CheckWholeText(text().toStdString(), bounds_));
}

void CNumericEdit::SetValue(float value) {
    setText(QString::fromStdString(FormatValue("%f", value)));
}

float CNumericEdit::Value() const {
    const std::string own = text().toStdString();
    if (CheckWholeText(own, bounds_) != kNumberValid)
        return 0.0f;
    // Within the float bounds, so the narrowing is exact enough and defined.
    return static_cast<float>(TextAsNumber(own));
}

void CNumericEdit::keyPressEvent(QKeyEvent* event) {
    const KeyKind kind = Classify(event);
    if (kind == KeyKind::Passive) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (kind == KeyKind::Space || droppingTypeAhead_ || isReadOnly())
        return;
    if (kind == KeyKind::Paste) {
        CheckedPaste(QGuiApplication::clipboard()->text());
        return;
    }
    if (digitsOnly_ && IsPrintableNonDigit(event))
        return;
    CheckedKeyEdit(event);
}

void CNumericEdit::CheckedKeyEdit(QKeyEvent* event) {
    const QString before = text();
    {
        const QScopedValueRollback checking(checkingEdit_, true);
        QLineEdit::keyPressEvent(event);
    }
    if (CheckOwnText() != kNumberValid)
        Refuse(before);
}

void CNumericEdit::CheckedPaste(QString pasted) {
    pasted.remove(QChar(' ')).remove(QChar('\t')).remove(QChar('\r')).remove(QChar('\n'));
    const QString before = text();
    if (digitsOnly_ && !AllDigits(pasted)) {
        Refuse(before);
        return;
    }
    {
        const QScopedValueRollback checking(checkingEdit_, true);
        insert(pasted);
    }
    if (CheckOwnText() != kNumberValid)
        Refuse(before);
}

void CNumericEdit::GuardOtherEdit(const QString& edited) {
    // textEdited comes before textChanged, so shownText_ still holds the text before
    // this edit.
    if (checkingEdit_ || edited.isEmpty())
        return;
    if ((digitsOnly_ && !AllDigits(edited)) || CheckOwnText() != kNumberValid)
        Refuse(shownText_);
}

void CNumericEdit::Refuse(const QString& previousText) {
    setText(previousText);
    selectAll();
    auto* dispatcher = QAbstractEventDispatcher::instance(thread());
    if (dispatcher == nullptr || droppingTypeAhead_)
        return;
    droppingTypeAhead_ = true;
    // The dispatcher announces its next wait only after delivering the events it already
    // had, the keys typed ahead of this one among them.
    connect(
        dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
        [this] { droppingTypeAhead_ = false; }, Qt::SingleShotConnection);
}

} // namespace vk
