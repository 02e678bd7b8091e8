#include "panels/vkt04_family_settings_dlg.h"

#include "panels/numeric_edit.h"
#include "util_app/buddy_label.h"
#include "util_app/range_modes.h"
#include "util_app/up_down_edit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vk {

CVkt04FamilySettingsDlg::CVkt04FamilySettingsDlg(PanelContext& context, ModelType type,
                                                 const Vkt04FamilyRules& rules, QWidget* parent)
    : CSettingsDlgScaffold(context, parent), type_(type),
      rules_(rules), columns_{new QVBoxLayout, new QVBoxLayout} {
    auto* columns = new QHBoxLayout;
    for (QVBoxLayout* column : columns_) {
        // Groups keep their height; what room is left stays below them.
        column->addStretch(1);
        columns->addLayout(column);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(NewRefreshCloseRow());
}

void CVkt04FamilySettingsDlg::AddToColumn(int column, QWidget* group) {
    QVBoxLayout* layout = columns_[column == 0 ? 0 : 1];
    layout->insertWidget(layout->count() - 1, group);
}

QPushButton* CVkt04FamilySettingsDlg::AddTextWriteButton(const char* button, const char* name,
                                                         const std::string* text, TextWrite write) {
    return AddButton(button, name, [this, text, write] {
        Write([this, text, write](SensorDevice& s) { return write(s, *text, rules_); });
    });
}

QLabel* CVkt04FamilySettingsDlg::AddAnalogRow(QGridLayout* grid, int row, const char* button,
                                              const char* buttonName, std::string* text,
                                              const char* field, AnalogOutputValue value) {
    CNumericEdit* edit = NewField(text, field);
    grid->addWidget(edit, row, 0);
    // The field has no label of its own: its unit stands beside it, its button names it.
    const bool volts = value != AnalogOutputValue::MinRange && value != AnalogOutputValue::MaxRange;
    QLabel* unit = SecondaryText(volts ? QStringLiteral("V") : QString(),
                                 (std::string(field) + "Unit").c_str());
    grid->addWidget(unit, row, 1);
    auto send = [this, text, value] {
        Write([this, text, value](SensorDevice& s) {
            // The mode in the box governs, even before "Set Mode".
            return WriteAnalogOutputValue(s, value, *text, SelectedMode(), rules_);
        });
    };
    grid->addWidget(NameAfterButton(edit, AddButton(button, buttonName, send)), row, 2);
    return unit;
}

const RangeMode& CVkt04FamilySettingsDlg::SelectedMode() const {
    return GetRangeMode(type_, modeNumber_ ? *modeNumber_ : 0);
}

void CVkt04FamilySettingsDlg::ShowRangeUnit(int modeRow) {
    const QString unit =
        QString::fromStdString(RangeUnit(GetRangeMode(type_, modeNumber_ ? modeRow : 0)));
    for (QLabel* label : rangeUnits_)
        label->setText(unit);
}

void CVkt04FamilySettingsDlg::BuildSharedGroups(Vkt04FamilyTexts& t, int* modeNumber,
                                                const std::vector<std::string>& modeItems) {
    modeNumber_ = modeNumber;

    auto* powers = NewGroup("Laser powers");
    auto* powersGrid = new QGridLayout(powers);
    // A model that checks the powers reads them as signed numbers: a minus sign may be
    // typed, and is then refused with the model's own words.
    const bool digitsOnly = !rules_.checksValues;
    CNumericEdit* minPower = NewField(&t.minLaserPower, "minLaserPower", digitsOnly);
    powersGrid->addWidget(minPower, 0, 0);
    powersGrid->addWidget(SecondaryText(QStringLiteral("minimum"), "minLaserPowerNote"), 0, 1);
    powersGrid->addWidget(
        NameAfterButton(minPower, AddTextWriteButton("Set Min LP", "setMinLaserPower",
                                                     &t.minLaserPower, WriteMinLaserPower)),
        0, 2);
    CNumericEdit* maxPower = NewField(&t.maxLaserPower, "maxLaserPower", digitsOnly);
    powersGrid->addWidget(maxPower, 1, 0);
    powersGrid->addWidget(SecondaryText(QStringLiteral("maximum"), "maxLaserPowerNote"), 1, 1);
    powersGrid->addWidget(
        NameAfterButton(maxPower, AddTextWriteButton("Set Max LP", "setMaxLaserPower",
                                                     &t.maxLaserPower, WriteMaxLaserPower)),
        1, 2);

    auto* threshold = NewGroup("Threshold");
    auto* thresholdRow = new QHBoxLayout(threshold);
    UpDownEdit* thresholdField = NewThresholdField(&t.threshold);
    thresholdRow->addWidget(thresholdField, 1);
    thresholdRow->addWidget(
        NameAfterButton(thresholdField->Edit(), AddTextWriteButton("Set Threshold", "setThreshold",
                                                                   &t.threshold, WriteThreshold)));

    auto* analog = NewGroup("Analog Factors");
    auto* analogGrid = new QGridLayout(analog);
    using V = AnalogOutputValue;
    rangeUnits_[0] = AddAnalogRow(analogGrid, 0, "Min. Range", "setMinRange", &t.minRange,
                                  "minRange", V::MinRange);
    rangeUnits_[1] = AddAnalogRow(analogGrid, 1, "Max. Range", "setMaxRange", &t.maxRange,
                                  "maxRange", V::MaxRange);
    AddAnalogRow(analogGrid, 2, "Volts @ Minumum", "setVoltsAtMinRange", &t.voltsAtMinRange,
                 "voltsAtMinRange", V::VoltsAtMinRange);
    AddAnalogRow(analogGrid, 3, "Volts @ Maximum", "setVoltsAtMaxRange", &t.voltsAtMaxRange,
                 "voltsAtMaxRange", V::VoltsAtMaxRange);
    AddAnalogRow(analogGrid, 4, "Volts outside", "setVoltsOutOfRange", &t.voltsOutOfRange,
                 "voltsOutOfRange", V::VoltsOutOfRange);

    AddToColumn(0, powers);
    AddToColumn(0, threshold);
    AddToColumn(1, analog);

    ShowRangeUnit(0);
    if (!modeNumber)
        return;
    auto* mode = NewGroup("Mode");
    modeBox_ = new QComboBox(mode);
    modeBox_->setObjectName(QStringLiteral("modeBox"));
    modeBox_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const std::string& item : modeItems)
        modeBox_->addItem(QString::fromStdString(item));
    auto* modeRow = new QHBoxLayout(mode);
    modeRow->addWidget(modeBox_, 1);
    modeRow->addWidget(NameAfterButton(modeBox_, AddButton("Set Mode", "setMode", [this] {
                                           Write([this](SensorDevice& s) {
                                               return WriteVkt04Mode(s, *modeNumber_);
                                           });
                                       })));
    connect(modeBox_, &QComboBox::currentIndexChanged, this,
            &CVkt04FamilySettingsDlg::ShowRangeUnit);
    AddToColumn(0, mode);
}

void CVkt04FamilySettingsDlg::ChoicesToControls() {
    // An index the box does not have leaves it without a selection.
    if (modeBox_) {
        modeBox_->setCurrentIndex(*modeNumber_);
        ShowRangeUnit(*modeNumber_);
    }
}

void CVkt04FamilySettingsDlg::ChoicesFromControls() {
    if (modeBox_)
        *modeNumber_ = modeBox_->currentIndex();
}

} // namespace vk
