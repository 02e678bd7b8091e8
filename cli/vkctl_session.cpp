#include "cli/vkctl_session.h"

#include "link/port_names.h"

namespace vk::cli {

VkctlSession::VkctlSession(const VkctlOptions& options, std::FILE* errors)
    : options_(options), errors_(errors), trace_(errors), connection_(*this, *this, *this) {
    connection_.ForceCheckMethod(options.method);
    connection_.SetSearchAdvice("use vkctl scan-line");
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

void VkctlSession::Print(const std::string& text, LogIcon icon) {
    std::fprintf(errors_, "%s\n", text.c_str());
    std::fflush(errors_);
    if (icon == LogIcon::Error)
        ++errorLines_;
}

void VkctlSession::LogMessage(const char* text, LogIcon icon) {
    if (!text)
        return;
    if (options_.verbose)
        Print(text, icon);
    else if (connecting_)
        held_.push_back({text, icon});
    else if (icon == LogIcon::Error)
        Print(text, icon);
}

bool VkctlSession::Connect() {
    connecting_ = true;
    const bool connected = connection_.Connect();
    connecting_ = false;
    std::vector<Line> lines = std::move(held_);
    held_.clear();
    // A sensor found speaking CRC was first asked with a checksum: that one failure line
    // is part of the search.
    std::size_t first = 0;
    if (connected && !options_.method && connection_.Sensor().Method() == CheckMethod::Crc16 &&
        !lines.empty() && lines.front().icon == LogIcon::Error)
        first = 1;
    for (std::size_t i = first; i < lines.size(); ++i) {
        const Line& line = lines[i];
        // A failed connect's hints (information lines) say what to do about it.
        if (line.icon == LogIcon::Error || (!connected && line.icon == LogIcon::Information))
            Print(line.text, line.icon);
    }
    return connected;
}

VkctlStatus VkctlSession::ConnectStatus() const {
    return connection_.Connected() && connection_.ReadOutComplete() ? kOk : kSensorFailed;
}

} // namespace vk::cli
