#include "sensor_test_support.h"

namespace vk::test {

std::vector<std::string> RecordingLog::Texts() const {
    std::vector<std::string> texts;
    for (const LogLine& line : lines)
        texts.push_back(line.text);
    return texts;
}

void RecordingProfile::WriteInt(const std::string& section, const std::string& name,
                                std::int64_t value) {
    values[{section, name}] = value;
    if (onWrite)
        onWrite();
}

bool ScriptedHost::AskConnectSettings(ConnectSettings& settings) {
    connectPreset = settings;
    if (confirmConnect)
        settings = connectAnswer;
    return confirmConnect;
}

bool ScriptedHost::AskBaudRate(std::int32_t& baudRate) {
    baudPreset = baudRate;
    if (confirmBaud)
        baudRate = baudAnswer;
    return confirmBaud;
}

bool ScriptedHost::AskAddress(const std::string& serial8, std::uint8_t& address) {
    serialShown = serial8;
    addressPreset = address;
    if (confirmAddress)
        address = addressAnswer;
    return confirmAddress;
}

bool ScriptedHost::AskYesNo(const char* question) {
    questions.push_back(question);
    return yes;
}

} // namespace vk::test
