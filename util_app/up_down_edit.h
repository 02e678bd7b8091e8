#pragma once
// UpDownEdit: a digits-only field with up and down buttons. The range bounds only what
// the buttons step to; the field itself takes any digits, so that a typed value outside
// the range can be refused with a message when the dialog is confirmed.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace vk {

class UpDownEdit : public QWidget {
public:
    explicit UpDownEdit(QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum);
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    // Moves the shown number `steps` within the range (a number outside it first comes
    // to the nearest bound).
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
