#include "legacy_tool/main_form.h"

#include "legacy_tool/about_dialog.h"
#include "legacy_tool/connect_page.h"
#include "legacy_tool/hidden_modes.h"
#include "legacy_tool/host_settings.h"
#include "legacy_tool/key_filter_hook.h"
#include "legacy_tool/reply_reader.h"
#include "legacy_tool/sensor_settings_page.h"
#include "legacy_tool/view_page.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vk::legacy {

namespace {

QLabel* NewValuePanel(QWidget* parent, const char* name) {
    auto* panel = new QLabel(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMinimumWidth(110);
    panel->setStyleSheet("QLabel { color: red; background: white; font-weight: bold; }");
    return panel;
}

} // namespace

TfrmMain::TfrmMain(UserPrompts& prompts, const QString& settingsPath, QWidget* parent)
    : QWidget(parent), prompts_(prompts), ini_(settingsPath.toStdString()),
      port_(new ComPort(prompts, this)), comm_(new KorvelComm(state_, *port_, this)),
      session_(*comm_, state_) {
    setObjectName("frmMain");
    setWindowTitle("VKT02 Setup Utility");
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    BuildLayout();
    connect(port_, &ComPort::Lost, this, &TfrmMain::ComPortLost);
    FormCreate();
    dlgAbout_ = new TdlgAbout(this);
}

TfrmMain::~TfrmMain() {
    // ~QWidget takes the focus from a list, and switches pages, only after this form's
    // parts are gone; the list guards and the page handler would ask for them then.
    RemoveExitGuards(this);
    disconnect(PageControl1_, nullptr, this, nullptr);
}

void TfrmMain::BuildLayout() {
    auto* main = new QVBoxLayout(this);
    main->setSizeConstraint(QLayout::SetFixedSize);

    auto* header = new QGridLayout;
    pnlSerial_ = NewValuePanel(this, "pnlSerial");
    pnlModel_ = NewValuePanel(this, "pnlModel");
    pnlFirmware_ = NewValuePanel(this, "pnlFirmware");
    pnlFpga_ = NewValuePanel(this, "pnlFpga");
    header->addWidget(new QLabel("Serial Number", this), 0, 0);
    header->addWidget(pnlSerial_, 0, 1);
    header->addWidget(new QLabel("Model Number", this), 0, 2);
    header->addWidget(pnlModel_, 0, 3);
    header->addWidget(new QLabel("Firmware ", this), 1, 0);
    header->addWidget(pnlFirmware_, 1, 1);
    header->addWidget(new QLabel("FPGA", this), 1, 2);
    header->addWidget(pnlFpga_, 1, 3);
    btnAbout_ = new QPushButton("About", this);
    btnAbout_->setObjectName("btnAbout");
    header->addWidget(btnAbout_, 0, 4, 2, 1);
    main->addLayout(header);

    PageControl1_ = new QTabWidget(this);
    PageControl1_->setObjectName("PageControl1");
    connectPage_ = new ConnectPage(PageControl1_);
    settingsPage_ = new SensorSettingsPage(*this, PageControl1_);
    viewPage_ = new ViewPage(*this, PageControl1_);
    PageControl1_->addTab(connectPage_, "       Connect     ");
    PageControl1_->addTab(settingsPage_, "Sensor Settings");
    PageControl1_->addTab(viewPage_, " View / Diagnostics ");
    PageControl1_->setTabEnabled(1, false);
    PageControl1_->setTabEnabled(2, false);
    main->addWidget(PageControl1_);

    auto* strip = new QHBoxLayout;
    lblStatus_ = new QLabel(this);
    lblStatus_->setObjectName("lblStatus");
    lblStatus_->setStyleSheet("QLabel { color: red; }");
    lblStatus_->setMinimumWidth(300);
    ProgressBar1_ = new QProgressBar(this);
    ProgressBar1_->setObjectName("ProgressBar1");
    ProgressBar1_->setRange(0, 100);
    ProgressBar1_->setVisible(false);
    pnlComErrors_ = new QLabel("0", this);
    pnlComErrors_->setObjectName("pnlComErrors");
    pnlComErrors_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    strip->addWidget(lblStatus_, 1);
    strip->addWidget(ProgressBar1_);
    strip->addWidget(new QLabel("COM Errors", this));
    strip->addWidget(pnlComErrors_);
    main->addLayout(strip);

    connect(connectPage_->BtnConnect, &QPushButton::clicked, this, &TfrmMain::BtnConnectClick);
    connect(btnAbout_, &QPushButton::clicked, this, &TfrmMain::btnAboutClick);
    connect(PageControl1_, &QTabWidget::currentChanged, this, &TfrmMain::PageControl1Change);
    InstallExitGuard(connectPage_->cboPort, [this] { cboPortExit(); });
    InstallExitGuard(connectPage_->cboHostBaud, [this] { cboHostBaudExit(); });
}

void TfrmMain::FormCreate() {
    connectPage_->lblWarning->setText(
        "* Do not use global addressing\r\n  in multi-drop situation!");
    if (ini_.Unread())
        SayOnce(kSettingsUnread);
    else if (!ini_.CreateIfMissing(DefaultSettingsLines()))
        SayOnce(kSettingsNotSaved);
    LoadSettings();
}

void TfrmMain::SayOnce(const char* text) {
    if (settingsTrouble_ == SettingsTrouble::Said)
        return;
    SetStatus(text);
    settingsTrouble_ = SettingsTrouble::Said;
}

void TfrmMain::SetStatus(const QString& text) {
    lblStatus_->setText(text);
}

void TfrmMain::ProcessErrorMsg(int code) {
    switch (code) {
    case kNoResponse:
        SetStatus("Error : No Response");
        break;
    case kInvalidResponse:
        SetStatus("Error : Invalid Response");
        break;
    case kTimeOut:
        SetStatus("Error : Time out");
        break;
    case kCheckMismatch:
        SetStatus("Error : Invalid CRC/Chksum");
        break;
    default:
        break;
    }
    pnlComErrors_->setText(QString::number(pnlComErrors_->text().toInt() + 1));
}

void TfrmMain::ComPortLost() {
    // As after a Connect that found nobody: only the Connect page is of use now, and
    // nothing runs until the user connects again.
    state_.connected = false;
    state_.stop = true;
    PageControl1_->setTabEnabled(1, false);
    PageControl1_->setTabEnabled(2, false);
    SetStatus("Error : ComPort Lost!");
    ProcessErrorMsg(kNoError); // counts, leaves the text
}

void TfrmMain::ShowSerialNumber(const QString& text) {
    pnlSerial_->setText(text);
}

void TfrmMain::ShowModelNumber(const QString& text) {
    pnlModel_->setText(text);
}

void TfrmMain::ShowVersions(const QString& firmware, const QString& fpga) {
    pnlFirmware_->setText(firmware);
    pnlFpga_->setText(fpga);
}

void TfrmMain::ShowRangeUnit(const QString& label) {
    viewPage_->SetRangeUnit(label);
}

void TfrmMain::SetProgress(int percent, bool visible) {
    ProgressBar1_->setValue(percent);
    ProgressBar1_->setVisible(visible);
}

void TfrmMain::SetConnectAddress(const QString& text) {
    connectPage_->editAddress->setText(text);
}

bool TfrmMain::GlobalAddressing() const {
    return connectPage_->cbxGlobal->isChecked();
}

int TfrmMain::HostBaudPosition() const {
    return connectPage_->cboHostBaud->currentIndex();
}

void TfrmMain::SetHostBaudPosition(int position) {
    QComboBox* list = connectPage_->cboHostBaud;
    list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
}

void TfrmMain::PageControl1Change() {
    state_.stop = true;
}

void TfrmMain::btnAboutClick() {
    dlgAbout_->HideEntry();
    dlgAbout_->exec();
    HiddenModes modes = ModesForCode(dlgAbout_->EntryString());
    state_.resetMode = modes.reset;
    state_.serviceMode = modes.service;
    settingsPage_->ApplyServiceMode(state_.serviceMode);
}

void TfrmMain::cboPortExit() {
    if (connectPage_->cboPort->currentIndex() < 0)
        connectPage_->SelectPort(state_.portNumber);
}

void TfrmMain::cboHostBaudExit() {
    if (HostBaudPosition() < 0)
        SetHostBaudPosition(BaudPosition(state_.hostBaud));
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    FormCloseQuery();
    FormClose();
    event->accept();
}

void TfrmMain::FormCloseQuery() {
    state_.stop = true;
    // A sequence still running unwinds at once, without another request.
    state_.closing = true;
    QCoreApplication::processEvents();
}

void TfrmMain::FormClose() {
    comm_->Timer1().stop();
    port_->LowerLines();
}

} // namespace vk::legacy
