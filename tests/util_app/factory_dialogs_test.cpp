// The factory's two dialogs in the running utility (manufacturing mode) against a
// simulated VKT02: uploads with their refusals, faults and locked controls, and the
// serial number and model name written and read back.
#include "util_test_support.h"

#include "link/xmodem_sender.h"
#include "util_app/docking_bars.h"
#include "util_app/document.h"
#include "util_app/frame.h"
#include "util_app/sensor_info.h"
#include "util_app/serial_model_dialog.h"
#include "util_app/upload_dialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <filesystem>
#include <fstream>

namespace vk::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr CheckMethod kSum = CheckMethod::Checksum;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

template <typename T> T* Child(const QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

class FactoryDialogsTest : public UtilTest {
protected:
    void SetUp() override {
        Start({"-QXV"});
        ASSERT_TRUE(ConnectQuiet("VKT02"));
    }
    // A file of `size` bytes in the test's private folder.
    QString WriteFile(const char* name, std::size_t size, Bytes* contents = nullptr) {
        const std::string path = (std::filesystem::path(profile.Path()) / name).string();
        Bytes bytes(size);
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 253);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        if (contents)
            *contents = bytes;
        return QString::fromStdString(path);
    }
    static void Press(const QWidget& dialog, const char* name) {
        Child<QPushButton>(dialog, name)->click();
    }
    void ExpectLocked() {
        const sim::SensorState s = line->Snapshot(1);
        EXPECT_EQ(s.flash.protect1, 0);
        EXPECT_EQ(s.flash.protect2, 0);
    }
    std::string SystemRow(const char* name) const {
        const QTableWidget* list = Frame().SensorBar()->Info()->SensorList();
        for (int row = 0; row < list->rowCount(); ++row)
            if (list->item(row, 0)->text() == QLatin1String(name))
                return list->item(row, 1)->text().toStdString();
        return "(no row)";
    }
};

TEST_F(FactoryDialogsTest, UploadChecksItsInputStreamsWithControlsLockedAndReportsFaults) {
    CVkUploadDlg dialog(Doc(), Doc().Uploader(), &Frame());
    dialog.show();
    auto* status = Child<QLineEdit>(dialog, "status");
    auto* type = Child<QComboBox>(dialog, "type");
    EXPECT_EQ(type->currentIndex(), -1);

    // Refusals that send nothing.
    Press(dialog, "upload");
    EXPECT_EQ(status->text(), "Invalid type selection");
    type->setCurrentIndex(0);
    Press(dialog, "upload"); // never browsed: no file
    EXPECT_EQ(status->text(), "Error reading file");
    const QString odd = WriteFile("odd.bin", 28001);
    prompts.openFileAnswers = {odd};
    Press(dialog, "browse");
    EXPECT_EQ(Child<QLineEdit>(dialog, "file")->text(), odd);
    Press(dialog, "upload"); // unusual size, declined
    EXPECT_EQ(prompts.shown,
              (std::vector<ScriptedPrompts::Shown>{
                  {"open", "Single point binary code file(*.bin) |  | bin"},
                  {"ask", "The file size is unusual for the type of upload you are trying to "
                          "do. Continue anyway? "}}));
    EXPECT_EQ(status->text(), "Error reading file");
    EXPECT_TRUE(Sent().empty());

    // A whole FPGA image; while it goes out the controls are locked and the window stays.
    Bytes image;
    prompts.openFileAnswers = {WriteFile("fpga.bin", 28000, &image)};
    Press(dialog, "browse");
    // Browse starts at the file chosen before.
    EXPECT_EQ(prompts.shown.back().text,
              "Single point binary code file(*.bin) | " + odd.toStdString() + " | bin");
    std::vector<bool> enabledDuring;
    bool visibleDuring = false;
    QString statusDuring;
    QTimer::singleShot(0, &dialog, [&] {
        for (const char* name : {"upload", "browse", "type", "close"})
            enabledDuring.push_back(Child<QWidget>(dialog, name)->isEnabled());
        dialog.close();
        dialog.reject();
        visibleDuring = dialog.isVisible();
        statusDuring = status->text();
    });
    Press(dialog, "upload");
    EXPECT_EQ(enabledDuring, std::vector<bool>(4, false));
    EXPECT_TRUE(visibleDuring);
    EXPECT_TRUE(statusDuring.startsWith(QStringLiteral("Sent "))) << statusDuring.toStdString();
    EXPECT_EQ(status->text(), "Successfully completed");
    EXPECT_EQ(Child<QProgressBar>(dialog, "progress")->value(), 99);
    // The sensor keeps whole blocks: the last one is filled with copies of the last byte.
    EXPECT_EQ(line->Snapshot(1).flash.Image(sim::UploadKind::Fpga),
              image + Bytes(32, image.back()));
    ExpectLocked();

    // A sensor that stops answering after the first block.
    Doc().Uploader().SetByteWaitMs(100); // the fault is under test, not the 2 s wait
    line->InjectReceiverFault(1, {sim::ReceiverFaultKind::Silence, 2});
    type->setCurrentIndex(2);
    prompts.openFileAnswers = {WriteFile("table.cal", 300)};
    Press(dialog, "browse");
    Press(dialog, "upload");
    EXPECT_EQ(status->text(), "Error occurred.Code 2");
    ExpectLocked();
    for (const char* name : {"upload", "browse", "type", "close"})
        EXPECT_TRUE(Child<QWidget>(dialog, name)->isEnabled()) << name;
    Press(dialog, "close");
    EXPECT_FALSE(dialog.isVisible());

    // The menu item opens the dialog.
    WhenModal close([](QWidget* modal) {
        if (!dynamic_cast<CVkUploadDlg*>(modal))
            return false;
        static_cast<QDialog*>(modal)->reject();
        return true;
    });
    ASSERT_TRUE(Frame().RunCommand(CommandId::Upload));
    EXPECT_TRUE(close.Done());
}

