#pragma once
// CConnectDialog ("Connect"): port, line settings, sensor address and time-outs of a
// new connection. Preset it with settings(), show it, and on OK read settings().

#include "link/port_names.h"
#include "sensor/connection_host.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vk {

class UpDownEdit;
class UserPrompts;

class CConnectDialog : public QDialog {
public:
    // `prompts` shows the refusals of OK; `devices` adds one port entry each.
    CConnectDialog(UserPrompts& prompts, const std::vector<ComDevice>& devices,
                   QWidget* parent = nullptr);

    // Port name, baud rate, address and time-outs come from `preset`; the other fields
    // keep their defaults (one stop bit, parity off with "No Parity", 8 data bits).
    void SetSettings(const ConnectSettings& preset);
    // Adds `name` (a serial device server's port typed earlier) to the port list.
    void AddPortEntry(const std::string& name);
    // The confirmed fields converted for the port; valid after OK.
    ConnectSettings settings() const { return result_; }

    // Searches a port for sensors and hands back the one the user chose (port name, baud
    // rate, address, check method), or nothing.
    using SensorFinder = std::function<std::optional<ConnectSettings>(const std::string& port)>;
    // Shows "Find Sensors...", which runs `finder` on the chosen port; a sensor it hands
    // back fills the fields and confirms the dialog, so the connect goes to that sensor.
    void SetSensorFinder(SensorFinder finder);
    // Runs the finder as soon as the dialog shows.
    void FindSensorsWhenShown() { findWhenShown_ = true; }

    bool GlobalAddress() const { return global_; }
    bool Expanded() const { return expanded_; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FindSensors();
    void ToggleAdvanced();
    void SetExpanded(bool expanded);
    void ToggleParity();
    void ToggleGlobalAddress();
    void AddressEditingFinished();
    void EnterGlobal(bool showWarning);
    void LeaveGlobal();
    bool Validate(ConnectSettings& out);

    UserPrompts& prompts_;
    QComboBox* port_;
    QComboBox* baud_;
    QComboBox* stopBits_;
    QCheckBox* parityOn_;
    QComboBox* parity_;
    QComboBox* dataBits_;
    UpDownEdit* address_;
    QCheckBox* globalBox_;
    QLabel* globalWarning_;
    QGroupBox* timeouts_;
    QLineEdit* readTimeout_;
    QLineEdit* writeTimeout_;
    QPushButton* advanced_;
    QPushButton* find_;
    SensorFinder finder_;
    bool findWhenShown_ = false;
    std::optional<CheckMethod> foundMethod_; // of the sensor the finder chose

    bool global_ = false;
    bool expanded_ = true;
    int addressValue_ = 1;
    ConnectSettings result_;
};

} // namespace vk
