#pragma once
// TdlgAbout: the program's name and version, and the door to the hidden modes: a
// double click on the upper panel, pressed and released with Shift, reveals a field that
// takes an access code, shown as "*". What was typed is kept between showings, until the
// gesture reveals the field again.

#include <QDialog>

#include <string>

class QFrame;
class QLabel;
class QLineEdit;

namespace vk::legacy {

class TdlgAbout : public QDialog {
public:
    explicit TdlgAbout(QWidget* parent = nullptr);

    // Hides the entry field and clears what it shows; what was typed stays.
    void HideEntry();
    // What was typed since the field was last revealed.
    const std::string& EntryString() const { return entry_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormActivate();
    void FormClose();
    void Panel1MouseDown(bool leftWithShift);
    void Panel1MouseUp(bool leftWithShift);
    void Panel1DblClick();
    // True when the key was dealt with here and goes no further.
    bool editPasswrodKeyPress(char32_t key);
    // One "*" in the field for each character of the code.
    void ShowEntry();

    QFrame* Panel1_;
    QLabel* lblVersion_;
    QLineEdit* editPasswrod_;
    std::string entry_;
    bool pressedWithShift_ = false;
    bool releasedWithShift_ = false;
};

} // namespace vk::legacy
