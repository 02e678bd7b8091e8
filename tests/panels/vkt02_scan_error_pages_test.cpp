// The "Scan Buffer" and "Sensor errors" pages of the VKT02 panel in the running utility
// against a simulated sensor: what each button sends, what the rows show, and what is
// left after a disconnect. The refresh ticker is stopped after each connect.
#include "util_test_support.h"

#include "panels/vkt02_error_counters.h"
#include "panels/vkt02_error_page.h"
#include "panels/vkt02_panel.h"
#include "panels/vkt02_scan_page.h"
#include "panels/vkt02_scan_statistics.h"
#include "sensor/sensor_device.h"
#include "sim/scan_filter.h"
#include "util_app/document.h"
#include "util_app/frame.h"
#include "util_app/scan_buffer_dialog.h"
#include "util_app/view.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace vk::test {
namespace {

constexpr auto kSum = CheckMethod::Checksum;

class Vkt02PagesTest : public UtilTest {
protected:
    CVKT02Dlg* Panel() const {
        return dynamic_cast<CVKT02Dlg*>(Frame().View()->ModelPanel(ModelType::VKT02));
    }
    CVKT02ScanDlg& ScanPage() const { return *Panel()->ScanPage(); }
    CVKT02ErrorDlg& ErrorPage() const { return *Panel()->ErrorPage(); }
    static std::vector<std::string> Column(const QTableWidget& list, int column) {
        std::vector<std::string> texts;
        for (int row = 0; row < list.rowCount(); ++row)
            texts.push_back(list.item(row, column)->text().toStdString());
        return texts;
    }
    void Reconnect() {
        ASSERT_TRUE(Frame().RunCommand(CommandId::Disconnect));
        ASSERT_TRUE(ConnectQuiet("VKT02"));
    }
};

TEST_F(Vkt02PagesTest, StartStopFilterAndTheStatisticsRows) {
    Start();
    ASSERT_TRUE(ConnectQuiet("VKT02"));
    CVKT02ScanDlg& page = ScanPage();
    QPushButton* button = page.StartStopButton();
    EXPECT_EQ(button->text(), "Start scan");
    EXPECT_EQ(page.Status()->text(), "");
    EXPECT_EQ(Column(*page.List(), 0),
              std::vector<std::string>(kVkt02ScanStatisticsRowNames.begin(),
                                       kVkt02ScanStatisticsRowNames.end()));

    button->click();
    EXPECT_EQ(Sent(), Frames(kSum, 1, {3}));
    EXPECT_EQ(button->text(), "Stop Scan");
    EXPECT_EQ(page.Status()->text(), "Scanning...");
    EXPECT_FALSE(page.FilterButton()->isEnabled());
    EXPECT_FALSE(page.ReadButton()->isEnabled());
    ASSERT_TRUE(line->WaitForState(
        1, [](const sim::SensorState& s) { return s.scanning && s.scanCount >= 50; }, 3000));

    button->click();
    EXPECT_EQ(Sent(), Frames(kSum, 1, {4}));
    EXPECT_EQ(button->text(), "Start Scan");
    EXPECT_EQ(page.Status()->text(), "Not scanning");
    EXPECT_TRUE(page.FilterButton()->isEnabled());
    EXPECT_TRUE(page.ReadButton()->isEnabled());
    EXPECT_FALSE(line->Snapshot(1).scanning);

    // The sensor filters what it collected and describes it; the scan count is the one
    // the diagnostic page polled last.
    ASSERT_TRUE(Doc().Sensor().GetVKT02State());
    Sent();
    page.FilterButton()->click();
    EXPECT_EQ(Sent(), Frames(kSum, 1, {15, 10}));
    const sim::SensorState sensor = line->Snapshot(1);
    const sim::ScanStatistics s = sim::DescribeScanBuffer(sensor);
    EXPECT_EQ(
        Column(*page.List(), 1),
        (std::vector<std::string>{std::to_string(sensor.scanCount), std::to_string(s.highestScan),
                                  Doc().FormatRange(s.highest), std::to_string(s.lowestScan),
                                  Doc().FormatRange(s.lowest), Doc().FormatRange(s.average)}));

    // Pressed while disconnected the rows go; after a new connection the first press only
    // brings them back, the second fills them.
    ASSERT_TRUE(Frame().RunCommand(CommandId::Disconnect));
    page.FilterButton()->click();
    EXPECT_EQ(page.List()->rowCount(), 0);
    ASSERT_TRUE(ConnectQuiet("VKT02"));
    EXPECT_EQ(button->text(), "Start Scan"); // a run ended elsewhere does not show here
    page.FilterButton()->click();
    EXPECT_EQ(Sent(), Frames(kSum, 1, {15, 10}));
    EXPECT_EQ(Column(*page.List(), 1), std::vector<std::string>(6));
    page.FilterButton()->click();
    EXPECT_EQ(Sent(), Frames(kSum, 1, {15, 10}));
    EXPECT_NE(Column(*page.List(), 1)[2], "");
}

TEST_F(Vkt02PagesTest, ReadScanBufferOffersThePolledScanCount) {
    Start();
    ASSERT_TRUE(ConnectQuiet("VKT02"));
    for (const auto& [count, offered] :
         std::vector<std::pair<std::uint16_t, int>>{{300, 300}, {10000, 8192}, {0xFFFF, 8192}}) {
        line->Modify(1, [count = count](sim::SensorState& s) {
            s.scanning = false;
            s.scanCount = count;
        });
        ASSERT_TRUE(Doc().Sensor().GetVKT02State());
        int shown = -1;
        bool ticksLetIn = false;
        WhenModal closeReader([&](QWidget* modal) {
            auto* reader = dynamic_cast<CReadBufferDialog*>(modal);
            if (!reader)
                return false;
            shown = reader->RangesAvailable();
            ticksLetIn = !Doc().Exchanges().Held();
            reader->reject();
            return true;
        });
        ScanPage().ReadButton()->click();
        EXPECT_EQ(shown, offered) << count;
        EXPECT_TRUE(ticksLetIn);
    }
    EXPECT_EQ(Sent(), Frames(kSum, 1, {21, 21, 21}));
}

TEST_F(Vkt02PagesTest, GetErrorsShowsTheCountersAndRebuildsAfterAReconnect) {
    Start();
    ASSERT_TRUE(ConnectQuiet("VKT02"));
    CVKT02ErrorDlg& page = ErrorPage();
    EXPECT_EQ(page.GetErrorsButton()->text(), "Get Errors");
    EXPECT_EQ(Column(*page.List(), 0),
              std::vector<std::string>(kVkt02ErrorRowNames.begin(), kVkt02ErrorRowNames.end()));
    line->Modify(1, [](sim::SensorState& s) {
        s.errors.powerUps = 40000;
        s.errors.calibrationMarker = 0xAAAA;
    });
    page.GetErrorsButton()->click();
    EXPECT_EQ(Sent(), Frames(kSum, 1, {20}));
    EXPECT_EQ(Column(*page.List(), 1),
              (std::vector<std::string>{"-25536", "No Callibration", "0", "0", "0", "0"}));

    ASSERT_TRUE(Frame().RunCommand(CommandId::Disconnect));
    page.GetErrorsButton()->click();
    EXPECT_EQ(page.List()->rowCount(), 0);
    ASSERT_TRUE(ConnectQuiet("VKT02"));
    page.GetErrorsButton()->click();
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(Column(*page.List(), 1), std::vector<std::string>(6));
    page.GetErrorsButton()->click();
    EXPECT_EQ(Sent(), Frames(kSum, 1, {20}));
    EXPECT_EQ(Column(*page.List(), 1)[0], "1");
    EXPECT_EQ(Column(*page.List(), 1)[1], "Callibration OK");
}

} // namespace
} // namespace vk::test
