// The "Scan Buffer" sub-page: the address list, starting and stopping scans on the
// targets, reading their buffers into the scan-buffer file, and the filtered statistics.

#include "legacy_tool/key_filter_hook.h"
#include "legacy_tool/legacy_codes.h"
#include "legacy_tool/scan_data_file.h"
#include "legacy_tool/scan_sequences.h"
#include "legacy_tool/settings_requests.h"
#include "legacy_tool/view_page.h"
#include "util_app/buddy_label.h"

#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>

#include <fstream>

namespace vk::legacy {

namespace {

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

QWidget* ViewPage::BuildScanBuffer() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(6, 6, 6, 6);

    auto* which = new QGroupBox(page);
    auto* whichLayout = new QVBoxLayout(which);
    whichLayout->setContentsMargins(6, 6, 6, 6);
    rbCurrent_ = new QRadioButton("Current Sensor", which);
    rbCurrent_->setObjectName("rbCurrent");
    rbCurrent_->setChecked(true);
    rbAll_ = new QRadioButton("All Sensors (Address List in File)", which);
    rbAll_->setObjectName("rbAll");
    whichLayout->addWidget(rbCurrent_);
    whichLayout->addWidget(rbAll_);
    grid->addWidget(which, 0, 0, 1, 2);
    grid->addWidget(
        AddButton(page, "Read Address List From File", "btnAddrList", &ViewPage::btnAddrListClick),
        1, 0, 1, 2);

    Memo1_ = new QPlainTextEdit(page);
    Memo1_->setObjectName("Memo1");
    Memo1_->setReadOnly(true);
    Memo1_->setAccessibleName("Scan results");
    Memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Room for the longest line a scan writes, and no more: the page has to fit a small
    // screen. A longer line wraps.
    Memo1_->setMaximumWidth(
        Memo1_->fontMetrics().horizontalAdvance("Sensor  255  : 65535  Not Scanning") +
        Memo1_->verticalScrollBar()->sizeHint().width() + 2 * Memo1_->frameWidth() +
        2 * static_cast<int>(Memo1_->document()->documentMargin()));
    grid->addWidget(Memo1_, 0, 2, 6, 1);

    grid->addWidget(AddButton(page, "Start Scan", "btnStartScan", &ViewPage::btnStartScanClick), 2,
                    0);
    grid->addWidget(AddButton(page, "Stop Scan", "btnStopScan", &ViewPage::btnStopScanClick), 2, 1);
    editStartIndex_ = new QLineEdit("1", page);
    editStartIndex_->setObjectName("editStartIndex");
    InstallLengthLimit(editStartIndex_, 4);
    editNumScans_ = new QLineEdit("1024", page);
    editNumScans_->setObjectName("editNumScans");
    for (QLineEdit* e : {editStartIndex_, editNumScans_})
        InstallKeyFilter(e, KeyFilter::Digits);
    grid->addWidget(BuddyLabel("Start Index", editStartIndex_), 3, 0);
    grid->addWidget(editStartIndex_, 3, 1);
    grid->addWidget(BuddyLabel("# Of Scans", editNumScans_), 4, 0);
    grid->addWidget(editNumScans_, 4, 1);
    grid->addWidget(AddButton(page, "Read Scan Buffer", "btnReadScan", &ViewPage::btnReadScanClick),
                    5, 0, 1, 2);

