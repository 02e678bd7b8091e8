// File > Restore Sensor Profile... in the running utility against a simulated VKT02: the
// table of what will change, then the outcome of each setting, a refusal in the log.
#include "util_test_support.h"

#include "panels/sensor_profile.h"
#include "util_app/document.h"
#include "util_app/frame.h"
#include "util_app/profile_table_dialog.h"
#include "util_app/sensor_profile_control.h"

#include <QAction>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <map>

namespace vk::test {
namespace {

using SensorProfileTest = UtilTest;

// Setting name -> outcome, as a table dialog lists them.
std::map<std::string, std::string> Outcomes(const CProfileTableDialog& dialog) {
    std::map<std::string, std::string> outcomes;
    const QTableWidget* table = dialog.Table();
    for (int r = 0; r < table->rowCount(); ++r)
        outcomes[table->item(r, 0)->text().toStdString()] = table->item(r, 1)->text().toStdString();
    return outcomes;
}

TEST_F(SensorProfileTest, RestoreShowsWhatWillChangeThenWhatBecameOfEachSetting) {
    Start();
    SensorProfileControl& control = *Frame().Profiles();
    EXPECT_FALSE(control.RestoreAction()->isEnabled());
    ASSERT_TRUE(ConnectQuiet("VKT02"));
    EXPECT_TRUE(control.RestoreAction()->isEnabled());

    std::string failure;
    std::optional<SensorProfile> profile = ProfileOfSensor(Doc().Connection(), "test", &failure);
    ASSERT_TRUE(profile) << failure;
    for (SettingValue& s : profile->settings) {
        if (s.name == "threshold")
            s.value = "77";
        if (s.name == "min-laser-power")
            s.value = "255";
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.json"));
    ASSERT_TRUE(WriteProfileFile(path.toStdString(), *profile, &failure)) << failure;
    prompts.openFileAnswers = {path};

    std::map<std::string, std::string> planned, done;
    WhenModal answer([&](QWidget* modal) {
        auto* dialog = dynamic_cast<CProfileTableDialog*>(modal);
        if (!dialog || !dialog->isVisible())
            return false;
        if (planned.empty()) {
            planned = Outcomes(*dialog);
            dialog->accept();
            return false;
        }
        done = Outcomes(*dialog);
        dialog->reject();
        return true;
    });
    control.RestoreAction()->trigger();
    ASSERT_TRUE(answer.Done());
    EXPECT_EQ(planned["threshold"], "would write");
    EXPECT_EQ(planned["min-laser-power"], "refused");
    EXPECT_EQ(planned["laser"], "unchanged");
    EXPECT_EQ(done["threshold"], "verified");
    EXPECT_EQ(done["min-laser-power"], "refused");
    EXPECT_EQ(line->Snapshot(1).settings.threshold, 77);
    EXPECT_EQ(line->Snapshot(1).settings.minLaserPower, 20);
    const std::vector<std::string> log = LogTexts();
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "Restore min-laser-power: Min laser power must be between 1 and 254"),
              log.end());
}

} // namespace
} // namespace vk::test
