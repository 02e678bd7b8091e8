#include "panels/single_list_panel.h"

#include "panels/poll_rows.h"
#include "panels/sensor_state_rows.h"
#include "panels/value_rows.h"
#include "sensor/sensor_device.h"
#include "util_app/name_value_list.h"
#include "util_app/panel_context.h"
#include "util_app/trend_view.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QSplitter>
#include <QTableWidget>

#include <algorithm>

namespace vk {

namespace {
constexpr int kAnchorInset = 5;
constexpr int kListGap = 5;
} // namespace

CSingleListPanel::CSingleListPanel(PanelContext& context, QWidget* parent)
    : CSensorDialog(parent), context_(context), anchor_(new QFrame(this)),
      anchorRow_(new QHBoxLayout(anchor_)),
      updateBox_(new QCheckBox(QStringLiteral("Update Diagnostics"), anchor_)),
      splitter_(new QSplitter(Qt::Horizontal, this)), list_(new QTableWidget(0, 2, splitter_)),
      trend_(new TrendView(splitter_)) {
    anchor_->setObjectName(QStringLiteral("listAnchor"));
    anchor_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    updateBox_->setObjectName(QStringLiteral("updateDiagnostics"));
    list_->setObjectName(QStringLiteral("stateList"));
    splitter_->setObjectName(QStringLiteral("listAndTrend"));
    splitter_->addWidget(list_);
    splitter_->addWidget(trend_);
    splitter_->setStretchFactor(1, 1);
    anchorRow_->addWidget(updateBox_);
    anchorRow_->addStretch(1);

    SetUpNameValueList(list_, QStringLiteral("Sensor state"));
    connect(updateBox_, &QCheckBox::clicked, this,
            [this](bool ticked) { updateEnabled_ = ticked; });
    ready_ = true;
    OnSize(width(), height());
}

void CSingleListPanel::OnSize(int width, int height) {
    if (!ready_)
        return;
    anchor_->setGeometry(kAnchorInset, kAnchorInset, width - 2 * kAnchorInset,
                         anchor_->sizeHint().height());
    // The list and the trend reach down to the panel's foot: no empty band below them.
    const int b = anchor_->geometry().y() + anchor_->geometry().height();
    splitter_->setGeometry(0, b + kListGap, width, std::max(0, height - b - kListGap));
    update();
}

void CSingleListPanel::OnPeriodicUpdate() {
    if (!context_.IsConnected()) {
        list_->setRowCount(0);
        trend_->AddGap();
        return;
    }
    if (list_->rowCount() == 0)
        InsertNamedRows(list_, kSensorStateRowNames);
    if (!updateEnabled_)
        return;
    const SensorStateRecord* state = ReadState(context_.Sensor());
    if (!state)
        return;
    const auto now = std::chrono::system_clock::now();
    const auto values = SensorStateValues(*state, context_.FormatRange(state->range));
    WriteRowValues(list_, values);
    const PollSample sample =
        SampleFromRows(now, kSensorStateRowNames, values, kSensorStateRangeRow,
                       context_.ReadRange(state->range), state->peak, state->laserPower);
    trend_->Add(sample);
    context_.PollSampled(sample);
}

} // namespace vk
