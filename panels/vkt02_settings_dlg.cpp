#include "panels/vkt02_settings_dlg.h"

#include "panels/numeric_edit.h"
#include "panels/vkt02_settings_writes.h"
#include "sensor/sensor_device.h"
#include "util_app/buddy_label.h"
#include "util_app/up_down_edit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vk {

CVKT02SettingsDlg::CVKT02SettingsDlg(PanelContext& context, QWidget* parent)
    : CSettingsDlgScaffold(context, parent) {
    setObjectName(QStringLiteral("vkt02Settings"));
    BuildControls();
}

void CVKT02SettingsDlg::BuildControls() {
    Vkt02SettingsTexts& t = settings_.texts;

    auto* scanMode = NewGroup("Scan Mode");
    modeBox_ = new QComboBox(scanMode);
    modeBox_->setObjectName(QStringLiteral("modeBox"));
    modeBox_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* scanModeLayout = new QHBoxLayout(scanMode);
    scanModeLayout->addWidget(modeBox_, 1);
    scanModeLayout->addWidget(
        NameAfterButton(modeBox_, AddButton("Set Mode", "setMode", &CVKT02SettingsDlg::OnSetMode)));

    auto* offset = NewGroup("Range offset");
    auto* offsetGrid = new QGridLayout(offset);
    AddField(offsetGrid, 0, "Range offset:", &t.rangeOffset, "rangeOffset");
    AddField(offsetGrid, 1, "Range multiplier", &t.multiplier, "multiplier");
    AddField(offsetGrid, 2, "Cosine:", &t.cosine, "cosine");
    offsetGrid->addWidget(
        AddButton("Set Range offset", "setRangeOffset", &CVKT02SettingsDlg::OnSetRangeOffset), 3,
        1);

    auto* powers = NewGroup("Laser powers");
    auto* powersGrid = new QGridLayout(powers);
    // The fields have no labels: each is named after its button, and says which it is.
    CNumericEdit* minPower = NewField(&t.minLaserPower, "minLaserPower", true);
    powersGrid->addWidget(minPower, 0, 0);
    powersGrid->addWidget(SecondaryText(QStringLiteral("minimum"), "minLaserPowerNote"), 0, 1);
    powersGrid->addWidget(
        NameAfterButton(minPower, AddButton("Set Min.", "setMinLaserPower",
                                            &CVKT02SettingsDlg::OnSetMinLaserPower)),
        0, 2);
    CNumericEdit* maxPower = NewField(&t.maxLaserPower, "maxLaserPower", true);
    powersGrid->addWidget(maxPower, 1, 0);
    powersGrid->addWidget(SecondaryText(QStringLiteral("maximum"), "maxLaserPowerNote"), 1, 1);
    powersGrid->addWidget(
        NameAfterButton(maxPower, AddButton("Set Max", "setMaxLaserPower",
                                            &CVKT02SettingsDlg::OnSetMaxLaserPower)),
        1, 2);

    auto* laser = NewGroup("Laser");
    laserBox_ = new QComboBox(laser);
    laserBox_->setObjectName(QStringLiteral("laserBox"));
    for (const char* item : kLaserBoxItems)
        laserBox_->addItem(QString::fromLatin1(item));
    auto* laserLayout = new QHBoxLayout(laser);
    laserLayout->addWidget(laserBox_, 1);
    laserLayout->addWidget(NameAfterButton(
        laserBox_, AddButton("Set Laser", "setLaser", &CVKT02SettingsDlg::OnSetLaser)));

    auto* analog = NewGroup("Analog Factors");
    auto* analogGrid = new QGridLayout(analog);
    AddField(analogGrid, 0, "Min. Range", &t.minRange, "minRange");
    AddField(analogGrid, 1, "Max. Range", &t.maxRange, "maxRange");
    AddField(analogGrid, 2, "Volts @ minimum range:", &t.voltsAtMinRange, "voltsAtMinRange");
    AddField(analogGrid, 3, "Volts @ maximum:", &t.voltsAtMaxRange, "voltsAtMaxRange");
    AddField(analogGrid, 4, "Offset voltage:", &t.offsetVoltage, "offsetVoltage");
    AddField(analogGrid, 5, "Volts outside range:", &t.voltsOutOfRange, "voltsOutOfRange");
    analogGrid->addWidget(
        AddButton("Set Analog Factors", "setAnalogFactors", &CVKT02SettingsDlg::OnSetAnalogFactors),
        6, 1);

    auto* filter = NewGroup("Scan Buffer Variables");
    auto* filterGrid = new QGridLayout(filter);
    AddField(filterGrid, 0, "Dropout factor:", &t.dropout, "dropout", true);
    AddField(filterGrid, 1, "Smooth factor:", &t.smooth, "smooth", true);
    orderBox_ = new QComboBox(filter);
    filterGrid->addWidget(BuddyLabel(QStringLiteral("Order factor:"), orderBox_, filter), 2, 0);
    orderBox_->setObjectName(QStringLiteral("orderBox"));
    for (std::uint16_t order : kOrderBoxItems)
        orderBox_->addItem(QString::number(order), QVariant::fromValue(order));
    filterGrid->addWidget(orderBox_, 2, 1);
    filterGrid->addWidget(AddButton("Set Scan Filter Variables", "setFilterFactors",
                                    &CVKT02SettingsDlg::OnSetFilterFactors),
                          3, 1);
    AddField(filterGrid, 4, "Scan Interval", &t.scanInterval, "scanInterval", true);
    filterGrid->addWidget(new QLabel(QStringLiteral("(0.6 x)"), filter), 4, 2);
    filterGrid->addWidget(
        AddButton("Set Scan Int.", "setScanInterval", &CVKT02SettingsDlg::OnSetScanInterval), 5, 1);

    auto* thresholdRow = new QHBoxLayout;
    UpDownEdit* threshold = NewThresholdField(&t.threshold);
    thresholdRow->addWidget(threshold, 1);
    thresholdRow->addWidget(
        NameAfterButton(threshold->Edit(), AddButton("Set Threshold", "setThreshold",
                                                     &CVKT02SettingsDlg::OnSetThreshold)));

    auto* averagingRow = new QGridLayout;
    CNumericEdit* averaging =
        AddField(averagingRow, 0, nullptr, &t.averagingPeriod, "averagingPeriod");
    averagingRow->addWidget(new QLabel(QStringLiteral("(ms)"), this), 0, 2);
    averagingRow->addWidget(
        NameAfterButton(averaging, AddButton("Averaging Period", "setAveragingPeriod",
                                             &CVKT02SettingsDlg::OnSetAveragingPeriod)),
        0, 3);

    auto* left = new QVBoxLayout;
    left->addWidget(scanMode);
    left->addWidget(offset);
    left->addWidget(powers);
    left->addWidget(laser);
    left->addLayout(thresholdRow);
    left->addLayout(averagingRow);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(analog);
    right->addWidget(filter);
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(NewRefreshCloseRow());
}

