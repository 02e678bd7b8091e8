#pragma once
// CNumericEdit: the entry field of every number in the settings dialogs. It refuses any
// edit the user makes after which its text would no longer be exactly one number, so a
// dialog never meets letters or stray characters in its fields.
//
// What is checked: every typed character, Backspace, and the paste (white space removed
// first), cut, undo and redo shortcuts. A refused edit puts the text back as it was,
// selects it all and drops the keys typed ahead of it: character keys for this field that
// arrive before the event loop next comes round to wait for events. A space is swallowed.
// The Delete key is not checked, so the field can still be emptied that way. Edits by
// other routes (context menu, middle-click paste) may empty the field too but are
// otherwise held to the same rule. Drops and input methods are turned off. Text the
// program sets is never checked.

#include "panels/numeric_check.h"

#include <QLineEdit>
#include <QString>

#include <functional>

class QKeyEvent;

namespace vk {

class CNumericEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit CNumericEdit(QWidget* parent = nullptr);

    // Bounds of the range check; by default no finite float is out of range.
    NumericBounds Bounds() const { return bounds_; }
    void SetBounds(NumericBounds bounds) { bounds_ = bounds; }

    // When on, a check whose result is not 0 reports NumericCheckMessage(result). Off by
    // default, and the settings dialogs leave it off.
    bool ReportErrors() const { return reportErrors_; }
    void SetReportErrors(bool on) { reportErrors_ = on; }

    // Where reports go; by default the utility's error box (QtUserPrompts::Error: the
    // stop icon and an OK button). A dialog hands in its own prompts here; an empty
    // reporter silences the field.
    using ErrorReporter = std::function<void(const QString& message)>;
    void SetErrorReporter(ErrorReporter reporter);

    // Fields that take digits only swallow any other typed character before the check
    // runs, and refuse a paste that holds anything but digits.
    bool DigitsOnly() const { return digitsOnly_; }
    void SetDigitsOnly(bool on) { digitsOnly_ = on; }

    // Check result bits (kNumberOutOfRange, kNotANumber) of `text`, where only the
    // number at its start counts ("12a" passes).
    unsigned CheckText(const QString& text) const;
    // Check result bits of the field's own text, which must be one number and nothing
    // else. This is the check every edit has to pass.
    unsigned CheckOwnText() const;

    // The text becomes `value` with "%f" ("2.500000").
    void SetValue(float value);
    // The own text as a float when it checks as valid, else 0. Never reports.
    float Value() const;

    // True from a refused edit until the event loop next comes round to wait for events;
    // character keys that arrive meanwhile were typed ahead and are dropped.
    bool DroppingTypeAhead() const { return droppingTypeAhead_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    unsigned Reported(unsigned result) const;
    // Applies an edit of the base class and takes it back if the text is no number then.
    void CheckedKeyEdit(QKeyEvent* event);
    void CheckedPaste(QString pasted);
    // Holds edits that did not come through keyPressEvent to the same rule.
    void GuardOtherEdit(const QString& edited);
    void Refuse(const QString& previousText);

    NumericBounds bounds_;
    bool reportErrors_ = false;
    bool digitsOnly_ = false;
    bool droppingTypeAhead_ = false;
    bool checkingEdit_ = false; // an edit of ours is under way; the guard keeps out
    QString shownText_;
    ErrorReporter reporter_;
};

} // namespace vk
