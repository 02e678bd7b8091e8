#include "legacy_tool/view_page.h"

#include "legacy_tool/fitted_size.h"
#include "legacy_tool/key_filter_hook.h"
#include "legacy_tool/legacy_codes.h"
#include "legacy_tool/view_decoding.h"
#include "util_app/buddy_label.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vk::legacy {

namespace {

constexpr const char* kShownStyle = "QLabel { background-color: palette(base); color: red; }";
constexpr const char* kHiddenStyle = "QLabel { background-color: palette(button); color: gray; }";
// About one screen frame.
constexpr qint64 kRangeRepaintMs = 16;

// Runs `shown` whenever the watched widget becomes visible.
class ShowHook : public QObject {
public:
    ShowHook(QObject* owner, std::function<void()> shown)
        : QObject(owner), shown_(std::move(shown)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            shown_();
        return false;
    }

private:
    std::function<void()> shown_;
};

QString Qt(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

ViewPage::ViewPage(FormHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    PageControl2_ = new QTabWidget(this);
    PageControl2_->setObjectName("PageControl2");
    PageControl2_->setTabPosition(QTabWidget::South);
    PageControl2_->addTab(BuildRangeSpot(), "              Range / Spot               ");
    PageControl2_->addTab(BuildScanBuffer(), "                 Scan Buffer                   ");
    QWidget* errors = BuildErrors();
    PageControl2_->addTab(errors, "             Errors / Statistics            ");
    layout->addWidget(PageControl2_);
    connect(PageControl2_, &QTabWidget::currentChanged, this, &ViewPage::PageControl2Change);
    errors->installEventFilter(new ShowHook(errors, [this] { TabSheet5Show(); }));
}

QPushButton* ViewPage::AddButton(QWidget* parent, const char* caption, const char* name,
                                 void (ViewPage::*handler)()) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

QLabel* ViewPage::AddReadout(QGridLayout* grid, int row, int column, const char* label,
                             const char* name, const char* text) {
    QWidget* parent = grid->parentWidget();
    auto* panel = new QLabel(text, parent);
    panel->setObjectName(name);
    QLabel* caption = BuddyLabel(label, panel, parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    grid->addWidget(caption, row, column);
    grid->addWidget(panel, row, column + 1);
    return panel;
}

QWidget* ViewPage::BuildRangeSpot() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->addWidget(AddButton(page, "Start", "btnStartSpot", &ViewPage::btnStartSpotClick), 0, 0);
    grid->addWidget(AddButton(page, "Stop", "btnStopSpot", &ViewPage::btnStopSpotClick), 0, 1);
    cbxSpot_ = new QCheckBox("Show All", page);
    cbxSpot_->setObjectName("cbxSpot");
    connect(cbxSpot_, &QCheckBox::clicked, this, &ViewPage::cbxSpotClick);
    grid->addWidget(cbxSpot_, 0, 2);

    pnlRange_ = AddReadout(grid, 1, 0, "Range", "pnlRange");
    lblRangeUnit_ = new QLabel(page);
    lblRangeUnit_->setObjectName("lblRangeUnit");
    grid->addWidget(lblRangeUnit_, 1, 2);
    struct Extra {
        QLabel** panel;
        const char* label;
        const char* name;
    };
    const Extra extras[] = {
        {&pnlBasePix_, "BasePix", "pnlBasePix"},
        {&pnlSubPix_, "SubPix", "pnlSubPix"},
        {&pnlSumPix_, "SumPix", "pnlSumPix"},
        {&pnlNumPix_, "NumPix", "pnlNumPix"},
        {&pnlScanCount_, "Scan Count", "pnlScanCount"},
        {&pnlScanStatus_, "Scan Status", "pnlScanStatus"},
        {&pnlPeak_, "Peak", "pnlPeak"},
        {&pnlLaserPower_, "Laser Power", "pnlLaserPower"},
        {&pnlAnalog_, "Analog Output", "pnlAnalog"},
    };
    int row = 2;
    for (const Extra& e : extras) {
        *e.panel = AddReadout(grid, row++, 0, e.label, e.name);
        extraReadouts_.push_back(grid->itemAtPosition(row - 1, 0)->widget());
        extraReadouts_.push_back(*e.panel);
        (*e.panel)->setStyleSheet(kShownStyle);
    }
    auto* volts = new QLabel("V", page);
    grid->addWidget(volts, row - 1, 2);
    extraReadouts_.push_back(volts);
    for (QWidget* w : extraReadouts_)
        w->setEnabled(false);
    FixReadoutSizes(page, "Not Scanning");
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(3, 1);
    return page;
}

QWidget* ViewPage::BuildErrors() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->addWidget(AddButton(page, "Update", "btnUpdateStat", &ViewPage::btnUpdateStatClick), 0,
                    0);
    pnlPowerUps_ = AddReadout(grid, 1, 0, "Power-up Count", "pnlPowerUps", "00");
    pnlResets_ = AddReadout(grid, 2, 0, "Reset Count", "pnlResets", "00");
    pnlCheckErrors_ = AddReadout(grid, 3, 0, "Chksum/Crc Errors", "pnlCheckErrors", "00");
    pnlCommandErrors_ = AddReadout(grid, 4, 0, "Command Errors", "pnlCommandErrors", "00");
    pnlCalibration_ = AddReadout(grid, 5, 0, "Calibration Status", "pnlCalibration");
    FixReadoutSizes(page, "Calibration Fail");
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(2, 1);
    return page;
}

void ViewPage::FixReadoutSizes(QWidget* page, const char* widest) {
    // A fixed size keeps a new reading from laying out the whole window again: the live
    // view changes these many times a second.
    for (QLabel* panel : page->findChildren<QLabel*>()) {
        if (panel->objectName().startsWith("pnl"))
            FixSizeFor(panel, widest);
    }
}

void ViewPage::SetRangeUnit(const QString& label) {
    lblRangeUnit_->setText(label);
}

void ViewPage::btnStartSpotClick() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    ToolState& state = host_.State();
    state.stop = false;
    // Every request waits in the event loop, so "Stop", the tabs and closing stay live.
    while (!state.stop && !state.closing) {
        if (cbxSpot_->isChecked())
            ShowAllCycle();
        else
            RangeCycle();
    }
    pnlRange_->setUpdatesEnabled(true); // the last reading shows
}

