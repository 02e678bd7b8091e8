#include "panels/vkt02_scan_page.h"

#include "panels/value_rows.h"
#include "panels/vkt02_scan_statistics.h"
#include "sensor/sensor_device.h"
#include "util_app/name_value_list.h"
#include "util_app/panel_context.h"
#include "util_app/scan_buffer_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vk {

namespace {

QPushButton* NewButton(const char* text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

CVKT02ScanDlg::CVKT02ScanDlg(PanelContext& context, QWidget* parent)
    : QWidget(parent), context_(context), list_(new QTableWidget(0, 2, this)),
      startStop_(NewButton("Start scan", "startScan", this)),
      filter_(NewButton("Filter", "filter", this)),
      read_(NewButton("Read Scan Buffer", "readScanBuffer", this)), status_(new QLabel(this)) {
    setObjectName(QStringLiteral("scanBufferPage"));
    list_->setObjectName(QStringLiteral("statisticsList"));
    status_->setObjectName(QStringLiteral("scanStatus"));
    SetUpNameValueList(list_);
    list_->setColumnWidth(0, 150);
    InsertNamedRows(list_, kVkt02ScanStatisticsRowNames);

    connect(startStop_, &QPushButton::clicked, this, &CVKT02ScanDlg::OnStartStop);
    connect(filter_, &QPushButton::clicked, this, &CVKT02ScanDlg::OnFilter);
    connect(read_, &QPushButton::clicked, this, &CVKT02ScanDlg::OnReadScanBuffer);

    auto* statusBox = new QGroupBox(QStringLiteral("Status"), this);
    auto* statusLayout = new QVBoxLayout(statusBox);
    statusLayout->addWidget(status_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(startStop_);
    buttons->addWidget(filter_);
    buttons->addWidget(read_);
    buttons->addWidget(statusBox, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
}

void CVKT02ScanDlg::OnStartStop() {
    ExchangeGuard::Hold hold(context_.Exchanges());
    SensorDevice& sensor = context_.Sensor();
    if (!(scanning_ ? sensor.StopScan() : sensor.StartScan()))
        return;
    scanning_ = !scanning_;
    read_->setEnabled(!scanning_);
    filter_->setEnabled(!scanning_);
    startStop_->setText(scanning_ ? QStringLiteral("Stop Scan") : QStringLiteral("Start Scan"));
    status_->setText(scanning_ ? QStringLiteral("Scanning...") : QStringLiteral("Not scanning"));
}

void CVKT02ScanDlg::OnFilter() {
    ExchangeGuard::Hold hold(context_.Exchanges());
    SensorDevice& sensor = context_.Sensor();
    sensor.ApplyScanFilter();
    sensor.HLAScanResult();
    UpdateStatistics();
}

void CVKT02ScanDlg::OnReadScanBuffer() {
    ExchangeGuard::Hold hold(context_.Exchanges());
    const std::uint16_t polled = context_.Sensor().Replies().vkt02State.scanCount;
    OpenScanBufferReader(context_, this, ReaderRangesForScanCount(polled));
}

void CVKT02ScanDlg::UpdateStatistics() {
    if (!RowsReadyToFill(list_, context_.IsConnected(), kVkt02ScanStatisticsRowNames))
        return;
    const ReplyStore& replies = context_.Sensor().Replies();
    WriteRowValues(list_, Vkt02ScanStatisticsValues(
                              replies.vkt02State.scanCount, replies.hlaResult,
                              [this](std::uint16_t raw) { return context_.FormatRange(raw); }));
}

} // namespace vk
