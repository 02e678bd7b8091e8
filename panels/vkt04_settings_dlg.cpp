#include "panels/vkt04_settings_dlg.h"

#include "panels/numeric_edit.h"
#include "util_app/buddy_label.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace vk {

CVKT04SettingsDlg::CVKT04SettingsDlg(PanelContext& context, QWidget* parent)
    : CVkt04FamilySettingsDlg(context, ModelType::VKT04, kVkt04Rules, parent) {
    setObjectName(QStringLiteral("vkt04Settings"));
    BuildSharedGroups(settings_.texts, &settings_.modeNumber, Vkt04ModeBoxItems());

    auto* hold = NewGroup("Hold last range value");
    holdBox_ = new QCheckBox(QStringLiteral("Enable"), hold);
    holdBox_->setObjectName(QStringLiteral("holdEnable"));
    // Every click sends the new state; a reload setting the box sends nothing.
    connect(holdBox_, &QCheckBox::clicked, this, [this] {
        Write([this](SensorDevice& s) {
            return WriteHoldLastValidRange(s, settings_.holdLastValid);
        });
    });
    auto* holdGrid = new QGridLayout(hold);
    holdGrid->addWidget(holdBox_, 0, 0, 1, 3);
    CNumericEdit* holdScans = NewField(&settings_.holdScans, "holdScans");
    holdGrid->addWidget(holdScans, 1, 0);
    holdGrid->addWidget(SecondaryText(QStringLiteral("samples"), "holdScansNote"), 1, 1);
    auto send = [this] {
        Write([this](SensorDevice& s) { return WriteHoldScans(s, settings_.holdScans); });
    };
    holdGrid->addWidget(
        NameAfterButton(holdScans, AddButton("Max # dropouts", "setHoldScans", send)), 1, 2);
    AddToColumn(1, hold);
}

void CVKT04SettingsDlg::ChoicesToControls() {
    CVkt04FamilySettingsDlg::ChoicesToControls();
    holdBox_->setChecked(settings_.holdLastValid);
}

void CVKT04SettingsDlg::ChoicesFromControls() {
    CVkt04FamilySettingsDlg::ChoicesFromControls();
    settings_.holdLastValid = holdBox_->isChecked();
}

void CVKT04SettingsDlg::GetSettingsList(std::vector<std::string>& names,
                                        std::vector<std::string>& values) {
    FillVkt04SettingsList(settings_, names, values);
}

void CVKT04SettingsDlg::ReloadSettings() {
    ReloadWith(&ReadVkt04Settings, settings_);
}

} // namespace vk
