#pragma once
// The commands beyond identify, state, set-threshold and read-buffer, one file per group;
// vkctl_commands.cpp puts them in its table. Each checks its arguments before it
// touches the line and returns the exit status.

#include "cli/vkctl_commands.h"
#include "sensor/model_table.h"

#include <initializer_list>

namespace vk::cli {

// cmd_settings.cpp
VkctlStatus CmdSettings(const VkctlOptions& options, std::FILE* out, std::FILE* err);
VkctlStatus CmdSet(const VkctlOptions& options, std::FILE* out, std::FILE* err);

// cmd_scan.cpp
// Connects; true when the sensor is one of `models`. Else a line on `err` says what the
// command is for, instead of letting the sensor stay silent at a command it does not know:
// "start-scan is for VKT02 and Rmx Long sensors; this is a VKT04".
bool ConnectSensorOf(VkctlSession& session, const char* command,
                     std::initializer_list<ModelType> models, std::FILE* err);
VkctlStatus CmdStartScan(const VkctlOptions& options, std::FILE* out, std::FILE* err);
VkctlStatus CmdStopScan(const VkctlOptions& options, std::FILE* out, std::FILE* err);
VkctlStatus CmdFilter(const VkctlOptions& options, std::FILE* out, std::FILE* err);
VkctlStatus CmdErrors(const VkctlOptions& options, std::FILE* out, std::FILE* err);

// cmd_identity.cpp
VkctlStatus CmdUpload(const VkctlOptions& options, std::FILE* out, std::FILE* err);
VkctlStatus CmdSetSerial(const VkctlOptions& options, std::FILE* out, std::FILE* err);
VkctlStatus CmdSetModel(const VkctlOptions& options, std::FILE* out, std::FILE* err);

// cmd_scan_line.cpp
VkctlStatus CmdScanLine(const VkctlOptions& options, std::FILE* out, std::FILE* err);

// cmd_monitor.cpp
VkctlStatus CmdMonitor(const VkctlOptions& options, std::FILE* out, std::FILE* err);

// cmd_profile.cpp
VkctlStatus CmdBackup(const VkctlOptions& options, std::FILE* out, std::FILE* err);
VkctlStatus CmdRestore(const VkctlOptions& options, std::FILE* out, std::FILE* err);
VkctlStatus CmdDiff(const VkctlOptions& options, std::FILE* out, std::FILE* err);

// cmd_line_settings.cpp
VkctlStatus CmdSetAddress(const VkctlOptions& options, std::FILE* out, std::FILE* err);
VkctlStatus CmdSetBaud(const VkctlOptions& options, std::FILE* out, std::FILE* err);
VkctlStatus CmdSetCheckMethod(const VkctlOptions& options, std::FILE* out, std::FILE* err);

// Prints the one line "vkctl: <problem>; see vkctl --help"; returns kUsageError. Every
// usage error, of the options or of a command's arguments, goes through it.
VkctlStatus UsageError(std::FILE* err, const std::string& problem);

} // namespace vk::cli
