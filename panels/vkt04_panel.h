#pragma once
// CVKT04Dlg: the panel the view shows while a VKT04 is connected, and CRmxShortDlg, the
// same panel for the Rmx Short: the single list filled from GetSensorState.

#include "panels/single_list_panel.h"

namespace vk {

class CVKT04Dlg : public CSingleListPanel {
public:
    // `context` must outlive the panel.
    explicit CVKT04Dlg(PanelContext& context, QWidget* parent = nullptr);

protected:
    const SensorStateRecord* ReadState(SensorDevice& sensor) override;
};

class CRmxShortDlg : public CVKT04Dlg {
public:
    explicit CRmxShortDlg(PanelContext& context, QWidget* parent = nullptr);
};

} // namespace vk
