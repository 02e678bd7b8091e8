#include "util_app/scan_buffer_dialog.h"

#include "sensor/scan_buffer_read.h"
#include "sensor/sensor_device.h"
#include "util_app/dialog_buttons.h"
#include "util_app/panel_context.h"
#include "util_app/range_list_model.h"
#include "util_app/scan_buffer_fields.h"
#include "util_app/scan_buffer_file.h"
#include "util_app/user_prompts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace vk {

namespace {

QLineEdit* NewField(const char* name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

} // namespace

CReadBufferDialog::CReadBufferDialog(PanelContext& context, QWidget* parent)
    : QDialog(parent), context_(context), rangesToRead_(NewField("rangesToRead", this)),
      startIndex_(NewField("startIndex", this)),
      rangesAvailableField_(NewField("rangesAvailable", this)), progress_(new QProgressBar(this)),
      model_(new RangeListModel(this)), list_(new QTableView(this)),
      start_(NamedButton("Start", "start", this)), stop_(NamedButton("Stop", "stop", this)),
      save_(NamedButton("Save...", "save", this)), close_(NamedButton("Close", "close", this)) {
    setObjectName(QStringLiteral("readBufferDialog"));
    setWindowTitle(QStringLiteral("Read sensor ranges buffer"));
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setTextVisible(false);
    progress_->setRange(0, 1);
    startIndex_->setEnabled(false);
    rangesAvailableField_->setEnabled(false);

    list_->setObjectName(QStringLiteral("rangeList"));
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->setColumnWidth(0, 100);
    list_->setColumnWidth(1, 100);

    start_->setDefault(true);
    connect(start_, &QPushButton::clicked, this, &CReadBufferDialog::OnStart);
    connect(stop_, &QPushButton::clicked, this, [this] { stopRequested_ = true; });
    connect(save_, &QPushButton::clicked, this, &CReadBufferDialog::OnSave);
    connect(close_, &QPushButton::clicked, this, &CReadBufferDialog::reject);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Ranges to read:"), rangesToRead_);
    fields->addRow(QStringLiteral("Start index:"), startIndex_);
    fields->addRow(QStringLiteral("Ranges available"), rangesAvailableField_);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {start_, stop_, save_, close_})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(progress_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    SetStartIndex(0);
    SetRangesAvailable(kDefaultRangesAvailable);
    ShowReading(false);
}

CReadBufferDialog::~CReadBufferDialog() = default;

void CReadBufferDialog::SetRangesAvailable(int ranges) {
    rangesAvailable_ = ranges;
    rangesAvailableField_->setText(QString::number(ranges));
    rangesToRead_->setText(QString::number(ranges));
}

void CReadBufferDialog::SetStartIndex(int index) {
    startIndex_->setText(QString::number(index));
}

const std::vector<QString>& CReadBufferDialog::RangeTexts() const {
    return model_->Values();
}

void CReadBufferDialog::reject() {
    stopRequested_ = true;
    QDialog::reject();
}

void CReadBufferDialog::ShowReading(bool reading) {
    reading_ = reading;
    start_->setEnabled(!reading);
    close_->setEnabled(!reading);
    save_->setEnabled(!reading);
    stop_->setEnabled(reading);
}

void CReadBufferDialog::OnStart() {
    const ReadFields fields = CheckReadFields(rangesToRead_->text().toStdString(),
                                              startIndex_->text().toStdString(), rangesAvailable_);
    if (fields.bad != ReadFields::Bad::None) {
        context_.Prompts().Warn(this, QString::fromStdString(fields.refusal));
        QLineEdit* bad = fields.bad == ReadFields::Bad::RangesToRead ? rangesToRead_ : startIndex_;
        bad->setFocus();
        bad->selectAll();
        return;
    }
    if (!ReadFits(fields, rangesAvailable_))
        return;

    // No refresh tick may poll the sensor between two portions, although the queue runs.
    ExchangeGuard::Hold hold(context_.Exchanges());
    ShowReading(true);
    model_->SetValues({});
    ranges_.clear();
    progress_->setRange(0, std::max(fields.rangesToRead, 1));
    progress_->setValue(0);

    const ScanRead read =
        ReadScanRanges(context_.Sensor(), static_cast<std::size_t>(fields.startIndex),
                       static_cast<std::size_t>(fields.rangesToRead), [this](std::size_t done) {
                           progress_->setValue(static_cast<int>(done));
                           QCoreApplication::processEvents();
                           return !stopRequested_;
                       });
    if (read.outcome == ScanReadOutcome::Complete) {
        std::vector<QString> texts;
        texts.reserve(read.ranges.size());
        for (std::uint16_t raw : read.ranges)
            texts.push_back(QString::fromStdString(context_.FormatRange(raw)));
        ranges_ = read.ranges;
        model_->SetValues(std::move(texts));
    } else if (!read.failureLine.empty()) {
        context_.LogMessage(read.failureLine.c_str(), LogIcon::Error);
    }
    ShowReading(false);
    stopRequested_ = false;
}

void CReadBufferDialog::OnSave() {
    const QString path =
        context_.Prompts().SaveFile(this, QStringLiteral("Text files (*.txt);;All files (*.*)"),
                                    QStringLiteral("scanbuffer.txt"));
    if (path.isEmpty())
        return;
    std::vector<std::string> rows;
    rows.reserve(RangeTexts().size());
    for (const QString& text : RangeTexts())
        rows.push_back(text.toStdString());
    SensorDevice& sensor = context_.Sensor();
    // The sensor's own address from its setup record; a model that never reports that
    // record is named by the address it was reached at.
    const int setupAddress = sensor.Replies().sensorSetup.address;
    const std::string block =
        ScanBufferBlock(sensor.Replies().serialNumber.Prefix(8),
                        setupAddress != 0 ? setupAddress : sensor.Address(), rows);
    std::string error;
    if (!AppendToTextFile(QFile::encodeName(path).toStdString(), block, &error))
        context_.Prompts().Error(this, QString::fromStdString(error));
}

void OpenScanBufferReader(PanelContext& context, QWidget* parent, int rangesAvailable) {
    CReadBufferDialog dialog(context, parent);
    dialog.SetRangesAvailable(rangesAvailable);
    ExchangeGuard::Release waiting(context.Exchanges());
    dialog.exec();
}

} // namespace vk
