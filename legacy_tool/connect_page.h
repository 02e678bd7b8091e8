#pragma once
// The "       Connect     " page: port and baud lists, the address to talk to, global
// addressing and the Connect button. The Connect itself is the main form's.
// The port list holds "COM1" to "COM4", then "COMn (device)" for every device that exists
// under a COM number; it looks again each time it opens.

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vk::legacy {

class ConnectPage : public QWidget {
public:
    explicit ConnectPage(QWidget* parent = nullptr);

    QComboBox* cboPort;
    QComboBox* cboHostBaud;
    QLineEdit* editAddress;
    QCheckBox* cbxGlobal;
    QLabel* lblWarning;
    QPushButton* BtnConnect;

    // Shows the warning while global addressing is checked.
    void cbxGlobalClick();

    // Selects the entry of COM `port`, a fixed entry before a device entry; no entry is
    // selected when the list has none for it.
    void SelectPort(int port);
    // The COM number of the selected entry; 0 when none is selected.
    int SelectedPort() const;
};

} // namespace vk::legacy
