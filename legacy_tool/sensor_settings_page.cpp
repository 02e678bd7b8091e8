#include "legacy_tool/sensor_settings_page.h"

#include "legacy_tool/fitted_size.h"
#include "legacy_tool/host_settings.h"
#include "legacy_tool/key_filter_hook.h"
#include "legacy_tool/model_presets.h"
#include "legacy_tool/sensor_modes.h"
#include "legacy_tool/settings_sequences.h"
#include "util_app/buddy_label.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vk::legacy {

namespace {

QComboBox* NewList(QWidget* parent, const char* name, const QStringList& items) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->addItems(items);
    InstallKeyFilter(list, KeyFilter::NoKeys);
    return list;
}

QStringList ToQt(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& t : texts)
        list << QString::fromStdString(t);
    return list;
}

QString Number(int v) {
    return QString::number(v);
}

} // namespace

QString FromSensor(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

SensorSettingsPage::SensorSettingsPage(FormHost& host, QWidget* parent)
    : QWidget(parent), host_(host) {
    BuildLayout();
    ApplyServiceMode(false);
}

QLineEdit* SensorSettingsPage::AddEdit(QGridLayout* grid, int row, const char* label,
                                       const char* name, int maxLength, const char* widest) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    if (maxLength > 0)
        InstallLengthLimit(edit, maxLength);
    FitWidthTo(edit, widest);
    grid->addWidget(BuddyLabel(label, edit), row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

QPushButton* SensorSettingsPage::AddButton(const char* caption, const char* name,
                                           void (SensorSettingsPage::*handler)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

namespace {

// A frame around one group of settings, its rows closer to its edge than a box's default,
// so the page fits a small screen.
QGridLayout* NewGroup(QWidget* page, QBoxLayout* column) {
    auto* group = new QGroupBox(page);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 6, 6, 6);
    column->addWidget(group);
    return grid;
}

// The widest texts the fields show: what may be typed, and what a sensor may send back
// (a 16-bit count, a signed range, a 32-bit period). The fields of a group share one
// width, the widest of them, so they line up; a voltage or a factor ("65.535") is no
// wider than a range.
constexpr const char* kWidestCount = "65535";
constexpr const char* kWidestRange = "-3276.8";
constexpr const char* kWidestPeriod = "-21474836.48";

} // namespace

void SensorSettingsPage::BuildLayout() {
    // Three columns of groups, each as tall as its own groups.
    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(6, 6, 6, 6);
    QBoxLayout* columns[3];
    for (QBoxLayout*& column : columns) {
        column = new QVBoxLayout;
        page->addLayout(column);
    }
    page->addStretch(1);

    // Laser, identity, powers, mode and check method: a button beside its field.
    QGridLayout* g = NewGroup(this, columns[0]);
    g->addWidget(AddButton("Laser ON", "btnLaserOn", &SensorSettingsPage::btnLaserOnClick), 0, 0);
    g->addWidget(AddButton("Laser OFF", "btnLaserOff", &SensorSettingsPage::btnLaserOffClick), 0,
                 1);
    pnlLaser_ = new QLabel(this);
    pnlLaser_->setObjectName("pnlLaser");
    pnlLaser_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    g->addWidget(pnlLaser_, 0, 2);

    btnSerial_ = AddButton("Serial Number", "btnSerial", &SensorSettingsPage::btnSerialClick);
    editSerial_ = new QLineEdit(this);
    editSerial_->setObjectName("editSerial");
    InstallLengthLimit(editSerial_, 8);
    btnModel_ = AddButton("Model Number", "btnModel", &SensorSettingsPage::btnModelClick);
    cboModel_ = NewList(this, "cboModel", ToQt(ModelListTexts()));
    editSensorAddress_ = new QLineEdit(this);
    editSensorAddress_->setObjectName("editSensorAddress");
    cboSensorBaud_ = NewList(this, "cboSensorBaud", {"9600", "19200", "38400", "57600"});
    editMinPwr_ = new QLineEdit(this);
    editMinPwr_->setObjectName("editMinPwr");
    editMaxPwr_ = new QLineEdit(this);
    editMaxPwr_->setObjectName("editMaxPwr");
    editThreshold_ = new QLineEdit(this);
    editThreshold_->setObjectName("editThreshold");
    cboMode_ = NewList(this, "cboMode", ToQt(ModeDescriptions()));
    cboCRC_ = NewList(this, "cboCRC", {"Checksum", "CRC16"});

    struct Row {
        QPushButton* button;
        QWidget* field;
        bool below = false; // the field on a row of its own, as wide as the group
    };
    const Row rows[] = {
        {btnSerial_, editSerial_},
        {btnModel_, cboModel_},
        {AddButton("Address", "BtnAddress", &SensorSettingsPage::BtnAddressClick),
         editSensorAddress_},
        {AddButton("Baud", "btnSensorBaud", &SensorSettingsPage::btnSensorBaudClick),
         cboSensorBaud_},
        {AddButton("Min. Power", "btnMinPwr", &SensorSettingsPage::btnMinPwrClick), editMinPwr_},
        {AddButton("Max. Power", "btnMaxPwr", &SensorSettingsPage::btnMaxPwrClick), editMaxPwr_},
        {AddButton("Thershold", "btnThreshold", &SensorSettingsPage::btnThresholdClick),
         editThreshold_},
        // The mode descriptions are the longest texts of the group.
        {AddButton("Set Sensor Mode", "btnMode", &SensorSettingsPage::btnModeClick), cboMode_,
         true},
        {AddButton("Error Checking", "btnErrChk", &SensorSettingsPage::btnErrChkClick), cboCRC_},
    };
    int r = 1;
    for (const Row& row : rows) {
        NameAfterButton(row.field, row.button);
        g->addWidget(row.button, r, 0);
        if (row.below)
            g->addWidget(row.field, ++r, 0, 1, 3);
        else
            g->addWidget(row.field, r, 1, 1, 2);
        ++r;
    }

    QGridLayout* s = NewGroup(this, columns[1]);
    editDropouts_ = AddEdit(s, 0, "Dropouts", "editDropouts", 0, kWidestCount);
    editSmooth_ = AddEdit(s, 1, "Smooth %", "editSmooth", 0, kWidestCount);
    editOrder_ = AddEdit(s, 2, "Order", "editOrder", 0, kWidestCount);
    editScanInterval_ = AddEdit(s, 3, "Scan Interval", "editScanInterval", 0, kWidestCount);
    s->addWidget(
        AddButton("Set Scan Variables", "btnScanVars", &SensorSettingsPage::btnScanVarsClick), 4, 0,
        1, 2, Qt::AlignRight);

    QGridLayout* o = NewGroup(this, columns[1]);
    editCosine_ = AddEdit(o, 0, "Cosine", "editCosine", 6, kWidestRange);
    editMultiplier_ = AddEdit(o, 1, "Range Multiplier", "editMultiplier", 6, kWidestRange);
    editRangeOffset_ = AddEdit(o, 2, "Range Offset", "editRangeOffset", 7, kWidestRange);
    o->addWidget(AddButton("Set Offsets", "BtnOffsets", &SensorSettingsPage::BtnOffsetsClick), 3, 0,
                 1, 2, Qt::AlignRight);

    QGridLayout* d = NewGroup(this, columns[1]);
    d->addWidget(AddButton("Set To Defaults", "Button2", &SensorSettingsPage::Button2Click), 0, 0,
                 Qt::AlignLeft);

    QGridLayout* a = NewGroup(this, columns[2]);
    editMinRange_ = AddEdit(a, 0, "Minimum Range", "editMinRange", 7, kWidestRange);
    editMaxRange_ = AddEdit(a, 1, "Maximum Range", "editMaxRange", 7, kWidestRange);
    editMinVolt_ = AddEdit(a, 2, "Volts @ Min. Range", "editMinVolt", 5, kWidestRange);
    editMaxVolt_ = AddEdit(a, 3, "Volts @ Max. Range", "editMaxVolt", 5, kWidestRange);
    editOutVolt_ = AddEdit(a, 4, "Volts Outside Range", "editOutVolt", 5, kWidestRange);
    editOffsetVolt_ = AddEdit(a, 5, "Offset Voltage", "editOffsetVolt", 5, kWidestRange);
    a->addWidget(
        AddButton("Set Analog Variables", "btnAnalog", &SensorSettingsPage::btnAnalogClick), 6, 0,
        1, 2, Qt::AlignRight);

    QGridLayout* v = NewGroup(this, columns[2]);
    editAvg_ = new QLineEdit(this);
    editAvg_->setObjectName("editAvg");
    InstallLengthLimit(editAvg_, 11);
    FitWidthTo(editAvg_, kWidestPeriod);
    v->addWidget(editAvg_, 0, 0);
    v->addWidget(new QLabel("msec", this), 0, 1);
    QPushButton* btnAvg =
        AddButton("Set  Averaging Period", "btnAvg", &SensorSettingsPage::btnAvgClick);
    NameAfterButton(editAvg_, btnAvg);
    v->addWidget(btnAvg, 1, 0, 1, 2);

    QGridLayout* u = NewGroup(this, columns[2]);
    cboUpload_ = NewList(this, "cboUpload", {"DSP", "FPGA", "Calibration"});
    btnUpload_ = AddButton("Upload", "btnUpload", &SensorSettingsPage::BtnUploadClick);
    NameAfterButton(cboUpload_, btnUpload_);
    u->addWidget(cboUpload_, 0, 0);
    u->addWidget(btnUpload_, 0, 1);
    for (QBoxLayout* column : columns)
        column->addStretch(1);

    for (QLineEdit* e : {editSensorAddress_, editMinPwr_, editMaxPwr_, editThreshold_,
                         editDropouts_, editSmooth_, editOrder_, editScanInterval_})
        InstallKeyFilter(e, KeyFilter::Digits);
    InstallKeyFilter(editSerial_, KeyFilter::SerialText);
    for (QLineEdit* e : {editMinRange_, editMaxRange_, editRangeOffset_})
        InstallKeyFilter(e, KeyFilter::Signed);
    for (QLineEdit* e : {editMinVolt_, editMaxVolt_, editOutVolt_, editOffsetVolt_, editCosine_,
                         editMultiplier_, editAvg_})
        InstallKeyFilter(e, KeyFilter::Unsigned);

    InstallExitGuard(cboSensorBaud_, [this] { cboSensorBaudExit(); });
    InstallExitGuard(cboMode_, [this] { cboModeExit(); });
    InstallExitGuard(cboCRC_, [this] { cboCRCExit(); });
    InstallExitGuard(cboModel_, [this] { cboModelExit(); });
    InstallExitGuard(cboUpload_, [this] { cboModelExit(); });
}

void SensorSettingsPage::ApplyServiceMode(bool on) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{btnSerial_, cboUpload_, btnUpload_, cboModel_, btnModel_})
        w->setEnabled(on);
}

