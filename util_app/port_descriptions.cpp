#include "util_app/port_descriptions.h"

#include <QSerialPortInfo>

namespace vk {

std::vector<ComDevice> DescribedComDevices(int highest) {
    std::vector<ComDevice> devices = ListComDevices(highest);
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (ComDevice& d : devices) {
        for (const QSerialPortInfo& port : ports) {
            if (port.systemLocation().toStdString() != d.device)
                continue;
            d.description = DeviceDescriptionText(port.manufacturer().toStdString(),
                                                  port.description().toStdString(),
                                                  port.serialNumber().toStdString());
            break;
        }
    }
    return devices;
}

} // namespace vk
