#pragma once
// CVkt04FamilySettingsDlg: what the VKT04, Rmx Short and Vezir Orududu settings dialogs
// share: the "Laser powers", "Threshold" and "Analog Factors" groups with their eight
// buttons, each sending one value, and for the two models that have it the "Mode" group.
// The model's rules (vkt04_family_settings.h) decide what a button refuses.

#include "panels/settings_dlg_scaffold.h"
#include "panels/vkt04_family_settings.h"
#include "sensor/model_table.h"

#include <string>
#include <string_view>
#include <vector>

class QComboBox;
class QLabel;
class QVBoxLayout;

namespace vk {

struct RangeMode;

class CVkt04FamilySettingsDlg : public CSettingsDlgScaffold {
public:
    // `type` is the model whose range-mode table converts the ranges.
    CVkt04FamilySettingsDlg(PanelContext& context, ModelType type, const Vkt04FamilyRules& rules,
                            QWidget* parent = nullptr);

protected:
    // Builds the shared groups bound to `texts`, and the "Mode" group listing `modeItems`
    // bound to `modeNumber` unless that is null; a dialog calls it once its values exist.
    // The dialog's own groups go into the columns afterwards.
    void BuildSharedGroups(Vkt04FamilyTexts& texts, int* modeNumber,
                           const std::vector<std::string>& modeItems);
    // Adds `group` at the foot of the left (0) or right (1) column.
    void AddToColumn(int column, QWidget* group);

    void ChoicesToControls() override;
    void ChoicesFromControls() override;

private:
    using TextWrite = WriteOutcome (*)(SensorDevice&, std::string_view, const Vkt04FamilyRules&);
    // A button that sends `text` through `write` under the model's rules.
    QPushButton* AddTextWriteButton(const char* button, const char* name, const std::string* text,
                                    TextWrite write);
    // The analog output button `name` sends `value` from the text of `field`; returns the
    // unit beside the field.
    QLabel* AddAnalogRow(QGridLayout* grid, int row, const char* button, const char* buttonName,
                         std::string* text, const char* field, AnalogOutputValue value);
    // The mode of the mode box's row, which converts the ranges (row 0 without a box).
    const RangeMode& SelectedMode() const;
    // The range fields' unit is that of the mode in row `modeRow` of the box.
    void ShowRangeUnit(int modeRow);

    ModelType type_;
    const Vkt04FamilyRules& rules_;
    int* modeNumber_ = nullptr;
    QComboBox* modeBox_ = nullptr;
    QLabel* rangeUnits_[2] = {};
    QVBoxLayout* columns_[2];
};

} // namespace vk
