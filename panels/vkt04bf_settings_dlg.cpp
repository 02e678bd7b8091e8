#include "panels/vkt04bf_settings_dlg.h"

#include "sensor/sensor_device.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>

namespace vk {

CVKT04BFSettingsDlg::CVKT04BFSettingsDlg(PanelContext& context, QWidget* parent)
    : CVkt04FamilySettingsDlg(context, ModelType::VKT04VezirOrududu, kVezirOrududuRules, parent) {
    setObjectName(QStringLiteral("vkt04bfSettings"));
    BuildSharedGroups(settings_.texts, &settings_.modeNumber,
                      {kVkt04BfModeBoxItems.begin(), kVkt04BfModeBoxItems.end()});

    WaneTexts& w = settings_.wane;
    auto* wane = NewGroup("Wane variables");
    auto* waneGrid = new QGridLayout(wane);
    AddField(waneGrid, 0, "Min. Wane Width(inch/mm)", &w.minWaneWidth, "minWaneWidth");
    AddField(waneGrid, 1, "Min. Wane Height(inch/mm)", &w.minWaneHeight, "minWaneHeight");
    AddField(waneGrid, 2, "Pulse Duration(ms)", &w.pulseDuration, "pulseDuration", true);
    AddField(waneGrid, 3, "Conveyer Speed(mm/s)", &w.conveyerSpeed, "conveyerSpeed", true);
    AddField(waneGrid, 4, "Board timeout(ms)", &w.boardTimeout, "boardTimeout", true);
    waneGrid->addWidget(AddButton("Set Wane Variables", "setWaneVariables",
                                  [this] {
                                      Write([this](SensorDevice& s) {
                                          return WriteWaneVariables(s, settings_, waneRead_);
                                      });
                                  }),
                        5, 1);

    auto* laser = NewGroup("Laser");
    auto* laserRow = new QHBoxLayout(laser);
    laserRow->addWidget(AddButton("Laser On", "laserOn", [this] { SwitchLaser(true); }));
    laserRow->addWidget(AddButton("Laser Off", "laserOff", [this] { SwitchLaser(false); }));

    AddToColumn(1, wane);
    AddToColumn(1, laser);
}

void CVKT04BFSettingsDlg::SetSensor(SensorDevice* sensor) {
    CCustomSettingsDlg::SetSensor(sensor);
    waneRead_ = false;
}

void CVKT04BFSettingsDlg::GetSettingsList(std::vector<std::string>& names,
                                          std::vector<std::string>& values) {
    FillVkt04BfSettingsList(settings_, names, values);
}

void CVKT04BFSettingsDlg::ReloadSettings() {
    if (ReloadWith(&ReadVkt04BfSettings, settings_))
        waneRead_ = true;
}

void CVKT04BFSettingsDlg::SwitchLaser(bool on) {
    SensorDevice* sensor = Sensor();
    if (!sensor)
        return;
    ExchangeGuard::Hold hold(Context().Exchanges());
    if (on)
        sensor->SetLaserOn();
    else
        sensor->SetLaserOff();
}

} // namespace vk