    auto* stats = new QGroupBox(page);
    auto* s = new QGridLayout(stats);
    s->setContentsMargins(6, 6, 6, 6);
    s->addWidget(AddButton(stats, "Filter", "btnFilter", &ViewPage::btnFilterClick), 0, 0);
    pnlLowScan_ = AddReadout(s, 1, 0, "Low Scan", "pnlLowScan", "00");
    pnlLowScanIndex_ = AddReadout(s, 2, 0, "Low Scan Index", "pnlLowScanIndex", "00");
    pnlHighScan_ = AddReadout(s, 3, 0, "High Scan", "pnlHighScan", "00");
    pnlHighScanIndex_ = AddReadout(s, 4, 0, "High Scan Index", "pnlHighScanIndex", "00");
    pnlAvgScan_ = AddReadout(s, 5, 0, "Average Scan", "pnlAvgScan", "00");
    FixReadoutSizes(stats, "6553.5");
    grid->addWidget(stats, 0, 3, 6, 1);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

bool ViewPage::ListMode() const {
    return rbAll_->isChecked();
}

void ViewPage::AddMemoLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        Memo1_->appendPlainText(QString::fromStdString(line));
}

std::optional<std::vector<std::uint8_t>> ViewPage::Targets(const char* missing) {
    if (!ListMode())
        return std::vector<std::uint8_t>{host_.State().currentAddress};
    if (host_.State().addressList.empty()) {
        AddMemoLines({missing});
        return std::nullopt;
    }
    return host_.State().addressList;
}

void ViewPage::btnAddrListClick() {
    QString path = host_.Prompts().OpenFile(
        {{"Text File (*.TXT)", "All Files (*.*)"}, 0, "Address.txt", "txt"});
    if (path.isEmpty())
        return;
    std::optional<AddressList> loaded = LoadAddressList(LocalPath(path));
    AddressList list = loaded.value_or(AddressList{});
    ToolState& state = host_.State();
    state.addressList = list.addresses;
    // The counts belong to the sensors of the list before: a count written beside another
    // sensor's address would be taken for that sensor's.
    state.scanCounts.fill(0);
    if (!loaded)
        AddMemoLines({"Address list file could not be read!"});
    else if (list.restIgnored)
        AddMemoLines({"Address list: the first " + std::to_string(kMaxAddresses) +
                      " addresses were taken, the rest were ignored."});
}

void ViewPage::btnStartScanClick() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    auto targets = Targets("Address list not found!");
    if (!targets)
        return;
    TellScan(host_.Session(), kCmdStartScan, ListMode());
    Memo1_->clear();
    for (std::uint8_t address : *targets)
        AddMemoLines({StartedLine(host_.Session(), address)});
}

void ViewPage::btnStopScanClick() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    auto targets = Targets("Address List not found!");
    if (!targets)
        return;
    TellScan(host_.Session(), kCmdStopScan, ListMode());
    std::array<std::uint16_t, kMaxAddresses>& counts = host_.State().scanCounts;
    for (std::size_t i = 0; i < targets->size() && i < counts.size(); ++i)
        AddMemoLines({StoppedLine(host_.Session(), (*targets)[i], counts[i])});
}

void ViewPage::btnReadScanClick() {
    // A second read started from within the first would throw away the packets the first
    // is waiting for, and write its block into the middle of the file.
    if (readingScans_)
        return;
    readingScans_ = true;
    ReadScans();
    readingScans_ = false;
}

void ViewPage::ReadScans() {
    auto targets = Targets("Address List not found!");
    if (!targets)
        return;
    Checked<ScanWindow> window =
        CheckScanWindow(editStartIndex_->text().toStdString(), editNumScans_->text().toStdString());
    if (!window.Ok()) {
        host_.Prompts().Error(QString::fromStdString(window.refusal->message));
        (window.refusal->field == Field::StartIndex ? editStartIndex_ : editNumScans_)->setFocus();
        return;
    }
    QString path = host_.Prompts().SaveFile({{}, 0, "Samples.txt", {}});
    if (path.isEmpty()) {
        host_.SetStatus(" Done");
        return;
    }
    host_.SetStatus("Retrieving scan data from sensor(s) . . .");
    std::ofstream file(LocalPath(path), std::ios::binary | std::ios::app);
    if (!file) {
        host_.SetStatus("Error opening scan data file!");
        return;
    }
    // Not blocked by a running sequence, but while it reads no other one may start: its
    // requests would throw away the packets on their way.
    ToolState& state = host_.State();
    bool wasBusy = state.busy;
    state.busy = true;
    std::vector<std::vector<std::uint16_t>> values;
    for (std::uint8_t address : *targets)
        values.push_back(
            ReadScanBuffer(host_.Session(), address, window.value.start, window.value.count));
    state.busy = wasBusy;

    host_.SetStatus("Copying scan data to file . . .");
    std::vector<std::uint16_t> counts(state.scanCounts.begin(),
                                      state.scanCounts.begin() +
                                          static_cast<std::ptrdiff_t>(targets->size()));
    std::string block = ScanDataBlock(*targets, counts, values);
    file.write(block.data(), static_cast<std::streamsize>(block.size()));
    file.close();
    host_.SetStatus(file ? " Done" : "Error writing scan data file!");
}

} // namespace vk::legacy
