#pragma once
// UpDownEdit: an entry field with up and down buttons beside it. The range bounds only
// what the buttons step to; the field itself is not held to it, so that a typed value
// outside the range can be refused with a message when the dialog is confirmed.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace vk {

// A field that takes up to ten digits and nothing else: enough for any number a user
// means, and the check on OK does the rest.
QLineEdit* NewDigitsEdit(QWidget* parent = nullptr);

class UpDownEdit : public QWidget {
public:
    // `edit` becomes the field (the widget takes it over); it should take digits only,
    // such as NewDigitsEdit() or a digits-only CNumericEdit.
    explicit UpDownEdit(QLineEdit* edit, QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum);
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    // Moves the shown number `steps` within the range (a field without a number counts
    // as 0, and a number outside the range first comes to the nearest bound). Nothing
    // while the field is disabled.
    void StepBy(int steps);

    QLineEdit* Edit() const { return edit_; }
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

private:
    QLineEdit* edit_;
    QToolButton* up_;
    QToolButton* down_;
    int minimum_ = 0;
    int maximum_ = 100;
};

} // namespace vk
