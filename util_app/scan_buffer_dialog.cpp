#include "util_app/scan_buffer_dialog.h"

#include "sensor/scan_buffer_read.h"
#include "sensor/sensor_device.h"
#include "util_app/dialog_buttons.h"
#include "util_app/panel_context.h"
#include "util_app/range_list_model.h"
#include "util_app/scan_buffer_fields.h"
#include "util_app/scan_buffer_file.h"
#include "util_app/scan_plot.h"
#include "util_app/user_prompts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QStyleOptionViewItem>
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

// The height the style gives one line of text in a list.
int ItemRowHeight(const QTableView& list) {
    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("0");
    option.font = list.font();
    return list.style()
        ->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), &list)
        .height();
}

} // namespace

CReadBufferDialog::CReadBufferDialog(PanelContext& context, QWidget* parent)
    : QDialog(parent), context_(context), rangesToRead_(NewField("rangesToRead", this)),
      startIndex_(NewField("startIndex", this)),
      rangesAvailableField_(NewField("rangesAvailable", this)), progress_(new QProgressBar(this)),
      model_(new RangeListModel(this)), list_(new QTableView(this)), plot_(new ScanPlot),
      start_(NamedButton("Start", "start", this)), stop_(NamedButton("Stop", "stop", this)),
      save_(NamedButton("Save...", "save", this)), close_(NamedButton("Close", "close", this)) {
    setObjectName(QStringLiteral("readBufferDialog"));
    setWindowTitle(QStringLiteral("Read sensor ranges buffer"));
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setTextVisible(false);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    startIndex_->setEnabled(false);
    rangesAvailableField_->setEnabled(false);

    list_->setObjectName(QStringLiteral("rangeList"));
    list_->setAccessibleName(QStringLiteral("Ranges read"));
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->verticalHeader()->hide();
    // Rows as high as the platform's lists make them, so that many show at once; the two
    // columns share the list's width.
    list_->verticalHeader()->setMinimumSectionSize(1);
    list_->verticalHeader()->setDefaultSectionSize(ItemRowHeight(*list_));
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    plot_->setParent(this);

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
    // The plot beside the list shows the whole scan at once.
    auto* listAndPlot = new QSplitter(Qt::Horizontal, this);
    listAndPlot->setObjectName(QStringLiteral("listAndPlot"));
    listAndPlot->setChildrenCollapsible(false);
    listAndPlot->addWidget(list_);
    listAndPlot->addWidget(plot_);
    listAndPlot->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(progress_);
    layout->addWidget(listAndPlot, 1);
    layout->addLayout(buttons);
    resize(sizeHint().expandedTo(QSize(680, 460)));

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
    plot_->SetRanges({}, {});
    ranges_.clear();
    progress_->setRange(0, std::max(fields.rangesToRead, 1));
    progress_->setValue(0);
    progress_->setFormat(QStringLiteral("%v of %1").arg(fields.rangesToRead));
    progress_->setTextVisible(true);

    const ScanRead read =
        ReadScanRanges(context_.Sensor(), static_cast<std::size_t>(fields.startIndex),
                       static_cast<std::size_t>(fields.rangesToRead), [this](std::size_t done) {
                           progress_->setValue(static_cast<int>(done));
                           QCoreApplication::processEvents();
                           return !stopRequested_;
                       });
    if (read.outcome == ScanReadOutcome::Complete) {
        std::vector<QString> texts;
        std::vector<std::optional<double>> values;
        std::string unit;
        texts.reserve(read.ranges.size());
        values.reserve(read.ranges.size());
        for (std::uint16_t raw : read.ranges) {
            texts.push_back(QString::fromStdString(context_.FormatRange(raw)));
            RangeReading reading = context_.ReadRange(raw);
            values.push_back(reading.value);
            if (unit.empty())
                unit = std::move(reading.unit);
        }
        ranges_ = read.ranges;
        model_->SetValues(std::move(texts));
        plot_->SetRanges(std::move(values), unit);
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