void SensorSettingsPage::ShowCheckMethod(CheckMethod method) {
    cboCRC_->setCurrentIndex(method == CheckMethod::Checksum ? 0 : 1);
}

void SensorSettingsPage::GetSensorData() {
    int host = host_.HostBaudPosition();
    cboSensorBaud_->setCurrentIndex(host < cboSensorBaud_->count() ? host : -1);
    host_.SetStatus({});

    SensorReadout r = ReadSensorData(host_.Session());
    if (r.version)
        host_.ShowVersions(FromSensor(r.version->firmware), FromSensor(r.version->fpga));
    if (r.setup)
        ShowSetup(*r.setup);
    if (r.analog)
        ShowAnalog(*r.analog);
    if (r.config)
        editAvg_->setText(QString::fromStdString(r.config->period));
    ReportAll(r.settingsErrors);
    host_.SetStatus({});

    if (r.modelName) {
        host_.ShowModelNumber(FromSensor(*r.modelName));
        cboModel_->setCurrentIndex(*r.modelRow);
    }
    if (r.minPower)
        editMinPwr_->setText(Number(*r.minPower));
    if (r.maxPower)
        editMaxPwr_->setText(Number(*r.maxPower));
    ReportAll(r.identityErrors);
}

void SensorSettingsPage::ReportAll(const std::vector<int>& errors) {
    for (int e : errors)
        host_.ProcessErrorMsg(e);
}

