#pragma once
// A numeric entry field with up and down arrows beside it. The arrows step the number
// within a range; what is typed into the field is not held to that range, so that a
// dialog can refuse an out-of-range value with its own message when it is sent.

#include "panels/numeric_edit.h"

#include <QWidget>

class QToolButton;

namespace vk {

class NumericUpDown : public QWidget {
public:
    // `minimum` <= `maximum`; the field takes digits only.
    NumericUpDown(int minimum, int maximum, QWidget* parent = nullptr);

    CNumericEdit* Edit() const { return edit_; }
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

    // The field's whole number, first brought into the range, moved by `steps` and kept
    // in the range. A field without a number counts as 0.
    void StepBy(int steps);

private:
    CNumericEdit* edit_;
    QToolButton* up_;
    QToolButton* down_;
    int minimum_;
    int maximum_;
};

} // namespace vk
