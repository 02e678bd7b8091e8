// settings, set: the model's settings dialog from the command line.
#include "cli/command_groups.h"
#include "cli/command_output.h"
#include "cli/model_settings.h"
#include "cli/vkctl_session.h"

namespace vk::cli {

VkctlStatus CmdSettings(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    VkctlSession session(options, err);
    if (!session.Connect())
        return kSensorFailed;
    const ModelType type = session.Connection().Model();
    const std::optional<SettingsRows> rows = ReadSettingsRows(session.Sensor(), type);
    if (!rows)
        return kSensorFailed;
    RecordWriter record(out, options.json);
    for (const auto& [name, value] : *rows)
        record.Add(name, value);
    return session.ConnectStatus();
}

namespace {

void ListSettingNames(ModelType type, bool json, std::FILE* out) {
    if (json) {
        TableWriter table(out, true, {"name", "summary", "row"});
        for (const SettingName& s : SettingNames(type))
            table.Row({Cell::Text(s.name), Cell::Text(s.summary), Cell::Text(s.row)});
        return;
    }
    std::fprintf(out, "settings of the %s (vkctl set NAME VALUE):\n", ModelDisplayName(type));
    for (const SettingName& s : SettingNames(type))
        std::fprintf(out, "  %-26s %s\n", s.name.c_str(), s.summary.c_str());
}

} // namespace

VkctlStatus CmdSet(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    const bool help = options.arguments[0] == "--help";
    if (!help && options.arguments.size() != 2)
        return UsageError(err, "set takes NAME VALUE, or --help");
    VkctlSession session(options, err);
    if (!session.Connect())
        return kSensorFailed;
    const ModelType type = session.Connection().Model();
    if (help) {
        ListSettingNames(type, options.json, out);
        return session.ConnectStatus();
    }
    const std::string& name = options.arguments[0];
    const std::string& value = options.arguments[1];
    const std::optional<SettingName> setting = FindSettingName(type, name);
    if (!setting)
        return UsageError(err, "the " + std::string(ModelDisplayName(type)) + " has no setting " +
                                   name + " (vkctl set --help lists them)");
    if (const std::string problem = ValueShapeProblem(*setting, type, value); !problem.empty())
        return UsageError(err, problem);

    const SetResult result = ApplySetting(session.Sensor(), type, *setting, value);
    switch (result.outcome) {
    case SetResult::Outcome::Refused:
        std::fprintf(err, "%s\n", result.refusal.c_str());
        return kSensorFailed;
    case SetResult::Outcome::Done:
        // A setting no row shows (a laser switch) reports what was sent.
        RecordWriter(out, options.json).Add(name, setting->row.empty() ? value : result.readBack);
        return session.ConnectStatus();
    default:
        // The failed command has written its line.
        return kSensorFailed;
    }
}

} // namespace vk::cli
