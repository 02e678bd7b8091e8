#pragma once
// The "       Connect     " page: port and baud lists, the address to talk to, global
// addressing and the Connect button. The Connect itself is the main form's.

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
};

} // namespace vk::legacy