void CVKT02SettingsDlg::InitDialog() {
    modeBox_->clear();
    for (const std::string& item : Vkt02ModeBoxItems(Context().Model()))
        modeBox_->addItem(QString::fromStdString(item));
    CSettingsDlgScaffold::InitDialog();
}

void CVKT02SettingsDlg::ChoicesToControls() {
    // An index the box does not have leaves it without a selection.
    modeBox_->setCurrentIndex(settings_.modeNumber);
    laserBox_->setCurrentIndex(settings_.laserOn ? 0 : 1);
    orderBox_->setCurrentIndex(OrderBoxRow(settings_.order));
}

void CVKT02SettingsDlg::ChoicesFromControls() {
    if (orderBox_->currentIndex() >= 0)
        settings_.order = orderBox_->currentData().value<std::uint16_t>();
    if (laserBox_->currentIndex() >= 0)
        settings_.laserOn = laserBox_->currentIndex() == 0;
    settings_.modeNumber = modeBox_->currentIndex();
}

void CVKT02SettingsDlg::SetSensor(SensorDevice* sensor) {
    CCustomSettingsDlg::SetSensor(sensor);
    configRead_ = false;
}

void CVKT02SettingsDlg::GetSettingsList(std::vector<std::string>& names,
                                        std::vector<std::string>& values) {
    FillVkt02SettingsList(settings_, Context().Model(), names, values);
}

void CVKT02SettingsDlg::ReloadSettings() {
    SensorDevice* sensor = Sensor();
    if (!sensor)
        return;
    ExchangeGuard::Hold hold(Context().Exchanges());
    std::optional<Vkt02Settings> fresh = ReadVkt02Settings(*sensor, Context().Model());
    if (!fresh)
        return;
    configRead_ = true;
    settings_ = std::move(*fresh);
    Reloaded();
}

// --- write buttons -------------------------------------------------------------------

void CVKT02SettingsDlg::OnSetMode() {
    Write([this](SensorDevice& s) { return WriteVkt02Mode(s, settings_); });
}

void CVKT02SettingsDlg::OnSetMinLaserPower() {
    Write([this](SensorDevice& s) { return WriteVkt02MinLaserPower(s, settings_); });
}

void CVKT02SettingsDlg::OnSetMaxLaserPower() {
    Write([this](SensorDevice& s) { return WriteVkt02MaxLaserPower(s, settings_); });
}

void CVKT02SettingsDlg::OnSetThreshold() {
    Write([this](SensorDevice& s) { return WriteVkt02Threshold(s, settings_); });
}

void CVKT02SettingsDlg::OnSetScanInterval() {
    Write([this](SensorDevice& s) { return WriteVkt02ScanInterval(s, settings_); });
}

void CVKT02SettingsDlg::OnSetFilterFactors() {
    Write([this](SensorDevice& s) { return WriteVkt02FilterFactors(s, settings_); });
}

void CVKT02SettingsDlg::OnSetLaser() {
    Write([this](SensorDevice& s) { return WriteVkt02Laser(s, settings_); });
}

void CVKT02SettingsDlg::OnSetRangeOffset() {
    Write(
        [this](SensorDevice& s) { return WriteVkt02RangeOffset(s, settings_, Context().Model()); });
}

void CVKT02SettingsDlg::OnSetAnalogFactors() {
    Write([this](SensorDevice& s) {
        return WriteVkt02AnalogFactors(s, settings_, Context().Model());
    });
}

void CVKT02SettingsDlg::OnSetAveragingPeriod() {
    Write([this](SensorDevice& s) { return WriteVkt02AveragingPeriod(s, settings_, configRead_); });
}

} // namespace vk