TEST_F(FactoryDialogsTest, SerialAndModelAreWrittenAndReadBack) {
    // From the menu: the sensor's values, read as the dialog opens.
    std::string shownModel, shownSerial;
    WhenModal look([&](QWidget* modal) {
        if (!dynamic_cast<CSerialAndModelDlg*>(modal))
            return false;
        shownModel = Child<QComboBox>(*modal, "modelList")->currentText().toStdString();
        shownSerial = Child<QLineEdit>(*modal, "serialNumber")->text().toStdString();
        static_cast<QDialog*>(modal)->accept();
        return true;
    });
    ASSERT_TRUE(Frame().RunCommand(CommandId::SerialAndModel));
    EXPECT_TRUE(look.Done());
    EXPECT_EQ(shownModel, "0 VKT-02 [VKT02]");
    EXPECT_EQ(shownSerial, "VK000001");
    EXPECT_EQ(Sent(), Frames(kSum, 1, {127, 128}));

    CSerialAndModelDlg dialog(Doc(), &Frame());
    dialog.show();
    Sent();
    auto* models = Child<QComboBox>(dialog, "modelList");
    auto* serial = Child<QLineEdit>(dialog, "serialNumber");
    ASSERT_EQ(models->count(), 14);
    EXPECT_EQ(models->itemText(0), "0 RMX2000 [Rmx Short]");
    EXPECT_EQ(models->itemText(3), "1 RMXLONG [Rmx Long]");
    EXPECT_EQ(models->itemText(8), "0 K4-D-4BF [VKT04 Vezir Orududu]");

    // No selection, nothing sent; a selection goes out and is read back.
    models->setCurrentIndex(-1);
    Press(dialog, "setModelName");
    EXPECT_TRUE(Sent().empty());
    models->setCurrentIndex(6);
    Press(dialog, "setModelName");
    Bytes text(16, 0);
    std::copy_n("0 K4-D-4", 8, text.begin());
    EXPECT_EQ(Sent(), sim::test::Frame(kSum, 1, 80, text) + Frames(kSum, 1, {127, 128}));
    EXPECT_EQ(models->currentText(), "0 K4-D-4 [VKT04]");

    // A serial number is cut to 15 characters; the System bar shows the new values.
    serial->setText(QStringLiteral("ABCDEFGHIJKLMNOPQR"));
    Press(dialog, "setSerialNumber");
    text.assign(16, 0);
    std::copy_n("ABCDEFGHIJKLMNO", 15, text.begin());
    EXPECT_EQ(Sent(), sim::test::Frame(kSum, 1, 81, text) + Frames(kSum, 1, {127, 128}));
    EXPECT_EQ(serial->text(), "ABCDEFGHIJKLMNO");
    QCoreApplication::processEvents();
    EXPECT_EQ(SystemRow("Serial number"), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(SystemRow("Model String:"), "0 K4-D-4");

    // A model string the utility does not know: its serial number, no selection. A
    // failed read: neither.
    line->Modify(1, [](sim::SensorState& s) { s.config.modelString = "0 NEW-MODEL"; });
    Press(dialog, "refresh");
    EXPECT_EQ(models->currentIndex(), -1);
    EXPECT_EQ(serial->text(), "ABCDEFGHIJKLMNO");
    line->InjectFault(1, {sim::FaultKind::Silence});
    Press(dialog, "refresh");
    EXPECT_EQ(models->currentIndex(), -1);
    EXPECT_TRUE(serial->text().isEmpty());
    EXPECT_TRUE(dialog.isVisible());
}

} // namespace
} // namespace vk::test
