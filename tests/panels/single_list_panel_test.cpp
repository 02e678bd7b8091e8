// The single-list panels of the VKT04, Rmx Short and Vezir Orududu in the running utility
// against simulated sensors: when they talk to the sensor, what their rows show, where
// the list sits, and the Vezir Orududu's "Read Scan Buffer". The refresh ticker is
// stopped after each connect, so every tick here is one the test gives.
#include "util_test_support.h"

#include "panels/sensor_state_rows.h"
#include "panels/vkt04_panel.h"
#include "panels/vkt04bf_panel.h"
#include "util_app/document.h"
#include "util_app/frame.h"
#include "util_app/scan_buffer_dialog.h"
#include "util_app/view.h"

#include <QCheckBox>
#include <QFrame>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>

namespace vk::test {
namespace {

constexpr auto kSum = CheckMethod::Checksum;

class SingleListPanelTest : public UtilTest {
protected:
    CSingleListPanel* Panel() const {
        return dynamic_cast<CSingleListPanel*>(Frame().View()->CurrentPanel());
    }
    std::vector<std::string> Values() const {
        std::vector<std::string> values;
        for (int row = 0; row < Panel()->List()->rowCount(); ++row)
            values.push_back(Panel()->List()->item(row, 1)->text().toStdString());
        return values;
    }
    void Tick() { Frame().View()->UpdatePanel(); }
    // What the sensor reports from now on.
    void Report(std::uint16_t range) {
        line->Modify(1, [=](sim::SensorState& s) {
            s.liveFrozen = true;
            s.live = {101, 2002, 3, 44, range, 77, 0xFFFE};
        });
    }
};

TEST_F(SingleListPanelTest, Vkt04RowsAppearAtOnceAndArePolledOnlyWhileTicked) {
    Start();
    ASSERT_TRUE(ConnectQuiet("VKT04"));
    ASSERT_NE(dynamic_cast<CVKT04Dlg*>(Panel()), nullptr);
    QTableWidget* list = Panel()->List();
    EXPECT_EQ(list->horizontalHeaderItem(0)->text(), "Name");
    EXPECT_EQ(list->horizontalHeaderItem(1)->text(), "Value");
    EXPECT_GE(list->columnWidth(0), 100); // and as wide as the longest name
    EXPECT_GE(list->columnWidth(1), 100);
    // The connect's update put the names in although the box is unticked.
    ASSERT_EQ(list->rowCount(), 8);
    for (int row = 0; row < 8; ++row)
        EXPECT_EQ(list->item(row, 0)->text().toStdString(), kSensorStateRowNames[row]);
    EXPECT_EQ(Panel()->UpdateBox()->text(), "Update Diagnostics");
    EXPECT_FALSE(Panel()->UpdateBox()->isChecked());
    Tick();
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(Values(), std::vector<std::string>(8));

    Report(4321);
    Panel()->UpdateBox()->click();
    Tick();
    EXPECT_EQ(Sent(), Frames(kSum, 1, {41}));
    EXPECT_EQ(Values(), (std::vector<std::string>{"101", "2002", "3", "44", "77", "65534", "",
                                                  "4.321 inch"}));
    Report(0x8000);
    Tick();
    EXPECT_EQ(Sent(), Frames(kSum, 1, {41}));
    EXPECT_EQ(Values()[7], "Out of Range");

    // A failed read leaves every value as it was.
    Report(1000);
    sim::Fault silence{sim::FaultKind::Silence};
    silence.packetId = 41;
    line->InjectFault(1, silence);
    Tick();
    EXPECT_EQ(Sent(), Frames(kSum, 1, {41}));
    EXPECT_EQ(Values()[7], "Out of Range");
    EXPECT_EQ(LogTexts().back(),
              "Command GetSensorState failed. dcs_ReadHeader timeout waiting for STX");

    // The list, with the trend beside it, hangs 5 pixels below the anchor's lower edge b
    // and reaches down to the panel's foot.
    Panel()->resize(400, 300);
    const QRect anchor = Panel()->Anchor()->geometry();
    const int b = anchor.y() + anchor.height();
    EXPECT_GT(b, Panel()->UpdateBox()->height());
    EXPECT_EQ(Panel()->ListAndTrend()->geometry(), QRect(0, b + 5, 400, 300 - b - 5));

    ASSERT_TRUE(Frame().RunCommand(CommandId::Disconnect));
    EXPECT_EQ(list->rowCount(), 0);
}

TEST_F(SingleListPanelTest, RmxShortAndVezirOrududuShowTheSameRowsFromTheirOwnState) {
    Start();
    // The Rmx Short has one range mode, whatever its setup says.
    ASSERT_TRUE(ConnectQuiet("RMXS", kSum, [this] {
        line->Modify(1, [](sim::SensorState& s) { s.settings.rangeMode = 1; });
    }));
    auto* rmxShort = dynamic_cast<CRmxShortDlg*>(Panel());
    ASSERT_NE(rmxShort, nullptr);
    EXPECT_NE(Frame().View()->ModelPanel(ModelType::VKT04), rmxShort);
    Report(4000);
    rmxShort->UpdateBox()->click();
    Tick();
    EXPECT_EQ(Sent(), Frames(kSum, 1, {41}));
    EXPECT_EQ(Values()[7], "4.000 inch");
    ASSERT_TRUE(Frame().RunCommand(CommandId::Disconnect));

    ASSERT_TRUE(ConnectQuiet("BF"));
    auto* vezir = dynamic_cast<CVKT04BFDlg*>(Panel());
    ASSERT_NE(vezir, nullptr);
    Report(2500);
    vezir->UpdateBox()->click();
    Tick();
    EXPECT_EQ(Sent(), Frames(kSum, 1, {41})); // answered with the 22-byte board flipper state
    EXPECT_EQ(Values(), (std::vector<std::string>{"101", "2002", "3", "44", "77", "65534", "",
                                                  "2.500 inch"}));

    // "Read Scan Buffer" opens the scan buffer reader, offered the whole buffer.
    QPushButton* read = vezir->ReadScanBufferButton();
    EXPECT_EQ(read->text(), "Read Scan Buffer");
    EXPECT_TRUE(read->isEnabled());
    const CReadBufferDialog* opened = nullptr;
    int offered = -1;
    WhenModal closeReader([&](QWidget* modal) {
        auto* reader = dynamic_cast<CReadBufferDialog*>(modal);
        if (!reader)
            return false;
        opened = reader;
        offered = reader->RangesAvailable();
        reader->reject();
        return true;
    });
    read->click();
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(offered, 8192);
    EXPECT_TRUE(Sent().empty());
}

} // namespace
} // namespace vk::test
