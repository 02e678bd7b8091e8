#include "util_app/connect_dialog.h"

#include "panels/number_text.h"
#include "util_app/buddy_label.h"
#include "util_app/connect_fields.h"
#include "util_app/dialog_buttons.h"
#include "util_app/port_list_box.h"
#include "util_app/up_down_edit.h"
#include "util_app/user_prompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

namespace vk {

namespace {

const char* const kGlobalWarning = "* Use of a global address may cause not proper command "
                                   "execution if multiple sensors are connected.";

QComboBox* DropDown(QWidget* parent, const char* name, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    return box;
}

QStringList BaudRateItems() {
    QStringList items;
    for (std::int32_t rate : kBaudRates)
        items << QString::number(rate);
    return items;
}

QStringList ParityItems() {
    QStringList items;
    for (const char* name : kParityNames)
        items << QString::fromLatin1(name);
    return items;
}

QLineEdit* NumberEdit(QWidget* parent, const char* name) {
    QLineEdit* edit = NewDigitsEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

} // namespace

CConnectDialog::CConnectDialog(UserPrompts& prompts, const std::vector<ComDevice>& devices,
                               QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setWindowTitle(QStringLiteral("Connect"));

    port_ = NewPortListBox(devices, this);
    baud_ = DropDown(this, "baudRate", BaudRateItems());
    stopBits_ = DropDown(this, "stopBits", {"1", "1.5", "2"});
    parityOn_ = new QCheckBox(QStringLiteral("Parity"), this);
    parityOn_->setObjectName(QStringLiteral("parityOn"));
    parity_ = DropDown(this, "parity", ParityItems());
    NameAfterButton(parity_, parityOn_);
    dataBits_ = DropDown(this, "dataBits", {"8", "7", "6", "5", "4"});

    address_ = new UpDownEdit(NewDigitsEdit(), this);
    address_->setObjectName(QStringLiteral("addressUpDown"));
    address_->Edit()->setObjectName(QStringLiteral("address"));
    globalBox_ = new QCheckBox(QStringLiteral("Use global address"), this);
    globalBox_->setObjectName(QStringLiteral("useGlobalAddress"));
    globalWarning_ = new QLabel(QString::fromLatin1(kGlobalWarning), this);
    globalWarning_->setObjectName(QStringLiteral("globalWarning"));
    globalWarning_->setWordWrap(true);

    readTimeout_ = NumberEdit(this, "readTimeout");
    writeTimeout_ = NumberEdit(this, "writeTimeout");
    advanced_ = new QPushButton(this);
    advanced_->setObjectName(QStringLiteral("advanced"));
    find_ = NamedButton("Find Sensors...", "findSensors", this);
    find_->setVisible(false);

    // Line settings.
    auto* portGroup = new QGroupBox(QStringLiteral("Port:"), this);
    auto* portForm = new QGridLayout(portGroup);
    portForm->addWidget(BuddyLabel(QStringLiteral("Name:"), port_, portGroup), 0, 0);
    portForm->addWidget(port_, 0, 1);
    portForm->addWidget(BuddyLabel(QStringLiteral("Boudrate:"), baud_, portGroup), 1, 0);
    portForm->addWidget(baud_, 1, 1);
    portForm->addWidget(BuddyLabel(QStringLiteral("Stop bit:"), stopBits_, portGroup), 2, 0);
    portForm->addWidget(stopBits_, 2, 1);
    portForm->addWidget(parityOn_, 3, 0);
    portForm->addWidget(parity_, 3, 1);
    portForm->addWidget(BuddyLabel(QStringLiteral("Num bits:"), dataBits_, portGroup), 4, 0);
    portForm->addWidget(dataBits_, 4, 1);

    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(BuddyLabel(QStringLiteral("Sensor address:"), address_, this));
    addressRow->addWidget(address_);
    addressRow->addWidget(globalBox_);

    timeouts_ = new QGroupBox(QStringLiteral("Communication timeouts:"), this);
    timeouts_->setObjectName(QStringLiteral("timeouts"));
    auto* timeoutForm = new QFormLayout(timeouts_);
    timeoutForm->addRow(QStringLiteral("Read multiplier:"), readTimeout_);
    timeoutForm->addRow(QStringLiteral("Write multiplier:"), writeTimeout_);

    QDialogButtonBox* buttons = OkCancelButtons(this, "Ok");
    buttons->addButton(advanced_, QDialogButtonBox::ActionRole);
    buttons->addButton(find_, QDialogButtonBox::ActionRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(portGroup);
    layout->addLayout(addressRow);
    layout->addWidget(globalWarning_);
    layout->addWidget(buttons);
    layout->addWidget(timeouts_);
    // The dialog grows and shrinks with what it shows, as when "Advanced" moves its edge.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(advanced_, &QPushButton::clicked, this, &CConnectDialog::ToggleAdvanced);
    connect(find_, &QPushButton::clicked, this, &CConnectDialog::FindSensors);
    connect(parityOn_, &QCheckBox::clicked, this, &CConnectDialog::ToggleParity);
    connect(globalBox_, &QCheckBox::clicked, this, &CConnectDialog::ToggleGlobalAddress);
    connect(address_->Edit(), &QLineEdit::editingFinished, this,
            &CConnectDialog::AddressEditingFinished);

    // Dialog defaults, then the caller's usual preset.
    stopBits_->setCurrentIndex(0);
    parity_->setCurrentIndex(2);
    parity_->setEnabled(false);
    dataBits_->setCurrentIndex(0);
    globalWarning_->setVisible(false);
    SetSettings(ConnectSettings{});
    SetExpanded(false);
}

void CConnectDialog::SetSettings(const ConnectSettings& preset) {
    port_->setEditText(QString::fromStdString(preset.portName));
    baud_->setCurrentIndex(ConnectBaudIndex(preset.baudRate));
    readTimeout_->setText(QString::number(preset.readTimeoutMs));
    writeTimeout_->setText(QString::number(preset.writeTimeoutMs));
    addressValue_ = preset.address;
    address_->Edit()->setText(QString::number(preset.address));
    if (preset.address == 0) {
        // Opening on the global address shows the choice but not yet the warning.
        EnterGlobal(false);
    } else if (global_) {
        LeaveGlobal();
    } else {
        address_->SetRange(1, 255);
    }
    result_ = preset;
}

void CConnectDialog::AddPortEntry(const std::string& name) {
    const QString entry = QString::fromStdString(name);
    if (!entry.isEmpty() && port_->findText(entry) < 0)
        port_->addItem(entry);
}

void CConnectDialog::ToggleAdvanced() {
    SetExpanded(!expanded_);
}

void CConnectDialog::SetExpanded(bool expanded) {
    expanded_ = expanded;
    timeouts_->setVisible(expanded);
    advanced_->setText(expanded ? QStringLiteral("<< Advanced") : QStringLiteral("Advanced >>"));
}

void CConnectDialog::ToggleParity() {
    parity_->setEnabled(parityOn_->isChecked());
}

void CConnectDialog::ToggleGlobalAddress() {
    if (global_)
        LeaveGlobal();
    else
        EnterGlobal(true);
}

void CConnectDialog::EnterGlobal(bool showWarning) {
    if (showWarning)
        globalWarning_->setVisible(true);
    address_->Edit()->setEnabled(false);
    address_->Edit()->setText(QStringLiteral("0"));
    address_->SetRange(0, 0);
    globalBox_->setChecked(true);
    global_ = true;
}

void CConnectDialog::LeaveGlobal() {
    global_ = false;
    address_->Edit()->setEnabled(true);
    if (addressValue_ == 0)
        addressValue_ = 1;
    address_->Edit()->setText(QString::number(addressValue_));
    address_->SetRange(1, 255);
    globalBox_->setChecked(false);
    globalWarning_->setVisible(false);
}

void CConnectDialog::AddressEditingFinished() {
    const std::string text = address_->Edit()->text().toStdString();
    // Only a typed zero chooses every sensor on the line; an emptied field does not.
    if (text.find_first_not_of(' ') == std::string::npos)
        return;
    const std::int64_t typed = TextAsInteger(text);
    if (typed != 0)
        addressValue_ = static_cast<int>(std::min<std::int64_t>(typed, INT_MAX));
    else if (!global_)
        EnterGlobal(true);
}

bool CConnectDialog::Validate(ConnectSettings& out) {
    std::optional<std::uint8_t> address = ParseAddress(address_->Edit()->text().toStdString());
    if (!address) {
        prompts_.Warn(this, QString::fromLatin1(kAddressRefusal));
        address_->Edit()->setFocus();
        address_->Edit()->selectAll();
        return false;
    }
    for (QLineEdit* edit : {readTimeout_, writeTimeout_}) {
        if (!ParseTimeout(edit->text().toStdString())) {
            prompts_.Warn(this, QString::fromLatin1(kTimeoutRefusal));
            if (!expanded_)
                SetExpanded(true); // the field in question must be seen to be fixed
            edit->setFocus();
            edit->selectAll();
            return false;
        }
    }
    const std::string portText = port_->currentText().trimmed().toStdString();
    out.portNumber = ComPortNumber(portText);
    out.portName = PortNameOfEntry(portText);
    out.baudRate = BaudFromIndex(baud_->currentIndex());
    out.parity = ParityCodeFromIndex(parityOn_->isChecked(), parity_->currentIndex());
    out.stopBits = StopBitsFromIndex(stopBits_->currentIndex());
    out.dataBits = DataBitsFromIndex(dataBits_->currentIndex());
    out.address = *address;
    out.readTimeoutMs = *ParseTimeout(readTimeout_->text().toStdString());
    out.writeTimeoutMs = *ParseTimeout(writeTimeout_->text().toStdString());
    return true;
}

void CConnectDialog::accept() {
    ConnectSettings settings = result_;
    // A method found for these fields holds only for the confirmation that follows.
    settings.checkMethod = std::exchange(foundMethod_, std::nullopt);
    if (!Validate(settings))
        return;
    addressValue_ = settings.address;
    result_ = settings;
    QDialog::accept();
}

void CConnectDialog::SetSensorFinder(SensorFinder finder) {
    finder_ = std::move(finder);
    find_->setVisible(static_cast<bool>(finder_));
}

void CConnectDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (std::exchange(findWhenShown_, false))
        QTimer::singleShot(0, this, &CConnectDialog::FindSensors);
}

void CConnectDialog::FindSensors() {
    if (!finder_)
        return;
    const std::optional<ConnectSettings> found =
        finder_(PortNameOfEntry(port_->currentText().trimmed().toStdString()));
    if (!found)
        return;
    port_->setEditText(QString::fromStdString(found->portName));
    baud_->setCurrentIndex(ConnectBaudIndex(found->baudRate));
    if (global_)
        LeaveGlobal();
    addressValue_ = found->address;
    address_->Edit()->setText(QString::number(found->address));
    foundMethod_ = found->checkMethod;
    accept();
}

} // namespace vk
