#include "cli/vkctl_session.h"

#include "link/port_names.h"

namespace vk::cli {

VkctlSession::VkctlSession(const VkctlOptions& options, std::FILE* errors)
    : options_(options), errors_(errors), trace_(errors), connection_(*this, *this, *this) {
    connection_.ForceCheckMethod(options.method);
    if (options.trace)
        connection_.Link().SetObserver(&trace_);
}

bool VkctlSession::AskConnectSettings(ConnectSettings& settings) {
    settings.portName = options_.port;
    settings.portNumber = ComNumber(options_.port).value_or(-1);
    settings.baudRate = options_.baudRate;
    settings.address = options_.address;
    return true;
}

void VkctlSession::LogMessage(const char* text, LogIcon icon) {
    if (icon != LogIcon::Error || !text)
        return;
    std::fprintf(errors_, "%s\n", text);
    std::fflush(errors_);
    quoted_ += text;
    quoted_ += '\n';
    ++errorLines_;
}

bool VkctlSession::Connect() {
    if (connection_.Connect())
        return true;
    const char* reason = connection_.Link().ErrorText();
    if (*reason && quoted_.find(reason) == std::string::npos)
        LogMessage(reason, LogIcon::Error);
    return false;
}

VkctlStatus VkctlSession::ConnectStatus() const {
    return connection_.Connected() && connection_.ReadOutComplete() ? kOk : kSensorFailed;
}

} // namespace vk::cli
