#include "sensor/version_texts.h"

#include "sensor/sensor_device.h"

namespace vk {

std::optional<VersionTexts> ReadVersionTexts(SensorDevice& sensor, ModelType model) {
    const VersionRecord* version;
    if (model == ModelType::VKT02 || model == ModelType::RmxLong) {
        if (!sensor.GetVersion())
            return std::nullopt;
        version = &sensor.Replies().version;
    } else {
        if (!sensor.GetVKT04Version())
            return std::nullopt;
        version = &sensor.Replies().vkt04Version;
    }
    return VersionTexts{FirmwareVersionText(version->firmwareHundredths, version->revision),
                        FpgaVersionText(version->fpgaTenths)};
}

} // namespace vk
