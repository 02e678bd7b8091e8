#include "sensor/connect_hint.h"

namespace vk {

std::string NoAnswerHint(const std::string& port, const std::string& device, std::int32_t baudRate,
                         std::uint8_t address, std::optional<CheckMethod> onlyMethod,
                         const std::string& search) {
    std::string hint = "hint: tried " + port;
    if (!device.empty() && device != port)
        hint += " (" + device + ")";
    hint += " at " + std::to_string(baudRate) + " baud, address " + std::to_string(address);
    if (address == 0)
        hint += " (every sensor)";
    if (!onlyMethod)
        hint += ", with checksum and with CRC";
    else
        hint += *onlyMethod == CheckMethod::Crc16 ? ", with CRC only" : ", with checksum only";
    hint += "; no answer: check the cable and the sensor's power";
    if (!search.empty())
        hint += ", or " + search;
    return hint;
}

} // namespace vk
