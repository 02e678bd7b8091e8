#pragma once
// CCustomSettingsDlg: the base of the model settings dialogs. The document owns one per
// model family and shows it modally from Edit > Sensor Settings; the connection hands it
// the sensor at every connect and asks it to reload after changes. A dialog keeps its
// values apart from its controls, so ReloadSettings may run while it is closed.

#include "sensor/connection_host.h"
#include "util_app/panel_context.h"

#include <QDialog>

#include <string>
#include <vector>

namespace vk {

class SensorDevice;

class CCustomSettingsDlg : public QDialog, public SettingsDialogLink {
public:
    // `context` must outlive the dialog.
    explicit CCustomSettingsDlg(PanelContext& context, QWidget* parent = nullptr);

    // The sensor to read and write; null until the first connect.
    void SetSensor(SensorDevice* sensor) override { sensor_ = sensor; }
    SensorDevice* Sensor() const { return sensor_; }

    // Clears `names` and `values` and fills them with the model's settings as display
    // texts, pairwise (the "Settings" list of the "System:" bar).
    virtual void GetSettingsList(std::vector<std::string>& names,
                                 std::vector<std::string>& values) = 0;
    // Reads the settings from the sensor again and refreshes the dialog (its controls
    // only while it is open).
    void ReloadSettings() override = 0;

protected:
    PanelContext& Context() const { return context_; }

private:
    PanelContext& context_;
    SensorDevice* sensor_ = nullptr;
};

} // namespace vk