void SensorSettingsPage::ShowLaser(bool on) {
    pnlLaser_->setText(on ? "LASER ON" : "LASER OFF");
    pnlLaser_->setStyleSheet(on ? "color: red;" : "color: black;");
}

void SensorSettingsPage::ShowSetup(const SetupFields& s) {
    QString serial = FromSensor(s.serial);
    host_.ShowSerialNumber(serial);
    editSerial_->setText(serial);
    editSensorAddress_->setText(Number(s.address));
    cboMode_->setCurrentIndex(IsKnownMode(s.mode) ? s.mode : -1);
    editThreshold_->setText(Number(s.threshold));
    ShowScanVariables(s);
    ShowOffsets(s);
    ShowLaser(s.laserOn);
    if (IsKnownMode(s.mode))
        host_.ShowRangeUnit(ModeRow(s.mode).unitLabel);
}

void SensorSettingsPage::ShowOffsets(const SetupFields& s) {
    editRangeOffset_->setText(QString::fromStdString(s.rangeOffset));
    editCosine_->setText(QString::fromStdString(s.cosine));
    editMultiplier_->setText(QString::fromStdString(s.multiplier));
}

void SensorSettingsPage::ShowScanVariables(const SetupFields& s) {
    editScanInterval_->setText(Number(s.scanInterval));
    editDropouts_->setText(Number(s.dropouts));
    editSmooth_->setText(Number(s.smooth));
    editOrder_->setText(Number(s.order));
}

