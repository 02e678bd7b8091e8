#pragma once
// CSensorDialog: the base of every panel the view shows (the model panels and the
// "Not Connected" panel). The view calls OnPeriodicUpdate on every refresh tick and on
// every document update; a resize of the panel arrives in OnSize.

#include <QString>
#include <QWidget>

namespace vk {

class CSensorDialog : public QWidget {
public:
    explicit CSensorDialog(QWidget* parent = nullptr);

    // Polls the sensor and refreshes what the panel shows; the base does nothing. Runs
    // on the user-interface thread, never during another command.
    virtual void OnPeriodicUpdate() {}
    // A text describing the panel; empty in the base.
    virtual QString GetText() const { return {}; }
    // Called with the new client width and height whenever the panel is resized; the
    // base does nothing more than the widget's own layout does.
    virtual void OnSize(int width, int height);

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace vk
