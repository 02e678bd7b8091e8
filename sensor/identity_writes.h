#pragma once
// Writing a sensor's identity, as the factory's "Serial Number and Model Name" dialog
// does: a serial number of at most 15 characters, and a model string taken only from
// the rows of the model table, so a sensor never receives a name no tool recognises.

#include "sensor/model_table.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

class SensorDevice;

// Sent serial numbers are cut to this many characters.
inline constexpr std::size_t kSerialNumberMaxLength = 15;

struct SelectableModel {
    std::string modelString; // "0 VKT-02"
    ModelType type;
};

// The model strings the model list offers, in table order: every row of ModelStringTable
// whose separator byte is zero.
std::vector<SelectableModel> SelectableModels();

// The row of SelectableModels() whose model string is exactly `text`; null for none.
const SelectableModel* FindSelectableModel(const std::vector<SelectableModel>& models,
                                           std::string_view text);

// "Set Serial Number" -> SetSerialNum with the first kSerialNumberMaxLength bytes of
// `text`. True when the command went out.
bool WriteSerialNumber(SensorDevice& sensor, std::string_view text);

// The dialog's "Refresh": GetModelName, then GetSerialNum; true when both answered.
bool ReadIdentity(SensorDevice& sensor);

} // namespace vk
