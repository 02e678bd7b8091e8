// The Connect, address and baud-rate dialogs as a user works them.
#include "util_test_support.h"

#include "util_app/address_dialog.h"
#include "util_app/baud_rate_dialog.h"
#include "util_app/connect_dialog.h"
#include "util_app/connect_fields.h"
#include "util_app/up_down_edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <set>

namespace vk::test {
namespace {

class ConnectDialogTest : public ::testing::Test {
protected:
    ConnectDialogTest() {
        EnsureApplication();
        dialog = std::make_unique<CConnectDialog>(prompts, devices);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    template <typename T> T* Child(const char* name) const {
        T* child = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    // OK, and the dialog back on the screen for the next step.
    void Confirm() {
        dialog->accept();
        if (!dialog->isVisible()) {
            dialog->show();
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        }
    }
    QLineEdit* Address() const { return Child<QLineEdit>("address"); }
    UpDownEdit* AddressUpDown() const { return Child<UpDownEdit>("addressUpDown"); }
    QLabel* Warning() const { return Child<QLabel>("globalWarning"); }
    // Types into the address field and moves the focus on, as a user tabbing out.
    void TypeAddressAndLeave(const char* text) {
        Address()->setFocus();
        Address()->selectAll();
        QTest::keyClicks(Address(), QString::fromLatin1(text));
        Child<QComboBox>("portName")->setFocus();
    }

    ScriptedPrompts prompts;
    std::vector<ComDevice> devices;
    std::unique_ptr<CConnectDialog> dialog;
};

TEST_F(ConnectDialogTest, OpensCollapsedWithTheDefaults) {
    auto* advanced = Child<QPushButton>("advanced");
    EXPECT_EQ(advanced->text(), "Advanced >>");
    EXPECT_FALSE(Child<QGroupBox>("timeouts")->isVisible());
    const int collapsedHeight = dialog->height();
    QTest::mouseClick(advanced, Qt::LeftButton);
    EXPECT_EQ(advanced->text(), "<< Advanced");
    EXPECT_TRUE(Child<QGroupBox>("timeouts")->isVisible());
    dialog->adjustSize();
    EXPECT_GT(dialog->height(), collapsedHeight);
    QTest::mouseClick(advanced, Qt::LeftButton);
    EXPECT_EQ(advanced->text(), "Advanced >>");

    EXPECT_EQ(Child<QComboBox>("portName")->currentText(), "COM1");
    EXPECT_EQ(Child<QComboBox>("baudRate")->currentText(), "57600");
    EXPECT_EQ(Address()->text(), "1");
    EXPECT_EQ(AddressUpDown()->Minimum(), 1);
    EXPECT_EQ(AddressUpDown()->Maximum(), 255);
    EXPECT_EQ(Child<QLineEdit>("readTimeout")->text(), "100");
    EXPECT_FALSE(Warning()->isVisible());

    dialog->accept();
    const ConnectSettings s = dialog->settings();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(s.portNumber, 1);
    EXPECT_EQ(s.baudRate, 57600);
    EXPECT_EQ(s.parity, 0);
    EXPECT_EQ(s.stopBits, 0);
    EXPECT_EQ(s.dataBits, 8);
    EXPECT_EQ(s.address, 1);
    EXPECT_EQ(s.readTimeoutMs, 100u);
    EXPECT_EQ(s.writeTimeoutMs, 100u);
}

TEST_F(ConnectDialogTest, ParityListWorksOnlyWhileParityIsChecked) {
    auto* parity = Child<QComboBox>("parity");
    auto* parityOn = Child<QCheckBox>("parityOn");
    EXPECT_FALSE(parity->isEnabled());
    EXPECT_EQ(parity->currentText(), "No Parity");
    parity->setCurrentIndex(3); // "Odd", chosen while the list is off
    Confirm();
    EXPECT_EQ(dialog->settings().parity, 0);

    parityOn->click();
    EXPECT_TRUE(parity->isEnabled());
    Confirm();
    EXPECT_EQ(dialog->settings().parity, 1);
    parity->setCurrentIndex(1); // "Mark"
    Child<QComboBox>("stopBits")->setCurrentIndex(2);
    Child<QComboBox>("dataBits")->setCurrentIndex(1);
    Child<QComboBox>("baudRate")->setCurrentIndex(0);
    Confirm();
    EXPECT_EQ(dialog->settings().parity, 3);
    EXPECT_EQ(dialog->settings().stopBits, 2);
    EXPECT_EQ(dialog->settings().dataBits, 7);
    EXPECT_EQ(dialog->settings().baudRate, 9600);

    parityOn->click();
    EXPECT_FALSE(parity->isEnabled());
}

TEST_F(ConnectDialogTest, ZeroSwitchesToTheGlobalAddressAndUncheckingRestoresOne) {
    TypeAddressAndLeave("0");
    EXPECT_TRUE(dialog->GlobalAddress());
    EXPECT_TRUE(Warning()->isVisible());
    EXPECT_FALSE(Address()->isEnabled());
    EXPECT_EQ(Address()->text(), "0");
    EXPECT_TRUE(Child<QCheckBox>("useGlobalAddress")->isChecked());
    EXPECT_EQ(AddressUpDown()->Maximum(), 0);
    Confirm();
    EXPECT_EQ(dialog->settings().address, 0);
    Child<QCheckBox>("useGlobalAddress")->click();
    EXPECT_FALSE(dialog->GlobalAddress());
    EXPECT_FALSE(Warning()->isVisible());
    EXPECT_TRUE(Address()->isEnabled());
    EXPECT_EQ(Address()->text(), "1");
    EXPECT_EQ(AddressUpDown()->Minimum(), 1);
    EXPECT_EQ(AddressUpDown()->Maximum(), 255);

    // A non-zero number is kept, and the arrows stay inside the range.
    TypeAddressAndLeave("7");
    EXPECT_FALSE(dialog->GlobalAddress());
    AddressUpDown()->StepBy(300);
    EXPECT_EQ(Address()->text(), "255");
    Address()->setText(QStringLiteral("9999999999")); // more than an int holds
    AddressUpDown()->StepBy(-1);
    EXPECT_EQ(Address()->text(), "254");
    Child<QCheckBox>("useGlobalAddress")->click();
    EXPECT_TRUE(dialog->GlobalAddress());
    Child<QCheckBox>("useGlobalAddress")->click();
    EXPECT_EQ(Address()->text(), "7"); // the address before the global one comes back
}

TEST_F(ConnectDialogTest, AnEmptiedAddressDoesNotSwitchToTheGlobalAddress) {
    TypeAddressAndLeave("9");
    QSignalSpy finished(Address(), &QLineEdit::editingFinished);
    Address()->setFocus();
    Address()->selectAll();
    QTest::keyClick(Address(), Qt::Key_Backspace);
    Child<QComboBox>("portName")->setFocus();
    ASSERT_EQ(finished.count(), 1); // the dialog did see the field being left empty
    EXPECT_EQ(Address()->text(), "");
    EXPECT_FALSE(dialog->GlobalAddress());
    EXPECT_FALSE(Warning()->isVisible());
    EXPECT_TRUE(Address()->isEnabled());
    EXPECT_FALSE(Child<QCheckBox>("useGlobalAddress")->isChecked());

    // Only a typed 0 does.
    TypeAddressAndLeave("0");
    EXPECT_TRUE(dialog->GlobalAddress());
    EXPECT_TRUE(Warning()->isVisible());
}

TEST_F(ConnectDialogTest, BadInputIsRefusedAndTheDialogStaysOpen) {
    TypeAddressAndLeave("300");
    dialog->accept();
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0],
              (ScriptedPrompts::Shown{"warn", "Please enter an integer between 0 and 255."}));

