#pragma once
// CSettingsDlgScaffold: what the four model settings dialogs are built on. A dialog keeps
// its values apart from its controls (one text per entry field, plus whatever its boxes
// select), so ReloadSettings may run while it is closed; the controls take the values
// each time it opens and after every reload while it is open. A write button copies the
// controls back into the values, converts and checks them, sends, and reloads; a refused
// input shows its warning and sends nothing.

#include "panels/settings_common.h"
#include "util_app/custom_settings_dlg.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QBoxLayout;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;

namespace vk {

class CNumericEdit;
class UpDownEdit;

class CSettingsDlgScaffold : public CCustomSettingsDlg {
public:
    // `context` must outlive the dialog. The document owns the dialog, so it normally
    // has no parent. Every dialog is titled "Settings".
    explicit CSettingsDlgScaffold(PanelContext& context, QWidget* parent = nullptr);

protected:
    // A numeric entry field named `name` that shows `text` (which must outlive the
    // dialog), in column 1 of `row` of `grid` with `label` in column 0 (none when null).
    CNumericEdit* AddField(QGridLayout* grid, int row, const char* label, std::string* text,
                           const char* name, bool digitsOnly = false);
    // A numeric entry field bound to `text` as AddField, placed by the caller.
    CNumericEdit* NewField(std::string* text, const char* name, bool digitsOnly = false);
    // The threshold: a digits-only field "threshold" bound to `text`, with up and down
    // buttons ("thresholdUp", "thresholdDown") that step from 0 to 255.
    UpDownEdit* NewThresholdField(std::string* text);

    // A push button named `name` that runs `handler` when clicked. Enter in a field never
    // presses it: a setting the user did not press for must not be written.
    QPushButton* AddButton(const char* text, const char* name, std::function<void()> handler);
    template <typename Dialog>
    QPushButton* AddButton(const char* text, const char* name, void (Dialog::*handler)()) {
        return AddButton(text, name, [this, handler] { (static_cast<Dialog*>(this)->*handler)(); });
    }

    // A small text beside a field that has no label of its own (its unit, or what it
    // holds), in the muted colour of secondary text; named `name`.
    QLabel* SecondaryText(const QString& text, const char* name);

    // A titled group box of the dialog.
    QGroupBox* NewGroup(const char* title);
    // The row every dialog ends with: "Refresh" (ReloadSettings) and "Close", right-aligned.
    QBoxLayout* NewRefreshCloseRow();

    // Runs each time the dialog opens; the base copies the values into the controls.
    // A dialog that fills its boxes here does so before calling the base. The dialog then
    // grows, where it must, to show every entry of its boxes whole.
    virtual void InitDialog();
    // The values into the controls (only while the dialog is shown): the entry fields,
    // then ChoicesToControls.
    void TextsToControls();
    // The controls into the values: the entry fields, then ChoicesFromControls.
    void ControlsToTexts();
    // What a dialog keeps besides its entry fields (boxes, check boxes).
    virtual void ChoicesToControls() {}
    virtual void ChoicesFromControls() {}

    // The end of a reload that read everything: the controls show the new values and a
    // refill of the "System:" bar is queued.
    void Reloaded();
    // A whole reload through `read`, a plain function that returns the values when the
    // sensor answered every request: they replace `values`, then Reloaded. Nothing without
    // a sensor or when a read failed; true when the values were replaced. No refresh tick
    // comes between its requests.
    template <typename Values>
    bool ReloadWith(std::optional<Values> (*read)(SensorDevice&), Values& values) {
        SensorDevice* sensor = Sensor();
        if (!sensor)
            return false;
        ExchangeGuard::Hold hold(Context().Exchanges());
        std::optional<Values> fresh = read(*sensor);
        if (!fresh)
            return false;
        values = std::move(*fresh);
        Reloaded();
        return true;
    }

    // A write button: copies the controls into the values, then runs `write` on the
    // sensor (nothing without one). A refusal is shown as a warning; a write that went
    // out is followed by ReloadSettings, whether or not the sensor took it. No refresh
    // tick comes between its requests.
    void Write(const std::function<WriteOutcome(SensorDevice&)>& write);
    void Warn(const std::string& text);

    void showEvent(QShowEvent* event) override;

private:
    // One entry field and the text it shows.
    struct Field {
        std::string* text;
        CNumericEdit* edit;
    };
    std::vector<Field> fields_;
};

} // namespace vk
