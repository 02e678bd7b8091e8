// settings, set: the model's settings dialog from the command line.
#include "cli/command_groups.h"
#include "cli/command_output.h"
#include "cli/vkctl_session.h"
#include "panels/model_settings.h"
#include "panels/sensor_profile.h"

namespace vk::cli {

VkctlStatus CmdSettings(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    VkctlSession session(options, err);
    if (!session.Connect())
        return kSensorFailed;
    const ModelType type = session.Connection().Model();
    const std::optional<SettingValues> values = ReadSettingValues(session.Sensor(), type);
    if (!values)
        return kSensorFailed;
    // The names and values `set` and the profiles take; the row text as the dialog shows it.
    if (options.json) {
        std::fprintf(out, "%s\n", SettingsJson(*values, 4).c_str());
        std::fflush(out);
    } else {
        RecordWriter record(out, false);
        for (const SettingValue& v : *values)
            record.Add(v.name, v.text);
    }
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
    std::fprintf(out, "settings of the %s (vkctl set NAME VALUE; vkctl set NAME --help):\n",
                 ModelDisplayName(type));
    for (const SettingName& s : SettingNames(type))
        std::fprintf(out, "  %-26s %s\n", s.name.c_str(), s.summary.c_str());
}

// `set NAME --help`: what the name stands for and, for the range mode, the rows of its
// list, which are what `set mode` takes.
void DescribeSetting(const SettingName& setting, ModelType type, bool json, std::FILE* out) {
    const std::vector<std::string> modes =
        setting.shape == ValueShape::Mode ? ModeBoxRows(type) : std::vector<std::string>{};
    if (json) {
        if (setting.shape != ValueShape::Mode) {
            RecordWriter record(out, true);
            record.Add("name", setting.name);
            record.Add("summary", setting.summary);
            record.Add("row", setting.row);
            return;
        }
        TableWriter table(out, true, {"row", "text"});
        for (std::size_t i = 0; i < modes.size(); ++i)
            table.Row({Cell::Number(static_cast<long long>(i)), Cell::Text(modes[i])});
        return;
    }
    std::fprintf(out, "%s: %s", setting.name.c_str(), setting.summary.c_str());
    if (!setting.row.empty())
        std::fprintf(out, " (the dialog's row \"%s\")", setting.row.c_str());
    std::fprintf(out, "\n");
    for (std::size_t i = 0; i < modes.size(); ++i)
        std::fprintf(out, "  %2zu  %s\n", i, modes[i].c_str());
}

} // namespace

VkctlStatus CmdSet(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    const bool help = options.arguments[0] == "--help";
    const bool nameHelp = options.arguments.size() == 2 && options.arguments[1] == "--help";
    if (!help && options.arguments.size() != 2)
        return UsageError(err, "set takes NAME VALUE, NAME --help or --help");
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
    if (nameHelp) {
        DescribeSetting(*setting, type, options.json, out);
        return session.ConnectStatus();
    }
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
