#include "panels/vkt02_settings_dlg.h"

#include "panels/averaging_period.h"
#include "panels/numeric_edit.h"
#include "panels/vkt02_settings_checks.h"
#include "sensor/sensor_device.h"
#include "util_app/up_down_edit.h"
#include "util_app/user_prompts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace vk {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QGroupBox* Group(const char* title, QWidget* parent) {
    return new QGroupBox(QString::fromLatin1(title), parent);
}

} // namespace

CVKT02SettingsDlg::CVKT02SettingsDlg(PanelContext& context, QWidget* parent)
    : CCustomSettingsDlg(context, parent) {
    setObjectName(QStringLiteral("vkt02Settings"));
    setWindowTitle(QStringLiteral("Settings"));
    BuildControls();
}

void CVKT02SettingsDlg::AddField(QGridLayout* grid, int row, const char* label,
                                 std::string Vkt02SettingsTexts::*text, const char* name,
                                 bool digitsOnly) {
    auto* edit = new CNumericEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->SetDigitsOnly(digitsOnly);
    if (label)
        grid->addWidget(new QLabel(QString::fromLatin1(label), this), row, 0);
    grid->addWidget(edit, row, 1);
    fields_.push_back({text, edit});
}

QPushButton* CVKT02SettingsDlg::AddButton(const char* text, const char* name,
                                          void (CVKT02SettingsDlg::*handler)()) {
    auto* button = new QPushButton(QString::fromLatin1(text), this);
    button->setObjectName(QString::fromLatin1(name));
    // Enter in a field must never write a setting the user did not press for.
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

void CVKT02SettingsDlg::BuildControls() {
    using T = Vkt02SettingsTexts;

    auto* scanMode = Group("Scan Mode", this);
    modeBox_ = new QComboBox(scanMode);
    modeBox_->setObjectName(QStringLiteral("modeBox"));
    modeBox_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* scanModeLayout = new QHBoxLayout(scanMode);
    scanModeLayout->addWidget(modeBox_, 1);
    scanModeLayout->addWidget(AddButton("Set Mode", "setMode", &CVKT02SettingsDlg::OnSetMode));

    auto* offset = Group("Range offset", this);
    auto* offsetGrid = new QGridLayout(offset);
    AddField(offsetGrid, 0, "Range offset:", &T::rangeOffset, "rangeOffset");
    AddField(offsetGrid, 1, "Range multiplier", &T::multiplier, "multiplier");
    AddField(offsetGrid, 2, "Cosine:", &T::cosine, "cosine");
    offsetGrid->addWidget(
        AddButton("Set Range offset", "setRangeOffset", &CVKT02SettingsDlg::OnSetRangeOffset), 3,
        1);

    auto* powers = Group("Laser powers", this);
    auto* powersGrid = new QGridLayout(powers);
    AddField(powersGrid, 0, nullptr, &T::minLaserPower, "minLaserPower", true);
    powersGrid->addWidget(
        AddButton("Set Min.", "setMinLaserPower", &CVKT02SettingsDlg::OnSetMinLaserPower), 0, 2);
    AddField(powersGrid, 1, nullptr, &T::maxLaserPower, "maxLaserPower", true);
    powersGrid->addWidget(
        AddButton("Set Max", "setMaxLaserPower", &CVKT02SettingsDlg::OnSetMaxLaserPower), 1, 2);

    auto* laser = Group("Laser", this);
    laserBox_ = new QComboBox(laser);
    laserBox_->setObjectName(QStringLiteral("laserBox"));
    for (const char* item : kLaserBoxItems)
        laserBox_->addItem(QString::fromLatin1(item));
    auto* laserLayout = new QHBoxLayout(laser);
    laserLayout->addWidget(laserBox_, 1);
    laserLayout->addWidget(AddButton("Set Laser", "setLaser", &CVKT02SettingsDlg::OnSetLaser));

    auto* analog = Group("Analog Factors", this);
    auto* analogGrid = new QGridLayout(analog);
    AddField(analogGrid, 0, "Min. Range", &T::minRange, "minRange");
    AddField(analogGrid, 1, "Max. Range", &T::maxRange, "maxRange");
    AddField(analogGrid, 2, "Volts @ minimum range:", &T::voltsAtMinRange, "voltsAtMinRange");
    AddField(analogGrid, 3, "Volts @ maximum:", &T::voltsAtMaxRange, "voltsAtMaxRange");
    AddField(analogGrid, 4, "Offset voltage:", &T::offsetVoltage, "offsetVoltage");
    AddField(analogGrid, 5, "Volts outside range:", &T::voltsOutOfRange, "voltsOutOfRange");
    analogGrid->addWidget(
        AddButton("Set Analog Factors", "setAnalogFactors", &CVKT02SettingsDlg::OnSetAnalogFactors),
        6, 1);

    auto* filter = Group("Scan Buffer Variables", this);
    auto* filterGrid = new QGridLayout(filter);
    AddField(filterGrid, 0, "Dropout factor:", &T::dropout, "dropout", true);
    AddField(filterGrid, 1, "Smooth factor:", &T::smooth, "smooth", true);
    filterGrid->addWidget(new QLabel(QStringLiteral("Order factor:"), filter), 2, 0);
    orderBox_ = new QComboBox(filter);
    orderBox_->setObjectName(QStringLiteral("orderBox"));
    for (std::uint16_t order : kOrderBoxItems)
        orderBox_->addItem(QString::number(order), QVariant::fromValue(order));
    filterGrid->addWidget(orderBox_, 2, 1);
    filterGrid->addWidget(AddButton("Set Scan Filter Variables", "setFilterFactors",
                                    &CVKT02SettingsDlg::OnSetFilterFactors),
                          3, 1);
    AddField(filterGrid, 4, "Scan Interval", &T::scanInterval, "scanInterval", true);
    filterGrid->addWidget(new QLabel(QStringLiteral("(0.6 x)"), filter), 4, 2);
    filterGrid->addWidget(
        AddButton("Set Scan Int.", "setScanInterval", &CVKT02SettingsDlg::OnSetScanInterval), 5, 1);

    auto* thresholdRow = new QHBoxLayout;
    auto* thresholdEdit = new CNumericEdit;
    thresholdEdit->setObjectName(QStringLiteral("threshold"));
    thresholdEdit->SetDigitsOnly(true);
    auto* threshold = new UpDownEdit(thresholdEdit, this);
    threshold->SetRange(0, 255);
    threshold->UpButton()->setObjectName(QStringLiteral("thresholdUp"));
    threshold->DownButton()->setObjectName(QStringLiteral("thresholdDown"));
    fields_.push_back({&T::threshold, thresholdEdit});
    thresholdRow->addWidget(threshold, 1);
    thresholdRow->addWidget(
        AddButton("Set Threshold", "setThreshold", &CVKT02SettingsDlg::OnSetThreshold));

    auto* averagingRow = new QGridLayout;
    AddField(averagingRow, 0, nullptr, &T::averagingPeriod, "averagingPeriod");
    averagingRow->addWidget(new QLabel(QStringLiteral("(ms)"), this), 0, 2);
    averagingRow->addWidget(AddButton("Averaging Period", "setAveragingPeriod",
                                      &CVKT02SettingsDlg::OnSetAveragingPeriod),
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

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(AddButton("Refresh", "refresh", &CVKT02SettingsDlg::ReloadSettings));
    buttons->addWidget(AddButton("Close", "close", &QDialog::reject));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
}

void CVKT02SettingsDlg::showEvent(QShowEvent* event) {
    CCustomSettingsDlg::showEvent(event);
    if (event->spontaneous())
        return;
    InitDialog();
}

void CVKT02SettingsDlg::InitDialog() {
    modeBox_->clear();
    for (const std::string& item : Vkt02ModeBoxItems(Context().Model()))
        modeBox_->addItem(Text(item));
    TextsToControls();
}

void CVKT02SettingsDlg::TextsToControls() {
    // A closed dialog keeps its values; the controls take them when it next opens.
    if (!isVisible())
        return;
    for (const Field& field : fields_)
        field.edit->setText(Text(settings_.texts.*field.text));
    // An index the box does not have leaves it without a selection.
    modeBox_->setCurrentIndex(settings_.modeNumber);
    laserBox_->setCurrentIndex(settings_.laserOn ? 0 : 1);
    orderBox_->setCurrentIndex(OrderBoxRow(settings_.order));
}

void CVKT02SettingsDlg::ControlsToTexts() {
    for (const Field& field : fields_)
        settings_.texts.*field.text = field.edit->text().toStdString();
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
    if (!sensor->GetSensorSetup() || !sensor->GetMinLP() || !sensor->GetMaxLP() ||
        !sensor->GetAnalogFactors() || !sensor->GetConfigVars())
        return;
    configRead_ = true;
    const ReplyStore& replies = sensor->Replies();
    settings_ = Vkt02SettingsFromReplies(replies, Context().Model(), TimingBase::Of(*sensor));
    // A connection made through the global address goes on with the sensor's own.
    sensor->SetAddress(replies.sensorSetup.address);
    TextsToControls();
    Context().PostRefreshSensorBar();
}

void CVKT02SettingsDlg::SendAndReload(const std::function<void(SensorDevice&)>& send) {
    ExchangeGuard::Hold hold(Context().Exchanges());
    if (SensorDevice* sensor = Sensor())
        send(*sensor);
    // A failed write is in the log already; the re-read shows what the sensor kept.
    ReloadSettings();
}

void CVKT02SettingsDlg::Warn(const std::string& text) {
    Context().Prompts().Warn(this, Text(text));
}

// --- write buttons -------------------------------------------------------------------

void CVKT02SettingsDlg::OnSetMode() {
    ControlsToTexts();
    SendAndReload([this](SensorDevice& s) { s.SetMode(ModeWord(settings_.modeNumber)); });
}

void CVKT02SettingsDlg::OnSetMinLaserPower() {
    ControlsToTexts();
    const Checked<std::uint8_t> power = CheckMinLaserPower(settings_.texts.minLaserPower);
    if (!Refused(power))
        SendAndReload([&power](SensorDevice& s) { s.SetMinLP(*power.value); });
}

void CVKT02SettingsDlg::OnSetMaxLaserPower() {
    ControlsToTexts();
    const Checked<std::uint8_t> power = CheckMaxLaserPower(settings_.texts.maxLaserPower);
    if (!Refused(power))
        SendAndReload([&power](SensorDevice& s) { s.SetMaxLP(*power.value); });
}

void CVKT02SettingsDlg::OnSetThreshold() {
    ControlsToTexts();
    const Checked<std::uint8_t> threshold = CheckThreshold(settings_.texts.threshold);
    if (!Refused(threshold))
        SendAndReload([&threshold](SensorDevice& s) { s.SetThreshold(*threshold.value); });
}

void CVKT02SettingsDlg::OnSetScanInterval() {
    ControlsToTexts();
    SendAndReload([this](SensorDevice& s) {
        s.SetScanInterval(ScanIntervalWord(settings_.texts.scanInterval));
    });
}

void CVKT02SettingsDlg::OnSetFilterFactors() {
    ControlsToTexts();
    const FilterFactors factors = FilterFactorsFrom(settings_);
    SendAndReload([&factors](SensorDevice& s) {
        s.SetFilterFactors(factors.dropout, factors.smooth, factors.order);
    });
}

void CVKT02SettingsDlg::OnSetLaser() {
    ControlsToTexts();
    SendAndReload([this](SensorDevice& s) {
        if (settings_.laserOn)
            s.SetLaserOn();
        else
            s.SetLaserOff();
    });
}

void CVKT02SettingsDlg::OnSetRangeOffset() {
    ControlsToTexts();
    // The mode in the box governs, even before "Set Mode" has sent it.
    const Checked<OffsetRequest> offset =
        CheckRangeOffset(settings_.texts, GetRangeMode(Context().Model(), settings_.modeNumber));
    if (Refused(offset))
        return;
    const OffsetRequest& r = *offset.value;
    SendAndReload(
        [&r](SensorDevice& s) { s.SetOffset(r.rangeOffset, r.cosine, r.multiplier, r.fourth); });
}

void CVKT02SettingsDlg::OnSetAnalogFactors() {
    ControlsToTexts();
    const Checked<AnalogOutputRecord> record =
        CheckAnalogFactors(settings_.texts, GetRangeMode(Context().Model(), settings_.modeNumber));
    if (!Refused(record))
        SendAndReload([&record](SensorDevice& s) { s.SetAnalogOuputFactors(*record.value); });
}

void CVKT02SettingsDlg::OnSetAveragingPeriod() {
    ControlsToTexts();
    SensorDevice* sensor = Sensor();
    if (!sensor)
        return;
    const std::string& text = settings_.texts.averagingPeriod;
    const TimingBase timing = TimingBase::Of(*sensor);
    // Whether the period is refused does not depend on the record it goes into.
    Checked<ConfigRecord> record = CheckAveragingPeriod(text, sensor->Replies().configVars, timing);
    if (Refused(record))
        return;
    ExchangeGuard::Hold hold(Context().Exchanges());
    if (!configRead_) {
        // The record goes back whole: one never read would overwrite the sensor's other
        // configuration words with zeros.
        if (!sensor->GetConfigVars())
            return;
        configRead_ = true;
        record = CheckAveragingPeriod(text, sensor->Replies().configVars, timing);
    }
    SendAndReload([&record](SensorDevice& s) { s.SetConfigVars(*record.value); });
}

} // namespace vk
