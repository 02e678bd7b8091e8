// backup, restore, diff: sensor profiles from the command line.
#include "cli/command_groups.h"
#include "cli/command_output.h"
#include "cli/vkctl_session.h"
#include "panels/profile_restore.h"
#include "panels/sensor_profile.h"
#include "sensor/line_setting_change.h"

#include <filesystem>

namespace vk::cli {

namespace {

// A file that cannot be used is refused before the line is touched: one line, exit 2.
// Its reason may quote the file's own bytes, so it goes out as plain text.
VkctlStatus RefusedFile(std::FILE* err, const std::string& reason) {
    std::fprintf(err, "vkctl: %s\n", PlainText(reason).c_str());
    return kUsageError;
}

// The lines quote the profile's values and units and the sensor's texts, untrusted alike.
void PrintLines(std::FILE* err, const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        std::fprintf(err, "%s\n", PlainText(line).c_str());
    std::fflush(err);
}

LineSettings LineSettingsOf(const ProfileIdentity& id) {
    return {id.address, id.speed, id.method};
}

// The rows of the line settings a profile names, after the settings'; those that differ
// get `differing` and `note`.
void AddLineRows(RestoreReport& report, const LineSettings& now, const LineSettings& wanted,
                 RestoreOutcome differing, const std::string& note = {}) {
    const auto row = [&](const char* name, const std::string& from, const std::string& to) {
        report.rows.push_back({name, from == to ? RestoreOutcome::Unchanged : differing, to, from,
                               from == to ? "" : note});
    };
    row("address", std::to_string(now.address), std::to_string(wanted.address));
    row("speed", std::to_string(now.speed), std::to_string(wanted.speed));
    row("check method", CheckMethodName(now.method), CheckMethodName(wanted.method));
}

// The line settings, last, each proven by a reconnect; the rows say how each went. A
// setting whose step never ran was not sent, whatever it differs by.
void RestoreLineSettings(RestoreReport& report, VkctlSession& session, const std::string& port,
                         const LineSettings& wanted) {
    const LineSettings before = CurrentLineSettings(session.Connection());
    const std::size_t first = report.rows.size();
    AddLineRows(report, before, wanted, RestoreOutcome::Skipped, "not sent");
    const LineChangeReport change = ChangeLineSettings(session.Connection(), port, wanted);
    for (std::size_t i = first; i < report.rows.size(); ++i) {
        RestoreRow& row = report.rows[i];
        if (row.outcome == RestoreOutcome::Skipped && !change.steps.empty())
            row.note = "not sent: an earlier change failed";
        for (const LineChangeStep& step : change.steps) {
            if (step.name != row.name)
                continue;
            row.outcome = step.answered ? RestoreOutcome::Verified : RestoreOutcome::Different;
            row.sensor = step.answered ? step.to : "no answer";
            row.note.clear();
        }
    }
    if (!change.failure.empty())
        report.failure = change.failure;
}

void PrintRestoreRows(const RestoreReport& report, bool json, std::FILE* out) {
    TableWriter table(out, json, {"name", "outcome", "profile", "sensor", "note"});
    for (const RestoreRow& r : report.rows)
        table.Row({Cell::Text(r.name), Cell::Text(RestoreOutcomeName(r.outcome)),
                   Cell::Text(r.profile), Cell::Text(r.sensor), Cell::Text(r.note)});
}

struct RestoreArguments {
    std::string file;
    bool dryRun = false;
    bool lineSettings = false;
};

std::string ParseRestoreArguments(const std::vector<std::string>& arguments,
                                  RestoreArguments* out) {
    for (const std::string& a : arguments) {
        if (a == "--dry-run")
            out->dryRun = true;
        else if (a == "--line-settings")
            out->lineSettings = true;
        else if (a.rfind("--", 0) == 0 || !out->file.empty())
            return "restore takes FILE, --dry-run and --line-settings";
        else
            out->file = a;
    }
    return out->file.empty() ? "restore takes FILE" : "";
}

} // namespace

VkctlStatus CmdBackup(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    const std::string& path = options.arguments[0];
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
        // What is there stays unless it is a profile: checked before the line is touched.
        if (const ProfileRead existing = ReadProfileFile(path); !existing.profile)
            return RefusedFile(err, path + " exists and is not a sensor profile this program "
                                           "reads; it is left as it is");
    }
    VkctlSession session(options, err);
    if (!session.Connect())
        return kSensorFailed;
    std::string failure;
    const std::optional<SensorProfile> profile =
        ProfileOfSensor(session.Connection(), "vkctl", &failure);
    if (!profile) {
        if (!failure.empty())
            PrintLines(err, {failure});
        return kSensorFailed;
    }
    if (!WriteProfileFile(path, *profile, &failure)) {
        PrintLines(err, {failure});
        return kSensorFailed;
    }
    RecordWriter record(out, options.json);
    record.Add("file", path);
    record.Add("model name", profile->identity.modelName);
    record.Add("serial", profile->identity.serial);
    record.Add("settings", Cell::Number(static_cast<long long>(profile->settings.size())));
    return session.ConnectStatus();
}

