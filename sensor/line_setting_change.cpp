#include "sensor/line_setting_change.h"

#include "sensor/sensor_connection.h"

namespace vk {

LineSettings CurrentLineSettings(const SensorConnection& connection) {
    return {connection.Sensor().Address(), connection.Link().Settings().baudRate,
            connection.Sensor().Method()};
}

std::string CheckMethodName(CheckMethod method) {
    return method == CheckMethod::Crc16 ? "crc" : "checksum";
}

std::optional<CheckMethod> CheckMethodNamed(std::string_view name) {
    for (const CheckMethod method : {CheckMethod::Checksum, CheckMethod::Crc16})
        if (name == CheckMethodName(method))
            return method;
    return std::nullopt;
}

namespace {

// Opens the port anew at the link's settings and asks the sensor at the connection's
// address and method who it is: it must be the one it was.
bool AnswersAsBefore(SensorConnection& connection, const std::string& portName,
                     const SensorText& model, const std::string& serial) {
    DcsLink& link = connection.Link();
    // The change must have left the port before it closes (a request without a reply, as
    // the address is, would otherwise be cut off), and what the sensor says to it is dropped.
    link.DrainInput();
    const PortSettings port = link.Settings();
    if (!link.OpenPortName(portName, port.baudRate, port.parity, port.stopBits, port.dataBits,
                           static_cast<std::uint32_t>(port.readTimeoutMs),
                           static_cast<std::uint32_t>(port.writeTimeoutMs)))
        return false;
    link.DrainInput();
    SensorDevice& sensor = connection.Sensor();
    return sensor.GetModelName() && sensor.Replies().modelName == model && sensor.GetSerialNum() &&
           sensor.Replies().serialNumber.Prefix(8) == serial;
}

} // namespace

std::string LineSettingsText(const LineSettings& s) {
    return "address " + std::to_string(s.address) + ", " + std::to_string(s.speed) + " baud, " +
           CheckMethodName(s.method);
}

LineChangeReport ChangeLineSettings(SensorConnection& connection, const std::string& portName,
                                    const LineSettings& target) {
    LineChangeReport report;
    const SensorText model = connection.Sensor().Replies().modelName;
    const std::string serial = connection.Sensor().Replies().serialNumber.Prefix(8);
    if (target.address == 0) {
        report.failure = "Address 0 reaches every sensor on the line; no sensor can have it.";
        return report;
    }
    if (SensorDevice::BaudRateCode(target.speed) < 0) {
        report.failure = "The sensors know 9600, 19200, 38400 and 57600 baud only.";
        return report;
    }
    if (!connection.Connected() || serial.empty()) {
        // The address goes to the sensor that has this serial number, and the proof asks
        // for it.
        report.failure = "The sensor's serial number has not been read; nothing was changed.";
        return report;
    }

    const auto step = [&](const char* name, std::string from, std::string to, auto change) {
        if (!report.failure.empty() || from == to)
            return;
        const LineSettings before = CurrentLineSettings(connection);
        change();
        LineChangeStep done{name, std::move(from), std::move(to), false};
        done.answered = AnswersAsBefore(connection, portName, model, serial);
        report.steps.push_back(done);
        if (!done.answered)
            report.failure = "The sensor does not answer at " +
                             LineSettingsText(CurrentLineSettings(connection)) +
                             "; before the change it answered at " + LineSettingsText(before) + ".";
    };
    const LineSettings now = CurrentLineSettings(connection);
    step("address", std::to_string(now.address), std::to_string(target.address),
         [&] { connection.Readdress(target.address); });
    step("speed", std::to_string(now.speed), std::to_string(target.speed),
         [&] { connection.MoveToBaudRate(target.speed); });
    step("check method", CheckMethodName(now.method), CheckMethodName(target.method),
         [&] { connection.SelectCheckMethod(target.method); });
    return report;
}

} // namespace vk