    TypeAddressAndLeave("3");
    Child<QLineEdit>("readTimeout")->setText(QStringLiteral("abc"));
    dialog->accept();
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[1],
              (ScriptedPrompts::Shown{"warn", "Please enter a positive integer."}));
    EXPECT_TRUE(dialog->Expanded()); // the field to fix is shown

    Child<QLineEdit>("readTimeout")->setText(QStringLiteral("250"));
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->settings().address, 3);
    EXPECT_EQ(dialog->settings().readTimeoutMs, 250u);
}

TEST_F(ConnectDialogTest, PortNamesConvertToPortNumbers) {
    auto* port = Child<QComboBox>("portName");
    port->setEditText(QStringLiteral("COM12"));
    dialog->accept();
    EXPECT_EQ(dialog->settings().portNumber, 12);
    EXPECT_EQ(dialog->settings().portName, "COM12");
    port->setEditText(QStringLiteral("USB1"));
    dialog->accept();
    EXPECT_EQ(dialog->settings().portNumber, -1);
    port->setEditText(QStringLiteral("/dev/ttyUSB0"));
    dialog->accept();
    EXPECT_EQ(dialog->settings().portName, "/dev/ttyUSB0");
}

TEST(ConnectDialogPorts, ListsEveryDeviceUnderACom) {
    EnsureApplication();
    sim::test::ScopedPortDir dir;
    std::filesystem::create_symlink("/dev/null", dir.Path() + "/COM12");
    ScriptedPrompts prompts;
    CConnectDialog dialog(prompts, ListComDevices());
    auto* port = dialog.findChild<QComboBox*>(QStringLiteral("portName"));
    const std::vector<ComDevice> listed = ListComDevices();
    auto com12 = std::find_if(listed.begin(), listed.end(),
                              [](const ComDevice& d) { return d.number == 12; });
    ASSERT_NE(com12, listed.end());
    const int entry = port->findText(QString::fromStdString(ComDeviceLabel(*com12)));
    ASSERT_GE(entry, 4);
    // One entry per name, COM1 to COM4 first whether or not their devices exist.
    std::set<int> numbers;
    for (int i = 0; i < port->count(); ++i)
        EXPECT_TRUE(numbers.insert(PortNumberFromName(port->itemText(i).toStdString())).second)
            << port->itemText(i).toStdString();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(PortNumberFromName(port->itemText(i).toStdString()), i + 1);
    port->setCurrentIndex(entry);
    dialog.accept();
    EXPECT_EQ(dialog.settings().portNumber, 12);
}

