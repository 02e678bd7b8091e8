// The document's answers to the connection's questions: the utility's dialogs, the
// view and the queued refresh of the "System:" bar. While a dialog waits for the user
// the refresh ticks run, although the command that asks holds the exchange guard.
#include "util_app/address_dialog.h"
#include "util_app/baud_rate_dialog.h"
#include "util_app/connect_dialog.h"
#include "util_app/connect_fields.h"
#include "util_app/document.h"
#include "util_app/find_sensors_dialog.h"
#include "util_app/last_connection.h"
#include "util_app/port_descriptions.h"
#include "util_app/profile.h"
#include "util_app/user_prompts.h"
#include "util_app/view.h"

#include <utility>

namespace vk {

int CVKT02Doc::WaitForUser(QDialog& dialog) {
    ExchangeGuard::Release waiting(exchanges_);
    return dialog.exec();
}

bool CVKT02Doc::AskConnectSettings(ConnectSettings& settings) {
    CConnectDialog dialog(prompts_, DescribedComDevices(), dialogParent_);
    dialog.AddPortEntry(profile_->ReadText("Settings", "network port"));
    if (std::exchange(searchFirst_, false)) {
        // A search asked for from the menu starts where the sensor was last time.
        if (const std::optional<std::string> last = LastPortName(*profile_)) {
            settings.portName = *last;
            settings.portNumber = PortNumberFromName(*last);
        }
        dialog.FindSensorsWhenShown();
    }
    dialog.SetSettings(settings);
    dialog.SetSensorFinder(
        [this, &dialog](const std::string& port) { return SearchPort(port, &dialog); });
    if (WaitForUser(dialog) != QDialog::Accepted)
        return false;
    settings = dialog.settings();
    return true;
}

std::optional<ConnectSettings> CVKT02Doc::SearchPort(const std::string& port, QWidget* parent) {
    // The Connect dialog is shown only while disconnected, so no tick polls and the
    // document's link is closed; the search opens the port itself. The hold keeps any
    // tick off the line all the same for as long as the search may run.
    ExchangeGuard::Hold hold(exchanges_);
    CFindSensorsDlg dialog(
        port, DescribedComDevices(),
        [this](const std::string& searched) { return LastPlaces(*profile_, searched); }, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

bool CVKT02Doc::AskBaudRate(std::int32_t& baudRate) {
    CBoudRateDialog dialog(baudRate, dialogParent_);
    if (WaitForUser(dialog) != QDialog::Accepted)
        return false;
    baudRate = dialog.baudRate();
    return true;
}

bool CVKT02Doc::AskAddress(const std::string& serial8, std::uint8_t& address) {
    CAddressDialog dialog(prompts_, serial8, address, dialogParent_);
    if (WaitForUser(dialog) != QDialog::Accepted)
        return false;
    address = dialog.address();
    return true;
}

bool CVKT02Doc::AskYesNo(const char* question) {
    return modalPrompts_.AskYesNo(dialogParent_, QString::fromUtf8(question));
}

void CVKT02Doc::ShowModelPanel(ModelType type) {
    if (view_)
        view_->ShowModelPanel(type);
}

void CVKT02Doc::ShowNotConnected() {
    if (view_)
        view_->ShowNotConnected();
    AnnounceChange();
}

void CVKT02Doc::UpdateAllViews() {
    if (view_)
        view_->UpdatePanel();
    AnnounceChange();
}

void CVKT02Doc::PostRefreshSensorBar() {
    QMetaObject::invokeMethod(
        this, [this] { emit sensorBarRefreshRequested(); }, Qt::QueuedConnection);
}

} // namespace vk
