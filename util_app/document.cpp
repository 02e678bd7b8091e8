#include "util_app/document.h"

#include "util_app/custom_settings_dlg.h"
#include "util_app/profile.h"
#include "util_app/range_modes.h"
#include "util_app/serial_model_dialog.h"
#include "util_app/upload_dialog.h"
#include "util_app/view.h"

namespace vk {

class CVKT02Doc::CommandScope {
public:
    explicit CommandScope(CVKT02Doc& doc) : doc_(doc), hold_(doc.exchanges_) {
        ++doc_.commandDepth_;
    }
    ~CommandScope() {
        --doc_.commandDepth_;
        // A command that found the port gone has failed and said so; what follows from it
        // waits until the command is over, and announces itself.
        if (!doc_.DropLostPort())
            doc_.AnnounceChange();
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

private:
    CVKT02Doc& doc_;
    ExchangeGuard::Hold hold_;
};

CVKT02Doc::CVKT02Doc(LogSink& log, UserPrompts& prompts, QObject* parent)
    : QObject(parent), log_(log), prompts_(prompts), profile_(std::make_unique<Profile>()),
      ticker_(this, [this] { OnTick(); }), connection_(*this, *this, *profile_) {
    connection_.SetRefreshTicker(&ticker_);
    connection_.SetSearchAdvice("use Find Sensors");
}

CVKT02Doc::~CVKT02Doc() {
    ticker_.StopThread();
    connection_.SetRefreshTicker(nullptr);
}

void CVKT02Doc::AttachView(CSensorParentView* view) {
    view_ = view;
}

void CVKT02Doc::InstallSettingsDialogs(std::unique_ptr<CCustomSettingsDlg> vkt02,
                                       std::unique_ptr<CCustomSettingsDlg> vkt04,
                                       std::unique_ptr<CCustomSettingsDlg> rmxShort,
                                       std::unique_ptr<CCustomSettingsDlg> vezirOrududu) {
    settingsDialogs_ = {std::move(vkt02), std::move(vkt04), std::move(rmxShort),
                        std::move(vezirOrududu)};
    connection_.SetSettingsDialogs(
        SettingsDialogs{settingsDialogs_[0].get(), settingsDialogs_[1].get(),
                        settingsDialogs_[2].get(), settingsDialogs_[3].get()});
}

CCustomSettingsDlg* CVKT02Doc::ActiveSettingsDialog() const {
    SettingsDialogLink* active = connection_.ActiveSettingsDialog();
    for (const auto& dialog : settingsDialogs_)
        if (dialog && static_cast<SettingsDialogLink*>(dialog.get()) == active)
            return dialog.get();
    return nullptr;
}

void CVKT02Doc::OnTick() {
    // A tick that comes while a sequence drains the queue between its requests is
    // skipped: the panel must not talk to the sensor in the middle of it. A dialog that
    // only waits for the user has released the guard, so the live values go on.
    if (exchanges_.Held() || !view_)
        return;
    // A lost port fails every poll at once; a dialog waiting for the user holds the
    // consequences back until it closes, and until then the panel does not ask.
    if (connection_.PortLost()) {
        DropLostPort();
        return;
    }
    {
        ExchangeGuard::Hold hold(exchanges_);
        view_->UpdatePanel();
    }
    DropLostPort();
}

bool CVKT02Doc::DropLostPort() {
    if (commandDepth_ > 0 || !connection_.PortLost())
        return false;
    CommandScope scope(*this);
    const QString text = QString::fromStdString(connection_.PortLostText());
    connection_.DropLostPort();
    emit portLost(text);
    return true;
}

void CVKT02Doc::AnnounceChange() {
    // A command announces what it changed once, when it ends.
    if (commandDepth_ == 0)
        emit connectionChanged();
}

// --- commands ----------------------------------------------------------------------

void CVKT02Doc::Connect() {
    CommandScope scope(*this);
    connection_.Connect();
}

void CVKT02Doc::FindSensors() {
    searchFirst_ = true;
    Connect();
    searchFirst_ = false;
}

void CVKT02Doc::Disconnect() {
    CommandScope scope(*this);
    connection_.Disconnect();
}

void CVKT02Doc::ChangeSensorAddress() {
    CommandScope scope(*this);
    connection_.ChangeSensorAddress();
}

void CVKT02Doc::ChangeBaudRate() {
    CommandScope scope(*this);
    connection_.ChangeBaudRate();
}

void CVKT02Doc::SelectCheckMethod(CheckMethod method) {
    CommandScope scope(*this);
    connection_.SelectCheckMethod(method);
}

void CVKT02Doc::ResetToDefaults() {
    CommandScope scope(*this);
    connection_.ResetToDefaults();
}

void CVKT02Doc::ResetSensor() {
    CommandScope scope(*this);
    connection_.Sensor().ResetSensor();
}

void CVKT02Doc::ShowSensorSettings() {
    CommandScope scope(*this);
    CCustomSettingsDlg* dialog = ActiveSettingsDialog();
    if (!dialog)
        return;
    // Each of its buttons holds the guard while it talks to the sensor.
    WaitForUser(*dialog);
    PostRefreshSensorBar();
}

void CVKT02Doc::ShowSerialAndModel() {
    CommandScope scope(*this);
    CSerialAndModelDlg dialog(*this, dialogParent_);
    WaitForUser(dialog);
    PostRefreshSensorBar();
}

void CVKT02Doc::ShowUpload() {
    CommandScope scope(*this);
    CVkUploadDlg dialog(*this, uploader_, dialogParent_);
    WaitForUser(dialog);
}

void CVKT02Doc::ReloadSettings() {
    CommandScope scope(*this);
    connection_.ReloadSettings();
}

void CVKT02Doc::Close() {
    connection_.Close();
}

// --- PanelContext and LogSink ------------------------------------------------------

std::string CVKT02Doc::FormatRange(std::uint16_t raw) const {
    return vk::FormatRange(connection_.Model(), connection_.Sensor().Replies(), raw);
}

RangeReading CVKT02Doc::ReadRange(std::uint16_t raw) const {
    const ModelType model = connection_.Model();
    return vk::ReadRange(model, RangeModeInForce(model, connection_.Sensor().Replies()), raw);
}

void CVKT02Doc::LogMessage(const char* text, LogIcon icon) {
    log_.LogMessage(text, icon);
}

} // namespace vk
