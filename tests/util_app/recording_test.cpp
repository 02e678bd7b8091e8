// File > Record to CSV... in the running utility against a simulated VKT04: one row per
// poll the sensor answered, none for a poll that failed, "Out of Range" as an empty cell,
// the trend fed from the same polls, and a disconnect or a lost port that ends the
// recording.
#include "util_test_support.h"

#include "panels/single_list_panel.h"
#include "util_app/document.h"
#include "util_app/frame.h"
#include "util_app/recording_control.h"
#include "util_app/trend_view.h"
#include "util_app/view.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <regex>

namespace vk::test {
namespace {

class RecordingTest : public UtilTest {
protected:
    CSingleListPanel* Panel() const {
        return dynamic_cast<CSingleListPanel*>(Frame().View()->CurrentPanel());
    }
    void Tick() { Frame().View()->UpdatePanel(); }
    void Report(std::uint16_t range) {
        line->Modify(1, [=](sim::SensorState& s) {
            s.liveFrozen = true;
            s.live = {101, 2002, 3, 44, range, 77, 300};
        });
    }
    std::vector<std::string> FileLines(const QString& path) const {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        std::vector<std::string> lines;
        for (const QByteArray& line : file.readAll().split('\n'))
            if (!line.isEmpty())
                lines.push_back(line.toStdString());
        return lines;
    }
};

TEST_F(RecordingTest, OneRowPerAnsweredPollUntilStopOrDisconnect) {
    Start();
    RecordingControl& recording = *Frame().Recording();
    EXPECT_FALSE(recording.RecordAction()->isEnabled());
    ASSERT_TRUE(ConnectQuiet("VKT04", CheckMethod::Checksum, [&] { Report(4321); }));
    ASSERT_NE(Panel(), nullptr);
    Panel()->UpdateBox()->click();
    EXPECT_TRUE(recording.RecordAction()->isEnabled());
    EXPECT_FALSE(recording.StopAction()->isEnabled());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("session.csv"));
    prompts.savePaths = {path};
    recording.RecordAction()->trigger();
    ASSERT_TRUE(recording.Recorder().Active());
    EXPECT_TRUE(recording.StopAction()->isEnabled());

    Tick();
    line->InjectFault(1, {sim::FaultKind::Silence});
    Tick();
    Report(0x8000);
    Tick();
    EXPECT_EQ(recording.StatusLabel()->text(),
              QStringLiteral("Recording %1: 2 rows").arg(QDir::toNativeSeparators(path)));
    recording.StopAction()->trigger();
    EXPECT_FALSE(recording.Recorder().Active());
    Tick();

    const auto lines = FileLines(path);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0],
              "Time,Base pix.,Sum pix.,Num pix.,Sub pix.,Laser power,Peak,Range (inch)\r");
    const std::string stamp = R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3})";
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(stamp + ",101,2002,3,44,77,300,4.321\r")))
        << lines[1];
    EXPECT_TRUE(std::regex_match(lines[2], std::regex(stamp + ",101,2002,3,44,77,300,\r")))
        << lines[2];
    EXPECT_EQ(recording.StatusLabel()->text(),
              QStringLiteral("Recorded %1: 2 rows").arg(QDir::toNativeSeparators(path)));

    // The trend took the same polls: the failed one is missing, "Out of Range" is a gap.
    const TrendSeries& trend = Panel()->Trend()->Series();
    ASSERT_EQ(trend.Size(), 3u);
    EXPECT_EQ(trend.At(0).range, 4.321);
    EXPECT_FALSE(trend.At(1).range.has_value());
    EXPECT_EQ(trend.At(1).peak, 300.0);

    // A disconnect ends a recording with the file complete.
    prompts.savePaths = {path};
    recording.RecordAction()->trigger();
    Report(1000);
    Tick();
    ASSERT_TRUE(Frame().RunCommand(CommandId::Disconnect));
    EXPECT_FALSE(recording.Recorder().Active());
    EXPECT_FALSE(recording.RecordAction()->isEnabled());
    const auto appended = FileLines(path);
    ASSERT_EQ(appended.size(), 5u);
    EXPECT_EQ(appended[3], lines[0]);
    EXPECT_TRUE(std::regex_match(appended[4], std::regex(stamp + ",101,2002,3,44,77,300,1.000\r")));
}

// The adapter is pulled while the panel polls and a recording runs.
TEST_F(RecordingTest, APortLostWhilePollingStopsEverythingAndConnectGetsBack) {
    Start();
    RecordingControl& recording = *Frame().Recording();
    ASSERT_TRUE(ConnectQuiet("VKT04", CheckMethod::Checksum, [&] { Report(4321); }));
    Panel()->UpdateBox()->click();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pulled.csv"));
    prompts.savePaths = {path};
    recording.RecordAction()->trigger();
    Tick();
    const std::string lost = "Port lost: COM1 (" + line->DevicePath() + ")";

    line->Unplug();
    Doc().Ticker().StartThread();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Doc().IsConnected(); }, 5000));
    EXPECT_NE(Doc().Ticker().GetState(), WorkerThread::State::Running);
    // One failed poll, then why it all stopped: in the log and in the status bar.
    const std::vector<std::string> log = LogTexts();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[log.size() - 3].rfind("Command GetSensorState failed. ", 0), 0u);
    EXPECT_EQ(log[log.size() - 2], lost);
    EXPECT_EQ(log.back(), "Disconnected...");
    QTest::qWait(300); // a tick's worth: nothing more is tried
    EXPECT_EQ(LogTexts().size(), log.size());
    EXPECT_EQ(Frame().statusBar()->currentMessage().toStdString(), lost);
    // The panel stays, its values no longer shown as current; the trend breaks off.
    ASSERT_EQ(Frame().View()->CurrentPanel(), Panel());
    EXPECT_EQ(Panel()->List()->rowCount(), 0);
    const TrendSeries& trend = Panel()->Trend()->Series();
    ASSERT_EQ(trend.Size(), 2u);
    EXPECT_FALSE(trend.At(1).range || trend.At(1).peak || trend.At(1).laserPower);
    // The file says why its rows end.
    EXPECT_FALSE(recording.Recorder().Active());
    const auto lines = FileLines(path);
    ASSERT_EQ(lines.size(), 3u);
    const std::string ending = ",Recording ended: " + lost + "\r";
    EXPECT_TRUE(lines[2].ends_with(ending)) << lines[2];
    EXPECT_TRUE(std::regex_match(lines[2].substr(0, lines[2].size() - ending.size()),
                                 std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3})")))
        << lines[2];

    // The adapter comes back: File > Connect with the same settings, and on it goes.
    std::string error;
    ASSERT_TRUE(line->Replug(&error)) << error;
    ASSERT_TRUE(ConnectThroughDialog());
    Doc().Ticker().StopThread();
    EXPECT_EQ(Frame().statusBar()->currentMessage(), QStringLiteral("Ready"));
    Tick();
    ASSERT_GE(trend.Size(), 3u);
    EXPECT_EQ(trend.At(trend.Size() - 1).range, 4.321);
    EXPECT_FALSE(trend.At(1).range.has_value()); // the gap stays between the two
}

} // namespace
} // namespace vk::test
