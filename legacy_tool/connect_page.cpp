#include "legacy_tool/connect_page.h"

#include "legacy_tool/key_filter_hook.h"
#include "util_app/buddy_label.h"
#include "util_app/port_descriptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vk::legacy {

namespace {

constexpr int kFixedPorts = 4;

// Each entry carries its COM number, so the settings file keeps the port, not the place
// an entry happened to have in the list.
void FillPortList(QComboBox* list) {
    for (int n = 1; n <= kFixedPorts; ++n)
        list->addItem(QString("COM%1").arg(n), n);
    for (const ComDevice& d : DescribedComDevices())
        list->addItem(QString::fromStdString(ComDeviceLabel(d)), d.number);
}

// A device plugged in while the tool runs shows up the next time the list opens.
class PortList : public QComboBox {
public:
    using QComboBox::QComboBox;

    void showPopup() override {
        QVariant port = currentData();
        clear();
        FillPortList(this);
        setCurrentIndex(port.isValid() ? findData(port) : -1);
        QComboBox::showPopup();
    }
};

} // namespace

ConnectPage::ConnectPage(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    cboPort = new PortList(this);
    cboPort->setObjectName("cboPort");
    FillPortList(cboPort);
    cboHostBaud = new QComboBox(this);
    cboHostBaud->setObjectName("cboHostBaud");
    cboHostBaud->addItems({"9600", "19200", "38400", "57600"});
    cboHostBaud->setCurrentIndex(3);
    editAddress = new QLineEdit("1", this);
    editAddress->setObjectName("editAddress");
    InstallLengthLimit(editAddress, 3);
    cbxGlobal = new QCheckBox("Use Global Address", this);
    cbxGlobal->setObjectName("cbxGlobal");
    lblWarning = new QLabel(this);
    lblWarning->setObjectName("lblWarning");
    lblWarning->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblWarning->setVisible(false);
    BtnConnect = new QPushButton("Connect", this);
    BtnConnect->setObjectName("BtnConnect");

    grid->addWidget(BuddyLabel("COM Port", cboPort), 0, 0);
    grid->addWidget(cboPort, 0, 1);
    grid->addWidget(BuddyLabel("Baud Rate", cboHostBaud), 1, 0);
    grid->addWidget(cboHostBaud, 1, 1);
    grid->addWidget(BuddyLabel("Address", editAddress), 2, 0);
    grid->addWidget(editAddress, 2, 1);
    grid->addWidget(cbxGlobal, 3, 1);
    grid->addWidget(lblWarning, 4, 0, 1, 2);
    grid->addWidget(BtnConnect, 5, 1);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(2, 1);

    InstallKeyFilter(editAddress, KeyFilter::Digits);
    InstallKeyFilter(cboPort, KeyFilter::NoKeys);
    InstallKeyFilter(cboHostBaud, KeyFilter::NoKeys);
    connect(cbxGlobal, &QCheckBox::toggled, this, &ConnectPage::cbxGlobalClick);
}

void ConnectPage::cbxGlobalClick() {
    lblWarning->setVisible(cbxGlobal->isChecked());
}

void ConnectPage::SelectPort(int port) {
    cboPort->setCurrentIndex(cboPort->findData(port));
}

int ConnectPage::SelectedPort() const {
    return cboPort->currentIndex() < 0 ? 0 : cboPort->currentData().toInt();
}

} // namespace vk::legacy
