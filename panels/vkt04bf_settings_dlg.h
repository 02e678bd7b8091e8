#pragma once
// CVKT04BFSettingsDlg: the "Settings" dialog of the VKT04 Vezir Orududu. Besides the
// groups the VKT04 family shares it sets the range mode, the wane variables with the
// board time-out, and switches the laser on and off directly.

#include "panels/vkt04_family_settings_dlg.h"
#include "panels/vkt04bf_settings.h"

namespace vk {

class CVKT04BFSettingsDlg : public CVkt04FamilySettingsDlg {
public:
    // `context` must outlive the dialog; the document owns it, so it has no parent.
    explicit CVKT04BFSettingsDlg(PanelContext& context, QWidget* parent = nullptr);

    // The sensor of a new connection; its wane record counts as unread until the next
    // successful reload.
    void SetSensor(SensorDevice* sensor) override;

    // The fifteen pairs of the "System:" bar ("Mode", ..., " ", ..., "Board timeout").
    void GetSettingsList(std::vector<std::string>& names,
                         std::vector<std::string>& values) override;
    // Sends GetVKT04Setup, ReadWaneParams and GetBoardTimeout. All answered: the values
    // are rebuilt, the sensor's own address is adopted, an open dialog shows them and a
    // sensor-bar refresh is queued. The first failure changes nothing. Nothing before a
    // sensor was set.
    void ReloadSettings() override;

    const Vkt04BfSettings& Values() const { return settings_; }

private:
    // "Laser On" and "Laser Off" switch the laser and nothing else: no reload.
    void SwitchLaser(bool on);

    Vkt04BfSettings settings_;
    // Whether ReadWaneParams has answered since the sensor was set: the wane record goes
    // back with the bytes the sensor keeps in it.
    bool waneRead_ = false;
};

} // namespace vk
