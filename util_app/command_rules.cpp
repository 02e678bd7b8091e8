#include "util_app/command_rules.h"

namespace vk {

CommandState CommandStateFor(CommandId id, const CommandContext& c) {
    const bool factory = c.connected && c.manufacturing;
    switch (id) {
    case CommandId::Connect:
    case CommandId::FindSensors:
        return {!c.connected, false};
    case CommandId::Disconnect:
    case CommandId::Address:
    case CommandId::BaudRate:
    case CommandId::SensorSettings:
    case CommandId::SetDefaults:
    case CommandId::ReloadSettings:
        return {c.connected, false};
    case CommandId::Checksum:
        return {c.connected, c.method == CheckMethod::Checksum};
    case CommandId::Crc:
        return {c.connected, c.method == CheckMethod::Crc16};
    case CommandId::SerialAndModel:
    case CommandId::Upload:
    case CommandId::ResetSensor:
        return {factory, false};
    case CommandId::ViewToolbar:
        return {true, c.toolbarVisible};
    case CommandId::ViewStatusBar:
        return {true, c.statusBarVisible};
    case CommandId::ViewSensorBar:
        return {true, c.sensorBarVisible};
    case CommandId::ViewLogBar:
        return {true, c.logBarVisible};
    case CommandId::Exit:
    case CommandId::ClearLog:
    case CommandId::About:
    case CommandId::Open:
        return {true, false};
    }
    return {true, false};
}

} // namespace vk
