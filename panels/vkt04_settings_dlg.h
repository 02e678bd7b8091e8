#pragma once
// CVKT04SettingsDlg: the "Settings" dialog of the VKT04. Besides the groups the VKT04
// family shares it sets the range mode (two modes) and holds the last valid range for a
// number of scans. Every value has its own button; every write is followed by a reload.

#include "panels/vkt04_family_settings_dlg.h"
#include "panels/vkt04_settings.h"

class QCheckBox;

namespace vk {

class CVKT04SettingsDlg : public CVkt04FamilySettingsDlg {
public:
    // `context` must outlive the dialog; the document owns it, so it has no parent.
    explicit CVKT04SettingsDlg(PanelContext& context, QWidget* parent = nullptr);

    // The eleven pairs of the "System:" bar ("Mode", ..., "Max samples to hold last range").
    void GetSettingsList(std::vector<std::string>& names,
                         std::vector<std::string>& values) override;
    // Sends GetVKT04Setup and GetNumHoldScans. Both answered: the values are rebuilt, the
    // sensor's own address is adopted, an open dialog shows them and a sensor-bar refresh
    // is queued. The first failure changes nothing. Nothing before a sensor was set.
    void ReloadSettings() override;

    const Vkt04Settings& Values() const { return settings_; }

protected:
    void ChoicesToControls() override;
    void ChoicesFromControls() override;

private:
    Vkt04Settings settings_;
    QCheckBox* holdBox_;
};

} // namespace vk