TEST(ConnectDialogPreset, GlobalAddressPresetShowsZeroWithoutTheWarning) {
    EnsureApplication();
    ScriptedPrompts prompts;
    CConnectDialog dialog(prompts, {});
    ConnectSettings preset;
    preset.address = 0;
    preset.baudRate = 19200;
    dialog.SetSettings(preset);
    EXPECT_TRUE(dialog.GlobalAddress());
    EXPECT_FALSE(dialog.findChild<QLabel*>(QStringLiteral("globalWarning"))->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("baudRate"))->currentText(), "19200");
    dialog.accept();
    EXPECT_EQ(dialog.settings().address, 0);
}

TEST(AddressDialog, AcceptsZeroAndRefusesAnythingAbove255) {
    EnsureApplication();
    ScriptedPrompts prompts;
    CAddressDialog dialog(prompts, "VK000001", 5);
    EXPECT_EQ(dialog.windowTitle(), "Sensor Address");
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("serialNumber"))->text(), "VK000001");
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("address"));
    EXPECT_EQ(edit->text(), "5");
    edit->setText(QStringLiteral("300"));
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.address(), 5);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Please enter an integer between 0 and 255.");
    edit->setText(QStringLiteral("0"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.address(), 0);
}

TEST(BaudRateDialog, PresetAndChoice) {
    EnsureApplication();
    CBoudRateDialog unknown(115200);
    EXPECT_EQ(unknown.windowTitle(), "Sensor boudrate");
    EXPECT_EQ(unknown.baudRate(), 9600);
    CBoudRateDialog dialog(38400);
    auto* list = dialog.findChild<QComboBox*>(QStringLiteral("baudRate"));
    EXPECT_EQ(list->currentText(), "38400");
    list->setCurrentIndex(3);
    EXPECT_EQ(dialog.baudRate(), 57600);
}

} // namespace
} // namespace vk::test
