#include "sensor/identity_writes.h"

#include "sensor/sensor_device.h"

#include <cstring>

namespace vk {

std::vector<SelectableModel> SelectableModels() {
    std::vector<SelectableModel> models;
    for (const ModelStringRecord& row : ModelStringTable) {
        if (row.separator != 0)
            continue;
        models.push_back(
            {std::string(row.modelString, strnlen(row.modelString, sizeof row.modelString)),
             static_cast<ModelType>(row.type)});
    }
    return models;
}

const SelectableModel* FindSelectableModel(const std::vector<SelectableModel>& models,
                                           std::string_view text) {
    for (const SelectableModel& model : models) {
        if (model.modelString == text)
            return &model;
    }
    return nullptr;
}

bool WriteSerialNumber(SensorDevice& sensor, std::string_view text) {
    return sensor.SetSerialNum(SensorText::From(text.substr(0, kSerialNumberMaxLength)));
}

bool ReadIdentity(SensorDevice& sensor) {
    return sensor.GetModelName() && sensor.GetSerialNum();
}

} // namespace vk
