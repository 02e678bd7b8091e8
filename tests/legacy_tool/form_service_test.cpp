// Service staff's side of the tool: the About dialog with its gesture and access codes,
// and the upload that service mode enables.

#include "legacy_test_support.h"
#include "legacy_tool/about_dialog.h"
#include "legacy_tool/sensor_settings_page.h"
#include "legacy_tool/upload_image.h"
#include "link/xmodem.h"
#include "sim/flash_state.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <functional>

namespace vk::legacy::test {
namespace {

constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;

class LegacyService : public FormFixture {
protected:
    // Shows the About dialog, runs `act` while it is up, and closes it with OK.
    void WithAbout(const std::function<void(TdlgAbout&)>& act) {
        TdlgAbout& dialog = form->AboutDialog();
        QTimer::singleShot(0, form.get(), [&] {
            act(dialog);
            dialog.findChild<QPushButton*>("btnOK")->click();
        });
        Click("btnAbout");
    }
    // Press and release on the upper panel with these modifiers, then a double click.
    static void Gesture(TdlgAbout& dialog, Qt::KeyboardModifiers press,
                        Qt::KeyboardModifiers release) {
        auto* panel = dialog.findChild<QWidget*>("Panel1");
        QTest::mousePress(panel, Qt::LeftButton, press);
        QTest::mouseRelease(panel, Qt::LeftButton, release);
        QPointF at(4, 4);
        QMouseEvent twice(QEvent::MouseButtonDblClick, at, panel->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, press);
        QApplication::sendEvent(panel, &twice);
        QTest::mouseRelease(panel, Qt::LeftButton, release);
    }
    static QLineEdit* Entry(TdlgAbout& dialog) {
        return dialog.findChild<QLineEdit*>("editPasswrod");
    }
    // Reveals the field and types `keys` into it.
    void Code(const QString& keys) {
        WithAbout([&](TdlgAbout& d) {
            Gesture(d, kShift, kShift);
            QTest::keyClicks(Entry(d), keys);
        });
    }
    bool ServiceControlsEnabled() const {
        // The page itself stays disabled until a Connect.
        bool all = true;
        for (const char* name : {"btnSerial", "cboUpload", "btnUpload", "cboModel", "btnModel"})
            all = all && Find(name)->isEnabledTo(&form->SettingsPage());
        return all;
    }
    std::string WriteFile(const std::string& name, std::size_t size) {
        std::string path = dir.Path() + "/" + name;
        std::ofstream out(path, std::ios::binary);
        for (std::size_t i = 0; i < size; ++i)
            out.put(static_cast<char>(i * 7 + i / 256));
        return path;
    }
    void Upload(int kind, const std::string& path, bool confirm = true) {
        form->SettingsPage().ApplyServiceMode(true);
        Find<QComboBox>("cboUpload")->setCurrentIndex(kind);
        prompts.files = {QString::fromStdString(path)};
        prompts.answers = {confirm};
        Click("btnUpload");
    }
};

TEST_F(LegacyService, AboutGestureAndCodes) {
    MakeForm();
    ASSERT_TRUE(Find("btnAbout")->isEnabled());
    WithAbout([](TdlgAbout& d) {
        EXPECT_EQ(d.findChild<QLabel*>("lblVersion")->text(), "Version 3.00");
        EXPECT_FALSE(Entry(d)->isVisible());
        Gesture(d, kShift, kNone); // Shift must be held on release as well
        EXPECT_FALSE(Entry(d)->isVisible());
        Gesture(d, kNone, kShift);
        EXPECT_FALSE(Entry(d)->isVisible());
    });
    EXPECT_FALSE(form->State().serviceMode);
    EXPECT_FALSE(ServiceControlsEnabled());

    // Refused keys never reach the code; backspace takes back the last character.
    WithAbout([](TdlgAbout& d) {
        Gesture(d, kShift, kShift);
        EXPECT_TRUE(Entry(d)->isVisible());
        EXPECT_TRUE(Entry(d)->hasFocus());
        QTest::keyClicks(Entry(d), "q-x zz");
        QTest::keyClick(Entry(d), Qt::Key_Backspace);
        // Delete (0x7F) neither goes into the code nor takes a "*" from the field.
        QTest::keyClick(Entry(d), Qt::Key_Home);
        QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7F)));
        QApplication::sendEvent(Entry(d), &del);
        EXPECT_EQ(Entry(d)->text(), "***");
        // Nor does a cut of the whole field leave it showing other than the code.
        QTest::keyClick(Entry(d), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(Entry(d), Qt::Key_X, Qt::ControlModifier);
        EXPECT_EQ(Entry(d)->text(), "***");
    });
    EXPECT_TRUE(form->State().serviceMode);
    EXPECT_FALSE(form->State().resetMode);
    EXPECT_TRUE(ServiceControlsEnabled());

    // Closing without the gesture keeps the code typed before.
    WithAbout([](TdlgAbout& d) {
        EXPECT_FALSE(Entry(d)->isVisible());
        EXPECT_TRUE(Entry(d)->text().isEmpty());
    });
    EXPECT_TRUE(ServiceControlsEnabled());

    Code("");
    EXPECT_FALSE(form->State().serviceMode);
    Code("QXZ");
    EXPECT_FALSE(ServiceControlsEnabled());
    Code("qxzpurge");
    EXPECT_TRUE(form->State().resetMode);
    EXPECT_FALSE(form->State().serviceMode);
    Code("qxz");
    EXPECT_FALSE(form->State().resetMode);
}

class LegacyUpload : public LegacyService, public ::testing::WithParamInterface<CheckMethod> {};

