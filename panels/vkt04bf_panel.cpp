#include "panels/vkt04bf_panel.h"

#include "panels/live_values.h"
#include "sensor/sensor_device.h"
#include "util_app/panel_context.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>

namespace vk {

CVKT04BFDlg::CVKT04BFDlg(PanelContext& context, QWidget* parent)
    : CSingleListPanel(context, parent),
      readScanBuffer_(new QPushButton(QStringLiteral("Read Scan Buffer"), Anchor())) {
    setObjectName(QStringLiteral("vkt04bfPanel"));
    readScanBuffer_->setObjectName(QStringLiteral("readScanBuffer"));
    readScanBuffer_->setEnabled(false);
    AnchorRow()->addWidget(readScanBuffer_);
    connect(readScanBuffer_, &QPushButton::clicked, this, &CVKT04BFDlg::OnReadScanBuffer);
}

void CVKT04BFDlg::SetScanBufferReader(ScanBufferReader reader) {
    reader_ = std::move(reader);
    readScanBuffer_->setEnabled(static_cast<bool>(reader_));
}

void CVKT04BFDlg::OnReadScanBuffer() {
    if (!reader_)
        return;
    ExchangeGuard::Hold hold(Context().Exchanges());
    reader_(this, kRangesToRead);
}

const SensorStateRecord* CVKT04BFDlg::ReadState(SensorDevice& sensor) {
    return PollSensorState(sensor, ModelType::VKT04VezirOrududu);
}

} // namespace vk
