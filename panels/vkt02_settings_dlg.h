#pragma once
// CVKT02SettingsDlg: the "Settings" dialog of the VKT02 and Rmx Long. It shows the
// sensor's setup, laser power limits, analog output factors and averaging period in
// engineering units and writes each group back with its own button; every write is
// followed by a full re-read, so the dialog shows what the sensor holds.
//
// The values live in Vkt02Settings, apart from the controls: ReloadSettings may run
// while the dialog is closed, and the controls take the values the next time it opens.
// The conversions and checks are those of vkt02_settings_checks.h.

#include "panels/settings_dlg_scaffold.h"
#include "panels/vkt02_settings.h"

#include <string>
#include <vector>

class QComboBox;

namespace vk {

class CVKT02SettingsDlg : public CSettingsDlgScaffold {
public:
    // `context` must outlive the dialog. The document owns the dialog, so it normally
    // has no parent.
    explicit CVKT02SettingsDlg(PanelContext& context, QWidget* parent = nullptr);

    // The sensor of a new connection; its configuration record counts as unread until
    // the next successful reload.
    void SetSensor(SensorDevice* sensor) override;

    // The nineteen pairs of the "System:" bar from the current values ("Laser", "Mode",
    // ..., "Averaging Period(ms)").
    void GetSettingsList(std::vector<std::string>& names,
                         std::vector<std::string>& values) override;

    // Sends GetSensorSetup, GetMinLP, GetMaxLP, GetAnalogFactors and GetConfigVars. All
    // answered: the values are rebuilt from the replies, the sensor's own address (setup
    // byte 8) becomes the connection's address, an open dialog shows the values and a
    // sensor-bar refresh is queued. The first failure ends it and changes nothing (the
    // command layer has logged it). Does nothing before a sensor was set.
    void ReloadSettings() override;

    // The values as the last reload (or the last button's copy of the controls) left them.
    const Vkt02Settings& Values() const { return settings_; }

private:
    void BuildControls();

    // Each time the dialog opens: the mode box for the connected model, then the values.
    void InitDialog() override;
    void ChoicesToControls() override;
    void ChoicesFromControls() override;

    // The write buttons: each copies the controls into the values first.
    void OnSetMode();
    void OnSetMinLaserPower();
    void OnSetMaxLaserPower();
    void OnSetThreshold();
    void OnSetScanInterval();
    void OnSetFilterFactors();
    void OnSetLaser();
    void OnSetRangeOffset();
    void OnSetAnalogFactors();
    void OnSetAveragingPeriod();

    Vkt02Settings settings_;
    QComboBox* modeBox_ = nullptr;
    QComboBox* orderBox_ = nullptr;
    QComboBox* laserBox_ = nullptr;
    // Whether GetConfigVars has answered since the sensor was set: the averaging period
    // is written into the last record read, and one never read holds only zeros.
    bool configRead_ = false;
};

} // namespace vk