void SensorSettingsPage::ShowAnalog(const AnalogTexts& a) {
    editMinVolt_->setText(QString::fromStdString(a.voltsAtMin));
    editMinRange_->setText(QString::fromStdString(a.minRange));
    editMaxVolt_->setText(QString::fromStdString(a.voltsAtMax));
    editMaxRange_->setText(QString::fromStdString(a.maxRange));
    editOffsetVolt_->setText(QString::fromStdString(a.offsetVoltage));
    editOutVolt_->setText(QString::fromStdString(a.voltsOutside));
}

void SensorSettingsPage::Refuse(const Refusal& refusal) {
    host_.Prompts().Error(QString::fromStdString(refusal.message));
    if (QLineEdit* edit = EditFor(refusal.field))
        edit->setFocus();
}

QLineEdit* SensorSettingsPage::EditFor(Field field) const {
    switch (field) {
    case Field::Address:
        return editSensorAddress_;
    case Field::MinPower:
        return editMinPwr_;
    case Field::MaxPower:
        return editMaxPwr_;
    case Field::Threshold:
        return editThreshold_;
    case Field::Cosine:
        return editCosine_;
    case Field::Multiplier:
        return editMultiplier_;
    case Field::RangeOffset:
        return editRangeOffset_;
    case Field::Dropouts:
        return editDropouts_;
    case Field::Smooth:
        return editSmooth_;
    case Field::Order:
        return editOrder_;
    case Field::ScanInterval:
        return editScanInterval_;
    case Field::MinRange:
        return editMinRange_;
    case Field::MaxRange:
        return editMaxRange_;
    case Field::VoltsAtMin:
        return editMinVolt_;
    case Field::VoltsAtMax:
        return editMaxVolt_;
    case Field::VoltsOutside:
        return editOutVolt_;
    case Field::OffsetVoltage:
        return editOffsetVolt_;
    case Field::AveragingPeriod:
        return editAvg_;
    case Field::ConnectAddress:
    case Field::StartIndex:
    case Field::ScanCount:
        break;
    }
    return nullptr;
}

void SensorSettingsPage::cboSensorBaudExit() {
    if (cboSensorBaud_->currentIndex() < 0)
        cboSensorBaud_->setCurrentIndex(BaudPosition(host_.State().hostBaud));
}

void SensorSettingsPage::cboModeExit() {
    int mode = host_.State().sensorMode;
    if (cboMode_->currentIndex() < 0 && IsKnownMode(mode))
        cboMode_->setCurrentIndex(mode);
}

void SensorSettingsPage::cboCRCExit() {
    if (cboCRC_->currentIndex() < 0)
        ShowCheckMethod(host_.State().method);
}

void SensorSettingsPage::cboModelExit() {
    if (cboModel_->currentIndex() < 0)
        cboModel_->setCurrentIndex(0);
}

} // namespace vk::legacy
