#pragma once
// CRMXSSettingsDlg: the "Settings" dialog of the Rmx Short, the simplest of them: laser
// power limits, threshold and the analog output values, each sent as typed without any
// check, ranges always in the model's one range mode.

#include "panels/rmx_short_settings.h"
#include "panels/vkt04_family_settings_dlg.h"

namespace vk {

class CRMXSSettingsDlg : public CVkt04FamilySettingsDlg {
public:
    // `context` must outlive the dialog; the document owns it, so it has no parent.
    explicit CRMXSSettingsDlg(PanelContext& context, QWidget* parent = nullptr);

    // The eight pairs of the "System:" bar ("Min. Laser Power", ..., "Out of Range").
    void GetSettingsList(std::vector<std::string>& names,
                         std::vector<std::string>& values) override;
    // Sends GetVKT04Setup. Answered: the values are rebuilt, the sensor's own address is
    // adopted, an open dialog shows them and a sensor-bar refresh is queued. A failure
    // changes nothing. Nothing before a sensor was set.
    void ReloadSettings() override;

    const Vkt04FamilyTexts& Values() const { return texts_; }

private:
    Vkt04FamilyTexts texts_;
};

} // namespace vk
