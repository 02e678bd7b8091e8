// upload, set-serial, set-model: the factory's upload and "Serial Number and Model Name"
// dialogs from the command line.
#include "cli/command_groups.h"
#include "cli/command_output.h"
#include "cli/stop_request.h"
#include "cli/terminal_line.h"
#include "cli/vkctl_session.h"
#include "link/xmodem.h"
#include "link/xmodem_sender.h"
#include "sensor/identity_writes.h"
#include "sensor/upload_sequence.h"

#include <algorithm>

namespace vk::cli {

namespace {

// "Uploading: 12 of 47 blocks" for a person watching a terminal.
class TerminalProgress : public UploadProgress {
public:
    TerminalProgress(std::FILE* err, bool quiet, std::size_t size)
        : line_(err, quiet), blocks_((size + xmodem::kBlockData - 1) / xmodem::kBlockData) {}

    void SetPercent(int) override {}
    void BytesSent(std::size_t sent) override { Show(sent / xmodem::kBlockData); }
    void TransferEnded(int error) override {
        if (error == 0)
            Show(blocks_);
        line_.Keep();
    }

private:
    void Show(std::size_t done) {
        line_.Show("Uploading: " + std::to_string(done) + " of " + std::to_string(blocks_) +
                   " blocks");
    }

    TerminalLine line_;
    std::size_t blocks_;
};

std::optional<UploadKind> UploadKindNamed(const std::string& name) {
    if (name == "fpga")
        return UploadKind::Fpga;
    if (name == "dsp")
        return UploadKind::Dsp;
    if (name == "cal")
        return UploadKind::Calibration;
    return std::nullopt;
}

// What the "Refresh" of the dialog reads back, printed.
VkctlStatus PrintIdentity(VkctlSession& session, bool json, std::FILE* out) {
    if (!ReadIdentity(session.Sensor()))
        return kSensorFailed;
    const ReplyStore& replies = session.Sensor().Replies();
    RecordWriter record(out, json);
    record.Add("model string", replies.modelName.Str());
    record.Add("serial", replies.serialNumber.Str());
    return session.ConnectStatus();
}

} // namespace

VkctlStatus CmdUpload(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    const std::optional<UploadKind> kind = UploadKindNamed(options.arguments[0]);
    const bool yes = options.arguments.size() == 3 && options.arguments[2] == "--yes";
    if (!kind || (options.arguments.size() == 3 && !yes))
        return UsageError(err, "upload takes fpga, dsp or cal, a FILE and maybe --yes");
    const std::string& path = options.arguments[1];
    std::vector<std::uint8_t> image;
    std::string reason;
    if (!ReadUploadFile(path, &image, &reason)) {
        // A test station's log must say which file and why, not only that it failed.
        std::fprintf(err, "Error reading file %s: %s\n", PlainText(path).c_str(), reason.c_str());
        return kSensorFailed;
    }
    if (!UploadSizeUsual(*kind, image.size()) && !yes) {
        std::string question = kUnusualUploadSizeQuestion;
        question.erase(question.find_last_not_of(' ') + 1);
        std::fprintf(err, "%s (--yes answers yes)\n", question.c_str());
        return kSensorFailed;
    }

    VkctlSession session(options, err);
    if (!session.Connect())
        return kSensorFailed;
    // Ctrl+C waits for the end of the transfer: the flash must not stay unlocked.
    StopRequest holdStops;
    XModemSender sender;
    TerminalProgress progress(err, options.quiet, image.size());
    const UploadResult result = RunUpload(session.Sensor(), sender, *kind, image, progress);
    if (!result.streamed) {
        // The unlock or the upload command failed: lock what may have been unlocked.
        LockFlash(session.Sensor());
        return kSensorFailed;
    }
    if (result.error != 0) {
        std::fprintf(err, "Error occurred.Code %d\n", result.error);
        return kSensorFailed;
    }
    RecordWriter record(out, options.json);
    record.Add("upload", options.arguments[0]);
    record.Add("bytes", Cell::Number(static_cast<long long>(image.size())));
    record.Add("status", "Successfully completed");
    return session.ConnectStatus();
}

VkctlStatus CmdSetSerial(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    const std::string& serial = options.arguments[0];
    // A script must learn that its serial number would not go out whole; bytes outside
    // printable ASCII are no serial number any tool could show.
    if (serial.size() > kSerialNumberMaxLength ||
        !std::all_of(serial.begin(), serial.end(), [](char c) { return c >= 0x20 && c < 0x7F; }))
        return UsageError(err, "set-serial takes at most 15 printable ASCII characters");
    VkctlSession session(options, err);
    if (!session.Connect() || !WriteSerialNumber(session.Sensor(), serial))
        return kSensorFailed;
    return PrintIdentity(session, options.json, out);
}

VkctlStatus CmdSetModel(const VkctlOptions& options, std::FILE* out, std::FILE* err) {
    const std::vector<SelectableModel> models = SelectableModels();
    const SelectableModel* model = FindSelectableModel(models, options.arguments[0]);
    if (!model) {
        std::string choices;
        for (const SelectableModel& m : models)
            choices += (choices.empty() ? "\"" : ", \"") + m.modelString + "\"";
        return UsageError(err, "set-model takes one of " + choices);
    }
    VkctlSession session(options, err);
    if (!session.Connect() || !session.Sensor().SetModelName(SensorText::From(model->modelString)))
        return kSensorFailed;
    return PrintIdentity(session, options.json, out);
}

} // namespace vk::cli
