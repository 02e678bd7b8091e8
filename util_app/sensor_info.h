#pragma once
// CSensorSettingsDialog: the page of the "System:" bar. Its "Sensor" tab lists the
// connected sensor's identity, address and baud rate, its "Settings" tab the settings of
// the sensor's model (CollectSensorInfo). A row is also a shortcut to the command that
// changes its value: a double click runs it, and the context menu (the main window's
// "&Edit " menu) offers it as its default item.

#include "util_app/command_ids.h"

#include <QWidget>

#include <optional>

class QMenu;
class QPoint;
class QTabWidget;
class QTableWidget;

namespace vk {

class CMainFrame;
class CVKT02Doc;

class CSensorSettingsDialog : public QWidget {
public:
    // `frame` runs the rows' commands and lends its "&Edit " menu; with a null frame the
    // rows run nothing. `doc` must outlive the page. Both lists are filled at once.
    CSensorSettingsDialog(CMainFrame* frame, CVKT02Doc& doc, QWidget* parent = nullptr);

    // Rebuilds both lists from the document: empty unless a connected sensor's model has
    // been detected.
    void Refill();

    // The width at which both lists show every name and every value whole (room for a
    // vertical scroll bar included).
    int WholeTextWidth() const;

    QTabWidget* Tabs() const { return tabs_; }
    QTableWidget* SensorList() const { return sensorList_; }
    QTableWidget* SettingsList() const { return settingsList_; }
    // The command row `row` of `list` stands for; none for a row without one or no row.
    static std::optional<CommandId> RowCommand(const QTableWidget* list, int row);

    // A double click on `row` of `list`: its command runs as the menu item would (only
    // when enabled); a row without a command does nothing.
    void RunRowCommand(const QTableWidget* list, int row);
    // The right click at `position` (in `list`'s viewport): the main window's "&Edit "
    // menu opens there, centred on the point, with the hit row's command as its default
    // item; the default goes again when the menu has closed.
    void ShowRowMenu(QTableWidget* list, const QPoint& position);

private:
    QTableWidget* MakeList(const char* name, const QString& title, bool singleSelection);

    CMainFrame* frame_;
    CVKT02Doc& doc_;
    QTabWidget* tabs_;
    QTableWidget* sensorList_;
    QTableWidget* settingsList_;
};

} // namespace vk
