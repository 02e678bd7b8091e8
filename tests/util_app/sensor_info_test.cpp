// The "System:" bar in the running utility: what its two lists show while connected and
// not, and the commands its rows run on a double click and from the context menu.
#include "util_test_support.h"

#include "panels/numeric_edit.h"
#include "panels/vkt02_settings_dlg.h"
#include "util_app/address_dialog.h"
#include "util_app/custom_settings_dlg.h"
#include "util_app/docking_bars.h"
#include "util_app/document.h"
#include "util_app/frame.h"
#include "util_app/main_actions.h"
#include "util_app/range_modes.h"
#include "util_app/sensor_info.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <tuple>

namespace vk::test {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

class SensorInfoTest : public UtilTest {
protected:
    CSensorSettingsDialog& Info() const { return *Frame().SensorBar()->Info(); }
    static Rows RowsOf(const QTableWidget* list) {
        Rows rows;
        for (int row = 0; row < list->rowCount(); ++row)
            rows.emplace_back(list->item(row, 0)->text().toStdString(),
                              list->item(row, 1)->text().toStdString());
        return rows;
    }
    // Delivers the queued sensor-bar refresh.
    static void Settle() { QCoreApplication::processEvents(); }
    int RowNamed(const QTableWidget* list, const char* name) const {
        for (int row = 0; row < list->rowCount(); ++row)
            if (list->item(row, 0)->text() == QLatin1String(name))
                return row;
        return -1;
    }
    void DoubleClick(QTableWidget* list, int row) {
        Info().Tabs()->setCurrentWidget(list);
        const QRect cell = list->visualRect(list->model()->index(row, 1));
        // A real double click starts with a whole click; QTest's double click alone is only
        // the second half.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }
    // Right-clicks `at` in the list and returns the default item's text of the menu that
    // opens ("" for none), closing it again.
    std::string ContextMenuDefault(QTableWidget* list, QPoint at) {
        Info().Tabs()->setCurrentWidget(list);
        std::string shown = "<no menu>";
        QTimer::singleShot(50, [&shown] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            shown = menu->defaultAction() ? menu->defaultAction()->text().toStdString() : "";
            menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &event);
        return shown;
    }
};

TEST_F(SensorInfoTest, TheBarShowsItsTextWholeUpToAShareOfTheWindowThenCutsValuesShort) {
    Start();
    Frame().resize(1400, 1000);
    ASSERT_TRUE(ConnectQuiet("VKT04"));
    Settle();
    QTableWidget* settings = Info().SettingsList();
    Info().Tabs()->setCurrentWidget(settings);
    Settle();
    auto needs = [settings](int column) {
        return static_cast<const QAbstractItemView*>(settings)->sizeHintForColumn(column);
    };
    // A wide window: every name and every value whole, nothing to scroll sideways.
    EXPECT_GE(settings->columnWidth(0), needs(0));
    EXPECT_GE(settings->columnWidth(1), needs(1));
    EXPECT_FALSE(settings->horizontalScrollBar()->isVisible());

    // At 800 pixels the bar takes no more than 40 % of them: the names stay whole, the
    // longest value is cut short and reads whole in its tooltip.
    Frame().resize(800, 600);
    Settle();
    Settle();
    EXPECT_LE(Frame().SensorBar()->width(), 320);
    EXPECT_GE(settings->columnWidth(0), needs(0));
    EXPECT_LT(settings->columnWidth(1), needs(1));
    EXPECT_FALSE(settings->horizontalScrollBar()->isVisible());
    EXPECT_EQ(settings->item(RowNamed(settings, "Mode"), 1)->toolTip(),
              "0:  From 00.000 to  8.000 inch");
}

TEST_F(SensorInfoTest, ListsTheConnectedSensorAndItsSettings) {
    Start();
    ASSERT_EQ(Info().Tabs()->count(), 2);
    EXPECT_EQ(Info().Tabs()->tabText(0), "Sensor");
    EXPECT_EQ(Info().Tabs()->tabText(1), "Settings");
    for (const QTableWidget* list : {Info().SensorList(), Info().SettingsList()}) {
        EXPECT_EQ(list->horizontalHeaderItem(0)->text(), "Name");
        EXPECT_EQ(list->horizontalHeaderItem(1)->text(), "Value");
        EXPECT_GE(list->columnWidth(0), 100); // and as wide as the longest name
        EXPECT_GE(list->columnWidth(1), 100);
        EXPECT_EQ(list->rowCount(), 0);
    }

    ASSERT_TRUE(ConnectQuiet("VKT02"));
    Settle();
    EXPECT_EQ(RowsOf(Info().SensorList()), (Rows{{"Serial number", "VK000001"},
                                                 {"Model String:", "0 VKT-02"},
                                                 {"Firmware:", "1.23B"},
                                                 {"FPGA version", " 2.5"},
                                                 {"Address", "1"},
                                                 {"Sensor baudrate", "57600"}}));
    const Rows settings = RowsOf(Info().SettingsList());
    ASSERT_EQ(settings.size(), 20u);
    EXPECT_EQ(settings[0], (std::pair<std::string, std::string>{"Serial Number", "VK000001"}));
    EXPECT_EQ(settings[1], (std::pair<std::string, std::string>{"Laser", "On"}));
    EXPECT_EQ(settings[2].second, GetRangeMode(ModelType::VKT02, 0).description);
    EXPECT_EQ(settings[19], (std::pair<std::string, std::string>{"Averaging Period(ms)", "15.00"}));

    using C = std::optional<CommandId>;
    const std::vector<C> sensorCommands = {std::nullopt, std::nullopt,       std::nullopt,
                                           std::nullopt, CommandId::Address, CommandId::BaudRate};
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(CSensorSettingsDialog::RowCommand(Info().SensorList(), row),
                  sensorCommands[static_cast<std::size_t>(row)]);
    EXPECT_EQ(CSensorSettingsDialog::RowCommand(Info().SettingsList(), 0), C{});
    for (int row = 1; row < 20; ++row)
        EXPECT_EQ(CSensorSettingsDialog::RowCommand(Info().SettingsList(), row),
                  C{CommandId::SensorSettings});

    ASSERT_TRUE(Frame().RunCommand(CommandId::Disconnect));
    Settle();
    EXPECT_EQ(Info().SensorList()->rowCount(), 0);
    EXPECT_EQ(Info().SettingsList()->rowCount(), 0);

    // Every other model lists its identity and its own dialog's settings.
    for (const auto& [model, modelString, settingRows] : {std::tuple{"VKT04", "0 K4-D-4", 11},
                                                          {"RMXS", "0 RMX2000", 8},
                                                          {"BF", "0 K4-D-4BF", 15}}) {
        SCOPED_TRACE(model);
        ASSERT_TRUE(ConnectQuiet(model));
        Settle();
        EXPECT_EQ(RowsOf(Info().SensorList()), (Rows{{"Serial number", "VK000001"},
                                                     {"Model String:", modelString},
                                                     {"Firmware:", "1.23B"},
                                                     {"FPGA version", " 2.5"},
                                                     {"Address", "1"},
                                                     {"Sensor baudrate", "57600"}}));
        std::vector<std::string> names, values;
        Doc().ActiveSettingsDialog()->GetSettingsList(names, values);
        ASSERT_EQ(names.size(), static_cast<std::size_t>(settingRows));
        Rows expected = {{"Serial Number", "VK000001"}};
        for (std::size_t i = 0; i < names.size(); ++i)
            expected.emplace_back(names[i], values[i]);
        EXPECT_EQ(RowsOf(Info().SettingsList()), expected);
        ASSERT_TRUE(Frame().RunCommand(CommandId::Disconnect));
    }
}

TEST_F(SensorInfoTest, RowsRunTheirCommands) {
    Start();
    ASSERT_TRUE(ConnectQuiet("VKT02"));
    Settle();
    QTableWidget* sensor = Info().SensorList();
    QTableWidget* settings = Info().SettingsList();

    // "Serial number" runs nothing; "Address" opens the address dialog.
    bool addressShown = false;
    WhenModal cancelAddress(
        [&](QWidget* modal) {
            if (!dynamic_cast<CAddressDialog*>(modal))
                return false;
            addressShown = true;
            modal->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
            return true;
        },
        1000);
    DoubleClick(sensor, RowNamed(sensor, "Serial number"));
    EXPECT_TRUE(Sent().empty());
    EXPECT_FALSE(addressShown);
    DoubleClick(sensor, RowNamed(sensor, "Address"));
    EXPECT_TRUE(addressShown);

    // A "Settings" row opens Edit > Sensor Settings; what the dialog changed shows once
    // it has closed.
    WhenModal setThreshold([](QWidget* modal) {
        if (!dynamic_cast<CVKT02SettingsDlg*>(modal))
            return false;
        modal->findChild<CNumericEdit*>(QStringLiteral("threshold"))->setText(QStringLiteral("77"));
        modal->findChild<QPushButton*>(QStringLiteral("setThreshold"))->click();
        modal->findChild<QPushButton*>(QStringLiteral("close"))->click();
        return true;
    });
    DoubleClick(settings, RowNamed(settings, "Threshold"));
    EXPECT_TRUE(setThreshold.Done());
    Settle();
    EXPECT_EQ(line->Snapshot(1).settings.threshold, 77);
    EXPECT_EQ(settings->item(RowNamed(settings, "Threshold"), 1)->text(), "77");

    // The context menu is the Edit menu, with the row's command as its default item.
    const QRect baud =
        sensor->visualRect(sensor->model()->index(RowNamed(sensor, "Sensor baudrate"), 1));
    EXPECT_EQ(ContextMenuDefault(sensor, baud.center()), "Boudrate...");
    const QRect serial = sensor->visualRect(sensor->model()->index(0, 1));
    EXPECT_EQ(ContextMenuDefault(sensor, serial.center()), "");
    EXPECT_EQ(ContextMenuDefault(sensor, QPoint(5, sensor->viewport()->height() - 3)), "");
    const QRect threshold =
        settings->visualRect(settings->model()->index(RowNamed(settings, "Threshold"), 0));
    EXPECT_EQ(ContextMenuDefault(settings, threshold.center()), "Sensor Settings");
    // The default item goes again with the menu.
    for (const QAction* entry : Frame().menuBar()->actions()) {
        if (entry->menu()) {
            EXPECT_EQ(entry->menu()->defaultAction(), nullptr);
        }
    }
}

} // namespace
} // namespace vk::test
