#pragma once
// CConnectDialog ("Connect"): port, line settings, sensor address and time-outs of a
// new connection. Preset it with settings(), show it, and on OK read settings().

#include "link/port_names.h"
#include "sensor/connection_host.h"

#include <QDialog>

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

    bool GlobalAddress() const { return global_; }
    bool Expanded() const { return expanded_; }

    void accept() override;

private:
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

    bool global_ = false;
    bool expanded_ = true;
    int addressValue_ = 1;
    ConnectSettings result_;
};

} // namespace vk
