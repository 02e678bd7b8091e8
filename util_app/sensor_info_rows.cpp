#include "util_app/sensor_info_rows.h"

#include "util_app/custom_settings_dlg.h"
#include "util_app/document.h"

namespace vk {

SensorInfoRows CollectSensorInfo(const CVKT02Doc& doc) {
    SensorInfoRows rows;
    if (!doc.IsConnected())
        return rows;
    CCustomSettingsDlg* dialog = doc.ActiveSettingsDialog();
    if (!dialog)
        return rows;
    std::vector<std::string> names;
    std::vector<std::string> values;
    dialog->GetSettingsList(names, values);

    const SensorConnection& connection = doc.Connection();
    const ReplyStore& replies = connection.Sensor().Replies();
    const std::string serial = replies.serialNumber.Str();
    rows.sensor = {
        {"Serial number", serial, std::nullopt},
        {"Model String:", replies.modelName.Str(), std::nullopt},
        {"Firmware:", connection.FirmwareVersion(), std::nullopt},
        {"FPGA version", connection.FpgaVersion(), std::nullopt},
        {"Address", std::to_string(connection.Sensor().Address()), CommandId::Address},
        {"Sensor baudrate", std::to_string(connection.Link().Settings().baudRate),
         CommandId::BaudRate},
    };
    rows.settings.push_back({"Serial Number", serial, std::nullopt});
    for (std::size_t i = 0; i < names.size() && i < values.size(); ++i)
        rows.settings.push_back({names[i], values[i], CommandId::SensorSettings});
    return rows;
}

} // namespace vk
