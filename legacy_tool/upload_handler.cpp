// The "Upload" button of the "Sensor Settings" page (service mode only).

#include "legacy_tool/sensor_settings_page.h"
#include "legacy_tool/upload_sequence.h"

#include <QComboBox>
#include <QFile>

#include <fstream>

namespace vk::legacy {

namespace {

constexpr int kClosingPauseMs = 100;

FileDialogRequest UploadDialog(const UploadKindRow& kind) {
    FileDialogRequest request;
    for (const FileFilter& f : UploadFileFilters())
        request.filters << QString("%1 (%2)").arg(f.name, f.pattern);
    request.filterIndex = kind.filterIndex;
    request.defaultSuffix = "bin";
    return request;
}

} // namespace

void SensorSettingsPage::BtnUploadClick() {
    HandlerScope scope(host_);
    if (!scope.Entered())
        return;
    host_.SetStatus({});
    const UploadKindRow& kind = UploadKindAt(cboUpload_->currentIndex());
    QString path = host_.Prompts().OpenFile(UploadDialog(kind));
    if (path.isEmpty())
        return;
    if (!host_.Prompts().AskYesNo(QString("Continue with ") + kind.confirmation))
        return;

    std::ifstream file(QFile::encodeName(path).toStdString(), std::ios::binary);
    UploadImage image;
    if (file)
        image = LoadUploadImage(file);
    else
        image.problem = UploadImage::Problem::Unreadable;
    switch (image.problem) {
    case UploadImage::Problem::None:
        break;
    case UploadImage::Problem::Empty:
        host_.SetStatus("No Data in File!");
        return;
    case UploadImage::Problem::Unreadable:
        host_.SetStatus("Error Reading File!");
        return;
    case UploadImage::Problem::TooLarge:
        // The image buffer holds no more; nothing of such a file goes to the sensor.
        host_.Prompts().Error(
            QString("File too large!\r\n(Largest image: %1 bytes)").arg(kImageBufferSize));
        return;
    }

    LegacySession& session = host_.Session();
    UnlockFlash(session);
    host_.SetStatus({});
    EraseVerdict erased = StartUpload(session, kind.command);
    if (erased == EraseVerdict::Refused) {
        host_.SetStatus("Flash Erase Error!");
        return;
    }
    if (erased == EraseVerdict::Failed) {
        host_.ProcessErrorMsg(session.State().lastError);
        return;
    }

    host_.SetStatus({});
    host_.SetProgress(0, true);
    int result = SendImage(session.Comm(), image, [this](int percent) {
        host_.SetStatus(QString("Completed %1 %").arg(percent));
        host_.SetProgress(percent, true);
    });
    session.Pause(kClosingPauseMs);
    host_.SetProgress(0, false);
    host_.SetStatus(result == kBlockSent ? "Success!" : "XModem Transfer Falied!");
}

} // namespace vk::legacy
