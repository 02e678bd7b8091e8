#include "panels/vkt02_diags_page.h"

#include "panels/live_values.h"
#include "panels/poll_rows.h"
#include "panels/value_rows.h"
#include "panels/vkt02_diagnostics.h"
#include "sensor/sensor_device.h"
#include "util_app/name_value_list.h"
#include "util_app/panel_context.h"
#include "util_app/trend_view.h"

#include <QCheckBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vk {

CVKT02DiagsDlg::CVKT02DiagsDlg(PanelContext& context, QWidget* parent)
    : QWidget(parent), context_(context), list_(new QTableWidget(0, 2, this)),
      updateBox_(new QCheckBox(QStringLiteral("Update diagnostics"), this)),
      trend_(new TrendView(this)) {
    setObjectName(QStringLiteral("diagnosticPage"));
    list_->setObjectName(QStringLiteral("diagnosticList"));
    updateBox_->setObjectName(QStringLiteral("updateDiagnostics"));

    SetUpNameValueList(list_, QStringLiteral("Diagnostics"));
    connect(updateBox_, &QCheckBox::clicked, this,
            [this](bool ticked) { updateEnabled_ = ticked; });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(updateBox_);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("diagnosticSplitter"));
    splitter->addWidget(list_);
    splitter->addWidget(trend_);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);
    BuildRows();
}

void CVKT02DiagsDlg::BuildRows() {
    InsertNamedRows(list_, kVkt02DiagnosticRowNames);
}

void CVKT02DiagsDlg::Update() {
    if (!context_.IsConnected()) {
        list_->setRowCount(0);
        trend_->AddGap();
        return;
    }
    if (!updateEnabled_)
        return;
    if (list_->rowCount() == 0)
        BuildRows();

    SensorDevice& sensor = context_.Sensor();
    if (!PollVkt02Diagnostics(sensor))
        return;
    const auto now = std::chrono::system_clock::now();
    const ReplyStore& replies = sensor.Replies();
    const auto values = Vkt02DiagnosticValues(replies.vkt02State, replies.laserPower, replies.peak,
                                              context_.FormatRange(replies.vkt02State.range));
    WriteRowValues(list_, values);
    // The peak row shows the word signed; so does the plot.
    const PollSample sample =
        SampleFromRows(now, kVkt02DiagnosticRowNames, values, kVkt02RangeRow,
                       context_.ReadRange(replies.vkt02State.range),
                       static_cast<std::int16_t>(replies.peak), replies.laserPower);
    trend_->Add(sample);
    context_.PollSampled(sample);
}

} // namespace vk
