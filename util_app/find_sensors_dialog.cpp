#include "util_app/find_sensors_dialog.h"

#include "util_app/buddy_label.h"
#include "util_app/connect_fields.h"
#include "util_app/dialog_buttons.h"
#include "util_app/port_list_box.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

namespace vk {

// Hands what the searching thread learns to the dialog's thread. Whatever comes from a
// search the dialog has since left or restarted is dropped there.
class CFindSensorsDlg::Observer : public LineSearchObserver {
public:
    Observer(CFindSensorsDlg* dialog, int run, std::shared_ptr<std::atomic<bool>> stop)
        : dialog_(dialog), run_(run), stop_(std::move(stop)) {}

    void Probing(const LineSearchProgress& progress) override {
        Post([progress](CFindSensorsDlg* d) { d->OnProbing(progress); });
    }
    void Found(const FoundSensor& sensor) override {
        Post([sensor](CFindSensorsDlg* d) { d->OnFound(sensor); });
    }
    bool StopRequested() override { return stop_->load(); }

    template <typename Handler> void Post(Handler handler) {
        QMetaObject::invokeMethod(
            dialog_,
            [dialog = dialog_, run = run_, handler = std::move(handler)] {
                if (dialog->run_ == run)
                    handler(dialog);
            },
            Qt::QueuedConnection);
    }

private:
    CFindSensorsDlg* dialog_;
    int run_;
    std::shared_ptr<std::atomic<bool>> stop_;
};

namespace {

const char* const kColumns[] = {"Address", "Speed",         "Check method",
                                "Model",   "Serial number", "Firmware"};

QString FoundText(std::size_t count) {
    return QStringLiteral("%1 found").arg(count);
}

} // namespace

CFindSensorsDlg::CFindSensorsDlg(const std::string& port, const std::vector<ComDevice>& devices,
                                 LastPlaces lastPlaces, QWidget* parent)
    : QDialog(parent), lastPlaces_(std::move(lastPlaces)), port_(port),
      stopRequested_(std::make_shared<std::atomic<bool>>(false)) {
    setWindowTitle(QStringLiteral("Find Sensors"));
    portList_ = NewPortListBox(devices, this);
    portList_->setEditText(QString::fromStdString(port));
    portList_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, 1);
    progress_->setValue(0);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setWordWrap(true);

    table_ = new QTableWidget(0, static_cast<int>(std::size(kColumns)), this);
    table_->setObjectName(QStringLiteral("sensors"));
    table_->setAccessibleName(QStringLiteral("Sensors found"));
    QStringList headers;
    for (const char* column : kColumns)
        headers << QString::fromLatin1(column);
    table_->setHorizontalHeaderLabels(headers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);

    QDialogButtonBox* buttons = OkCancelButtons(this);
    ok_ = buttons->findChild<QPushButton*>(QStringLiteral("ok"));
    search_ = NamedButton("Search", "search", this);
    stop_ = NamedButton("Stop", "stop", this);
    buttons->addButton(search_, QDialogButtonBox::ActionRole);
    buttons->addButton(stop_, QDialogButtonBox::ActionRole);

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(BuddyLabel(QStringLiteral("Port:"), portList_, this));
    portRow->addWidget(portList_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(portRow);
    layout->addWidget(progress_);
    layout->addWidget(status_);
    layout->addWidget(table_, 1);
    layout->addWidget(buttons);
    resize(620, 340);

    connect(search_, &QPushButton::clicked, this, &CFindSensorsDlg::StartSearch);
    connect(stop_, &QPushButton::clicked, this, &CFindSensorsDlg::RequestStop);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &CFindSensorsDlg::UpdateButtons);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { accept(); });
    UpdateButtons();
}

CFindSensorsDlg::~CFindSensorsDlg() {
    EndSearch();
}

void CFindSensorsDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        StartSearch();
    }
}