VkctlStatus CmdRestore(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    RestoreArguments args;
    if (const std::string problem = ParseRestoreArguments(options.arguments, &args);
        !problem.empty())
        return UsageError(err, problem);
    const ProfileRead read = ReadProfileFile(args.file);
    if (!read.profile)
        return RefusedFile(err, read.error);
    const SensorProfile& profile = *read.profile;

    VkctlSession session(options, err);
    if (!session.Connect())
        return kSensorFailed;
    const ModelType type = session.Connection().Model();
    if (const std::string mismatch = ModelMismatch(profile, type); !mismatch.empty())
        return RefusedFile(err, args.file + ": " + mismatch + " Nothing was written.");

    RestoreReport report = RestoreSettings(session.Sensor(), type, profile, args.dryRun);
    // A sensor that stopped answering is not moved elsewhere on the line.
    const LineSettings wanted = LineSettingsOf(profile.identity);
    const LineSettings now = CurrentLineSettings(session.Connection());
    if (!report.failure.empty()) {
    } else if (!args.lineSettings) {
        AddLineRows(report, now, wanted, RestoreOutcome::Skipped, "--line-settings writes it");
    } else if (args.dryRun) {
        AddLineRows(report, now, wanted, RestoreOutcome::WouldWrite);
    } else {
        RestoreLineSettings(report, session, options.port, wanted);
    }

    PrintRestoreRows(report, options.json, out);
    PrintLines(err, RestoreProblems(report));
    return report.Clean() ? session.ConnectStatus() : kSensorFailed;
}

VkctlStatus CmdDiff(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    std::vector<SensorProfile> sides;
    for (const std::string& path : options.arguments) {
        ProfileRead read = ReadProfileFile(path);
        if (!read.profile)
            return RefusedFile(err, read.error);
        sides.push_back(std::move(*read.profile));
    }
    std::optional<VkctlSession> session;
    if (sides.size() == 1) {
        session.emplace(options, err);
        if (!session->Connect())
            return kSensorFailed;
        std::string failure;
        std::optional<SensorProfile> sensor =
            ProfileOfSensor(session->Connection(), "vkctl", &failure);
        if (!sensor) {
            if (!failure.empty())
                PrintLines(err, {failure});
            return kSensorFailed;
        }
        sides.insert(sides.begin(), std::move(*sensor));
    }
    const ProfileDifferences d = CompareProfiles(sides[0], sides[1]);
    {
        const bool sensor = options.arguments.size() == 1;
        TableWriter table(
            out, options.json,
            {"kind", "name", sensor ? "sensor" : "first", sensor ? "profile" : "second"});
        for (const Difference& x : d.settings)
            table.Row({Cell::Text("setting"), Cell::Text(x.name), Cell::Text(x.first),
                       Cell::Text(x.second)});
        for (const Difference& x : d.identity)
            table.Row({Cell::Text("identity"), Cell::Text(x.name), Cell::Text(x.first),
                       Cell::Text(x.second)});
    }
    // A replacement sensor has another serial number and may sit elsewhere on the line:
    // only the settings decide whether it measures alike.
    if (!d.settings.empty())
        return kSensorFailed;
    return session ? session->ConnectStatus() : kOk;
}

} // namespace vk::cli
