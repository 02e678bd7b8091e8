// The VKT02 panel in the running utility against a simulated sensor: its pages, when the
// diagnostic page talks to the sensor, and what its rows show. The refresh ticker is
// stopped after each connect, so every tick here is one the test gives.
#include "util_test_support.h"

#include "panels/vkt02_diagnostics.h"
#include "panels/vkt02_diags_page.h"
#include "panels/vkt02_panel.h"
#include "panels/vkt02_scan_page.h"
#include "util_app/document.h"
#include "util_app/frame.h"
#include "util_app/view.h"

#include <QCheckBox>
#include <QTabWidget>
#include <QTableWidget>

namespace vk::test {
namespace {

constexpr auto kSum = CheckMethod::Checksum;

class Vkt02PanelTest : public UtilTest {
protected:
    void Connect(const std::string& model = "VKT02") { ASSERT_TRUE(ConnectQuiet(model)); }
    CVKT02Dlg* Panel() const { return dynamic_cast<CVKT02Dlg*>(Frame().View()->CurrentPanel()); }
    QTableWidget& List() const { return *Panel()->DiagnosticPage()->List(); }
    // The value column from top to bottom.
    std::vector<std::string> Values() const {
        std::vector<std::string> values;
        for (int row = 0; row < List().rowCount(); ++row)
            values.push_back(List().item(row, 1)->text().toStdString());
        return values;
    }
    void Tick() { Frame().View()->UpdatePanel(); }
    // What the sensor reports from now on.
    void Report(std::uint16_t range, std::uint16_t scanCount, bool scanning) {
        line->Modify(1, [=](sim::SensorState& s) {
            s.liveFrozen = true;
            s.live = {101, 2002, 3, 44, range, 77, 0xFFFE};
            s.scanCount = scanCount;
            s.scanning = scanning;
            // A scan that has only just begun and takes an hour per sample.
            s.scanStarted = sim::Clock::now();
            s.scanPeriod = std::chrono::hours(1);
        });
    }
    static std::vector<std::uint8_t> PollFrames() { return Frames(kSum, 1, {21, 67, 38}); }
};

TEST_F(Vkt02PanelTest, PollsOnlyWhileTickedAndRewritesTheValuesInPlace) {
    Start();
    Connect();
    ASSERT_NE(Panel(), nullptr);
    const QTabWidget* tabs = Panel()->Tabs();
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "Diagnostic");
    EXPECT_EQ(tabs->tabText(1), "Scan Buffer");
    EXPECT_EQ(tabs->tabText(2), "Sensor errors");
    EXPECT_EQ(Panel()->CurrentPage(), Panel()->DiagnosticPage());

    EXPECT_EQ(List().horizontalHeaderItem(0)->text(), "Name");
    EXPECT_EQ(List().horizontalHeaderItem(1)->text(), "Value");
    EXPECT_GE(List().columnWidth(0), 100); // and as wide as the longest name
    EXPECT_GE(List().columnWidth(1), 100);
    EXPECT_TRUE(List().showGrid());
    ASSERT_EQ(List().rowCount(), 10);
    for (int row = 0; row < 10; ++row)
        EXPECT_EQ(List().item(row, 0)->text().toStdString(), kVkt02DiagnosticRowNames[row]);

    // Unticked: no traffic, nothing shown.
    QCheckBox* box = Panel()->DiagnosticPage()->UpdateBox();
    EXPECT_EQ(box->text(), "Update diagnostics");
    EXPECT_FALSE(box->isChecked());
    Tick();
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(Values(), std::vector<std::string>(10));

    Report(12345, 0xFFFF, true);
    box->click();
    Tick();
    EXPECT_EQ(Sent(), PollFrames());
    EXPECT_EQ(Values(), (std::vector<std::string>{"101", "2002", "3", "44", "-1", "On", "77", "-2",
                                                  "", "12.345 inch"}));

    // The same items, only their texts change; the other pages do not stop the polling.
    std::vector<const QTableWidgetItem*> items;
    for (int row = 0; row < 10; ++row)
        items.push_back(List().item(row, 1));
    Report(0x8000, 5, false);
    Panel()->Tabs()->setCurrentIndex(1);
    EXPECT_EQ(Panel()->CurrentPage(), Panel()->ScanPage());
    Tick();
    EXPECT_EQ(Sent(), PollFrames());
    EXPECT_EQ(Values()[4], "5");
    EXPECT_EQ(Values()[5], "Off");
    EXPECT_EQ(Values()[9], "Out of Range");
    for (int row = 0; row < 10; ++row)
        EXPECT_EQ(List().item(row, 1), items[static_cast<std::size_t>(row)]);

    // Unticked again: the values stay as they were.
    box->click();
    Report(100, 6, true);
    Tick();
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(Values()[9], "Out of Range");
}

TEST_F(Vkt02PanelTest, AFailedCommandEndsTheTickWithoutRewritingAnything) {
    Start();
    Connect();
    Report(12345, 1, true);
    Panel()->DiagnosticPage()->UpdateBox()->click();
    Tick();
    Sent();
    const std::vector<std::string> before = Values();

    Report(500, 2, false);
    sim::Fault silence{sim::FaultKind::Silence};
    silence.packetId = 67; // GetLaserPower
    line->InjectFault(1, silence);
    Tick();
    EXPECT_EQ(Sent(), Frames(kSum, 1, {21, 67})); // GetPeak is not sent
    EXPECT_EQ(Values(), before);
    EXPECT_EQ(LogTexts().back(),
              "Command GetLaserPower failed. dcs_ReadHeader timeout waiting for STX");

    Tick();
    EXPECT_EQ(Values()[4], "2");
    EXPECT_EQ(Values()[9], "0.500 inch");
}

TEST_F(Vkt02PanelTest, DisconnectEmptiesTheRowsAndAReconnectFillsThemAtOnce) {
    Start();
    Connect();
    CVKT02Dlg* panel = Panel();
    panel->DiagnosticPage()->UpdateBox()->click();
    Tick();
    ASSERT_EQ(List().rowCount(), 10);

    ASSERT_TRUE(Frame().RunCommand(CommandId::Disconnect));
    EXPECT_EQ(panel->DiagnosticPage()->List()->rowCount(), 0);
    EXPECT_EQ(Frame().View()->CurrentPanel(), Frame().View()->NotConnectedPanel());

    // An Rmx Long shows the same panel; the box stayed ticked, so the update that comes
    // with the connection rebuilds the rows and fills them.
    ASSERT_TRUE(ConnectQuiet("RMXL", CheckMethod::Checksum, [this] {
        line->Modify(1, [](sim::SensorState& s) {
            s.liveFrozen = true;
            s.live.range = 2500;
        });
    }));
    EXPECT_EQ(Panel(), panel);
    EXPECT_EQ(Frame().View()->ModelPanel(ModelType::VKT02),
              Frame().View()->ModelPanel(ModelType::RmxLong));
    ASSERT_EQ(List().rowCount(), 10);
    EXPECT_EQ(List().item(0, 0)->text(), "Base pix.");
    EXPECT_EQ(Values()[9], "2.500 inch");
}

} // namespace
} // namespace vk::test