void CFindSensorsDlg::StartSearch() {
    EndSearch();
    ++run_;
    sensors_.clear();
    table_->setRowCount(0);
    stopRequested_ = std::make_shared<std::atomic<bool>>(false);
    ended_ = false;
    port_ = PortNameOfEntry(portList_->currentText().trimmed().toStdString());
    LineSearchPlan plan;
    plan.port = port_;
    if (lastPlaces_)
        plan.tryFirst = lastPlaces_(port_);
    // Busy until the search's first report says how many places it asks.
    progress_->setRange(0, 0);
    status_->setText(QStringLiteral("Searching ") + QString::fromStdString(port_));
    worker_ = std::thread([this, plan, run = run_, stop = stopRequested_] {
        Observer observer(this, run, stop);
        LineSearchResult result = SearchLine(plan, observer);
        observer.Post([result = std::move(result)](CFindSensorsDlg* d) { d->OnEnded(result); });
    });
    UpdateButtons();
}

void CFindSensorsDlg::RequestStop() {
    if (!Searching())
        return;
    stopRequested_->store(true);
    status_->setText(QStringLiteral("Stopping..."));
    UpdateButtons();
}

void CFindSensorsDlg::EndSearch() {
    if (!worker_.joinable())
        return;
    stopRequested_->store(true);
    worker_.join();
    if (!ended_) {
        ended_ = true;
        status_->setText(QStringLiteral("Stopped: ") + FoundText(sensors_.size()));
        EndBusyProgress();
    }
    UpdateButtons();
}

void CFindSensorsDlg::OnProbing(const LineSearchProgress& progress) {
    progress_->setRange(0, static_cast<int>(progress.probes));
    progress_->setValue(static_cast<int>(progress.probe - 1));
    if (!stopRequested_->load())
        status_->setText(QString::fromStdString(ProgressText(progress)));
}

void CFindSensorsDlg::OnFound(const FoundSensor& sensor) {
    sensors_.push_back(sensor);
    const int row = table_->rowCount();
    table_->insertRow(row);
    const QString cells[] = {
        QString::number(sensor.place.address),
        QString::number(sensor.place.speed),
        sensor.place.method == CheckMethod::Crc16 ? QStringLiteral("CRC")
                                                  : QStringLiteral("Checksum"),
        QString::fromStdString(sensor.model),
        QString::fromStdString(sensor.serial),
        QString::fromStdString(sensor.firmware),
    };
    for (int column = 0; column < static_cast<int>(std::size(cells)); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        // Why a field stayed empty.
        if (!sensor.failure.empty())
            item->setToolTip(QString::fromStdString(sensor.failure));
        table_->setItem(row, column, item);
    }
    // The common case is one sensor: OK takes it at once.
    if (table_->selectedItems().isEmpty())
        table_->selectRow(row);
    UpdateButtons();
}

void CFindSensorsDlg::OnEnded(const LineSearchResult& result) {
    // EndSearch may have waited for the thread already.
    if (worker_.joinable())
        worker_.join();
    ended_ = true;
    if (result.lineFailed)
        status_->setText(QString::fromStdString(result.lineError));
    else if (result.stopped)
        status_->setText(QStringLiteral("Stopped: ") + FoundText(result.sensors.size()));
    else
        status_->setText(QStringLiteral("Search finished: ") + FoundText(result.sensors.size()));
    EndBusyProgress();
    if (!result.stopped && !result.lineFailed)
        progress_->setValue(progress_->maximum());
    UpdateButtons();
}

void CFindSensorsDlg::EndBusyProgress() {
    // A search that ended before its first report leaves the bar busy.
    if (progress_->maximum() == 0) {
        progress_->setRange(0, 1);
        progress_->setValue(0);
    }
}

void CFindSensorsDlg::UpdateButtons() {
    search_->setEnabled(!Searching());
    portList_->setEnabled(!Searching());
    stop_->setEnabled(Searching() && !stopRequested_->load());
    ok_->setEnabled(!table_->selectedItems().isEmpty());
}

void CFindSensorsDlg::accept() {
    const QList<QTableWidgetItem*> selected = table_->selectedItems();
    if (selected.isEmpty())
        return;
    const FoundSensor sensor = sensors_.at(static_cast<std::size_t>(selected.front()->row()));
    // The port must be free before anyone connects to it.
    EndSearch();
    chosen_ = ConnectSettings{};
    chosen_.portName = port_;
    chosen_.baudRate = sensor.place.speed;
    chosen_.address = sensor.place.address;
    chosen_.checkMethod = sensor.place.method;
    QDialog::accept();
}

void CFindSensorsDlg::reject() {
    EndSearch();
    QDialog::reject();
}

} // namespace vk