TEST_P(LegacyUpload, ImageArrivesWholeOverXModem) {
    MakeConnectedForm({sim::test::Sensor(1, "VKT02", GetParam())});
    m = GetParam();
    // 258 blocks: the 256th goes out numbered 0, the last holds one byte and 0xFF.
    std::string path = WriteFile("vk_rt.bin", 257 * 128 + 1);
    Upload(0, path);
    EXPECT_EQ(Status(), "Success!");
    EXPECT_FALSE(Find("ProgressBar1")->isVisible());
    std::ifstream in(path, std::ios::binary);
    Bytes expected((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    expected.resize(258 * 128, 0xFF);
    EXPECT_EQ(line->Snapshot(1).flash.Image(sim::UploadKind::Code), expected);

    Bytes opening =
        Cat({Req(kCmdWriteFlashProtect1, {0xAA}), Req(kCmdWriteFlashProtect2, {0x55}), Req(86)});
    Bytes sent = LineBytes();
    EXPECT_EQ(Bytes(sent.begin(), sent.begin() + static_cast<std::ptrdiff_t>(opening.size())),
              opening);
    EXPECT_EQ(prompts.lastFileDialog.filterIndex, 0);
    EXPECT_EQ(prompts.lastFileDialog.defaultSuffix, "bin");
    EXPECT_EQ(prompts.lastFileDialog.filters.value(0), "DSP File  (*rt*.bin)");
    EXPECT_EQ(prompts.shown.back().text, "Continue with Dsp Firmware upload?");
}

INSTANTIATE_TEST_SUITE_P(BothMethods, LegacyUpload,
                         ::testing::Values(CheckMethod::Checksum, CheckMethod::Crc16),
                         sim::test::MethodName);

TEST_F(LegacyService, ReceiverPromptsAreNoAnswersToTheFirstBlock) {
    MakeConnectedForm({sim::test::Sensor(1)});
    std::string path = WriteFile("vk_rt.bin", 4 * xmodem::kBlockData);
    std::ifstream in(path, std::ios::binary);
    const Bytes image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto block = [&](std::size_t j) {
        return XModemBlockFrame(j, image.data() + (j - 1) * xmodem::kBlockData);
    };
    const Bytes opening =
        Cat({Req(kCmdWriteFlashProtect1, {0xAA}), Req(kCmdWriteFlashProtect2, {0x55}), Req(86)});
    using Kind = sim::ReceiverFaultKind;
    struct Case {
        sim::ReceiverFault receiver;
        Bytes blocks; // what goes on the line after the opening
    };
    const Case cases[] = {
        // "C" at once: each block goes once.
        {{Kind::None, 1}, Cat({block(1), block(2), block(3), block(4), {xmodem::kEot}})},
        // Deaf for a second, then "C": block 1 is lost, waited for and sent again.
        {{Kind::LateStart, 1},
         Cat({block(1), block(1), block(2), block(3), block(4), {xmodem::kEot}})},
        // Block 3 NAKed twice goes three times; every answer belongs to its own block.
        {{Kind::NakTwice, 3},
         Cat({block(1), block(2), block(3), block(3), block(3), block(4), {xmodem::kEot}})},
    };
    for (const Case& c : cases) {
        LineBytes();
        line->InjectReceiverFault(1, c.receiver);
        Upload(0, path);
        EXPECT_EQ(Status(), "Success!");
        EXPECT_EQ(line->Snapshot(1).flash.Image(sim::UploadKind::Code), image);
        EXPECT_TRUE(line->WaitIdle(1000));
        EXPECT_EQ(LineBytes(), Cat({opening, c.blocks}));
    }
}

TEST_F(LegacyService, UploadRefusalsAndFailures) {
    MakeConnectedForm({sim::test::Sensor(1)});
    std::string fpga = WriteFile("top_fpga.bin", 300);
    constexpr int kFpga = 1;

    prompts.files.clear();
    form->SettingsPage().ApplyServiceMode(true);
    Find<QComboBox>("cboUpload")->setCurrentIndex(kFpga);
    Click("btnUpload"); // the file dialog cancelled
    Upload(kFpga, fpga, false);
    EXPECT_EQ(prompts.shown.back().text, "Continue with Fpga code upload?");
    Upload(kFpga, WriteFile("empty_fpga.bin", 0));
    EXPECT_EQ(Status(), "No Data in File!");
    Upload(kFpga, WriteFile("huge_fpga.bin", 65537));
    EXPECT_EQ(prompts.TakeErrors(),
              std::vector<QString>{"File too large!\r\n(Largest image: 65536 bytes)"});
    EXPECT_TRUE(LineBytes().empty());

    Bytes opening =
        Cat({Req(kCmdWriteFlashProtect1, {0xAA}), Req(kCmdWriteFlashProtect2, {0x55}), Req(87)});
    line->InjectFault(1, {sim::FaultKind::WrongPacketId, 1, 0, 0, {0}, 87});
    Upload(kFpga, fpga);
    EXPECT_EQ(Status(), "Flash Erase Error!");
    EXPECT_EQ(LineBytes(), opening);

    line->InjectFault(1, {sim::FaultKind::BadCheck, 1, 0, 0, {}, 87});
    Upload(kFpga, fpga);
    EXPECT_EQ(Status(), "Error : Invalid CRC/Chksum");
    EXPECT_EQ(ComErrors(), 1);

    line->InjectReceiverFault(1, {sim::ReceiverFaultKind::Cancel, 1});
    Upload(kFpga, fpga);
    EXPECT_EQ(Status(), "XModem Transfer Falied!");
    EXPECT_FALSE(Find("ProgressBar1")->isVisible());
    EXPECT_FALSE(form->State().busy);
}

} // namespace
} // namespace vk::legacy::test
