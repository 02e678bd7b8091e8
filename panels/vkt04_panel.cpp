#include "panels/vkt04_panel.h"

#include "panels/live_values.h"
#include "sensor/sensor_device.h"

namespace vk {

CVKT04Dlg::CVKT04Dlg(PanelContext& context, QWidget* parent) : CSingleListPanel(context, parent) {
    setObjectName(QStringLiteral("vkt04Panel"));
}

const SensorStateRecord* CVKT04Dlg::ReadState(SensorDevice& sensor) {
    return PollSensorState(sensor, ModelType::VKT04);
}

CRmxShortDlg::CRmxShortDlg(PanelContext& context, QWidget* parent) : CVKT04Dlg(context, parent) {
    setObjectName(QStringLiteral("rmxShortPanel"));
}

} // namespace vk
