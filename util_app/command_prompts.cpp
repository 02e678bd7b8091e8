#include "util_app/command_prompts.h"

namespace vk {

CommandPrompt SplitPrompt(const std::string& prompt) {
    const std::size_t newline = prompt.find('\n');
    if (newline == std::string::npos)
        return {prompt, {}};
    return {prompt.substr(0, newline), prompt.substr(newline + 1)};
}

CommandPrompt PromptFor(CommandId id) {
    const char* text = "";
    switch (id) {
    case CommandId::Connect:
        text = "Connect to sensor\nNew";
        break;
    case CommandId::FindSensors:
        text = "Search a port for sensors at every speed, check method and address\nFind "
               "Sensors";
        break;
    case CommandId::Disconnect:
        text = "Close connection\nClose connection";
        break;
    case CommandId::BaudRate:
        text = "Set sensor boudrate \n Set sensor boudrate";
        break;
    case CommandId::SetDefaults:
        text = "Set sensor factory defaults \n Reset the sensor to use all default values";
        break;
    case CommandId::Address:
        text = "Set sensor address \nSet sensor address ";
        break;
    case CommandId::ClearLog:
        text = "Clear log records \nClear log records";
        break;
    case CommandId::Checksum:
        text = "Use checksum to check serial communication packets integrity \nUse  checksum to "
               "check serial communication packets integrity";
        break;
    case CommandId::Crc:
        text = "Use CRC algorithm to check serial communication packets integrity \nUse CRC "
               "algorithm to check serial communication packets integrity";
        break;
    // The usual prompts of any desktop program.
    case CommandId::About:
        text = "Display program information, version number and copyright\nAbout";
        break;
    case CommandId::Exit:
        text = "Quit the application; prompts to save documents\nExit";
        break;
    case CommandId::ViewToolbar:
        text = "Show or hide the toolbar\nToggle ToolBar";
        break;
    case CommandId::ViewStatusBar:
        text = "Show or hide the status bar\nToggle StatusBar";
        break;
    default:
        break;
    }
    return SplitPrompt(text);
}

} // namespace vk
