#pragma once
// CSensorParentView: the main window's centre. It owns one panel per model type and the
// "Not Connected" panel, shows one of them at a time filling the view, and passes the
// refresh ticks and document updates to the panel shown.

#include "sensor/model_table.h"
#include "util_app/sensor_dialog.h"

#include <QWidget>

#include <array>

namespace vk {

class CSensorParentView : public QWidget {
public:
    explicit CSensorParentView(QWidget* parent = nullptr);

    // Makes `panel` the panel of `type` (the view takes it over; one panel may serve
    // several types). The panel it replaces is deleted unless another type still uses it.
    void SetModelPanel(ModelType type, CSensorDialog* panel);
    // The panel of `type`; null until one is set.
    CSensorDialog* ModelPanel(ModelType type) const;
    CSensorDialog* NotConnectedPanel() const { return notConnected_; }

    // Hides the current panel and shows `panel` in the view's whole area.
    void ShowPanel(CSensorDialog* panel);
    // ShowPanel of the model's panel (nothing changes while it has none), or of
    // "Not Connected".
    void ShowModelPanel(ModelType type);
    void ShowNotConnected();
    CSensorDialog* CurrentPanel() const { return current_; }

    // A refresh tick, or the document changed (connect, disconnect): the current panel
    // polls its sensor and refreshes. Nothing until the view has been laid out (shown).
    void UpdatePanel();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Place(CSensorDialog* panel);

    CSensorDialog* notConnected_;
    std::array<CSensorDialog*, kModelTypeCount> panels_{};
    CSensorDialog* current_;
    bool ready_ = false;
};

} // namespace vk