void ViewPage::RangeCycle() {
    host_.SetStatus({});
    LegacySession& s = host_.Session();
    auto reply = s.Ask(kCmdRangeReading, {}, kReplyMs, kRangeReadingSize);
    if (reply)
        ShowRange(Qt(DecodeRangeReading(*reply, s.Method(), s.State().sensorMode)));
    else {
        pnlRange_->setUpdatesEnabled(true); // no newer reading may come for a while
        host_.ProcessErrorMsg(s.State().lastError);
    }
}

void ViewPage::ShowRange(const QString& text) {
    // Readings come several hundred times a second, a screen shows some sixty. Repainting
    // each one would take the window thread just as the next request leaves, and on a
    // busy machine that holds the request, and so the reading, back. The text is always
    // the newest reading; the panel is repainted at most once a frame.
    bool due = !rangePainted_.isValid() || rangePainted_.elapsed() >= kRangeRepaintMs;
    pnlRange_->setUpdatesEnabled(due);
    pnlRange_->setText(text);
    if (due)
        rangePainted_.restart();
}

void ViewPage::ShowAllCycle() {
    host_.SetStatus({});
    LegacySession& s = host_.Session();
    ToolState& state = s.State();
    const CheckMethod m = s.Method();
    // Each request is asked only while no stop came; each failure is reported.
    auto ask = [&](std::uint8_t code, std::size_t size) -> std::optional<Bytes> {
        if (state.stop)
            return std::nullopt;
        auto reply = s.Ask(code, {}, kReplyMs, size);
        if (!reply)
            host_.ProcessErrorMsg(state.lastError);
        return reply;
    };
    if (auto reply = ask(kCmdGetVKT02State, kStateSize)) {
        StateReadout r = DecodeState(*reply, m, state.sensorMode);
        pnlBasePix_->setText(Qt(r.basePix));
        pnlSumPix_->setText(Qt(r.sumPix));
        pnlNumPix_->setText(Qt(r.numPix));
        pnlSubPix_->setText(Qt(r.subPix));
        pnlRange_->setUpdatesEnabled(true);
        pnlRange_->setText(Qt(r.range));
        pnlScanCount_->setText(Qt(r.scanCount));
        pnlScanStatus_->setText(Qt(r.scanStatus));
    }
    if (auto reply = ask(kCmdGetPeak, kPeakSize))
        pnlPeak_->setText(Qt(DecodePeak(*reply, m)));
    if (auto reply = ask(kCmdGetLaserPower, kLaserPowerSize))
        pnlLaserPower_->setText(Qt(DecodeLaserPower(*reply)));
    if (auto reply = ask(kCmdGetAnalogFactors, kAnalogOutputSize))
        pnlAnalog_->setText(Qt(DecodeAnalogOutput(*reply, m)));
}

void ViewPage::btnStopSpotClick() {
    host_.State().stop = true;
}

void ViewPage::cbxSpotClick() {
    bool all = cbxSpot_->isChecked();
    for (QWidget* w : extraReadouts_) {
        w->setEnabled(all);
        if (w->objectName().startsWith("pnl"))
            w->setStyleSheet(all ? kShownStyle : kHiddenStyle);
    }
}

void ViewPage::PageControl2Change() {
    host_.State().stop = true;
    QCoreApplication::processEvents();
}

void ViewPage::btnFilterClick() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    LegacySession& s = host_.Session();
    s.Tell(kCmdApplyScanFilter);
    s.Pause(kFilterPauseMs);
    auto reply = s.Ask(kCmdHLAScanResult, {}, kReplyMs, kScanResultSize);
    if (!reply) {
        host_.ProcessErrorMsg(s.State().lastError);
        return;
    }
    ScanResultTexts r = DecodeScanResult(*reply, s.Method(), s.State().sensorMode);
    pnlHighScan_->setText(Qt(r.high));
    pnlHighScanIndex_->setText(Qt(r.highIndex));
    pnlLowScan_->setText(Qt(r.low));
    pnlLowScanIndex_->setText(Qt(r.lowIndex));
    pnlAvgScan_->setText(Qt(r.average));
}

void ViewPage::btnUpdateStatClick() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    LegacySession& s = host_.Session();
    auto reply = s.Ask(kCmdGetErrorState, {}, kReplyMs, kErrorStateSize);
    if (!reply) {
        host_.ProcessErrorMsg(s.State().lastError);
        return;
    }
    ErrorStateTexts r = DecodeErrorState(*reply, s.Method());
    pnlPowerUps_->setText(Qt(r.powerUps));
    pnlResets_->setText(Qt(r.resets));
    pnlCheckErrors_->setText(Qt(r.checkErrors));
    pnlCommandErrors_->setText(Qt(r.commandErrors));
    pnlCalibration_->setText(Qt(r.calibration));
}

void ViewPage::TabSheet5Show() {
    btnUpdateStatClick();
}

} // namespace vk::legacy
