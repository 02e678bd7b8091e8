#include "util_app/sensor_info.h"

#include "util_app/frame.h"
#include "util_app/main_actions.h"
#include "util_app/name_value_list.h"
#include "util_app/sensor_info_rows.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vk {

namespace {

constexpr int kCommandRole = Qt::UserRole;

void Fill(QTableWidget* list, const std::vector<SensorInfoRow>& rows) {
    list->setRowCount(0);
    list->setRowCount(static_cast<int>(rows.size()));
    int row = 0;
    for (const SensorInfoRow& info : rows) {
        auto* name = new QTableWidgetItem(QString::fromStdString(info.name));
        name->setData(kCommandRole, info.command ? static_cast<int>(*info.command) : 0);
        list->setItem(row, 0, name);
        auto* value = new QTableWidgetItem(QString::fromStdString(info.value));
        // A value the bar is too narrow for is cut short; the tooltip has it whole.
        value->setToolTip(value->text());
        list->setItem(row, 1, value);
        ++row;
    }
    KeepNamesWhole(list);
}

} // namespace

CSensorSettingsDialog::CSensorSettingsDialog(CMainFrame* frame, CVKT02Doc& doc, QWidget* parent)
    : QWidget(parent), frame_(frame), doc_(doc), tabs_(new QTabWidget(this)) {
    setObjectName(QStringLiteral("sensorInfo"));
    tabs_->setObjectName(QStringLiteral("sensorInfoTabs"));
    sensorList_ = MakeList("sensorList", QStringLiteral("Sensor"), false);
    settingsList_ = MakeList("settingsList", QStringLiteral("Settings"), true);
    tabs_->addTab(sensorList_, QStringLiteral("Sensor"));
    tabs_->addTab(settingsList_, QStringLiteral("Settings"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);
    Refill();
}

QTableWidget* CSensorSettingsDialog::MakeList(const char* name, const QString& title,
                                              bool singleSelection) {
    auto* list = new QTableWidget(0, 2, tabs_);
    list->setObjectName(QString::fromLatin1(name));
    SetUpNameValueList(list, title);
    list->setSelectionMode(singleSelection ? QAbstractItemView::SingleSelection
                                           : QAbstractItemView::ExtendedSelection);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QTableWidget::cellDoubleClicked, this,
            [this, list](int row, int) { RunRowCommand(list, row); });
    connect(list, &QTableWidget::customContextMenuRequested, this,
            [this, list](const QPoint& position) { ShowRowMenu(list, position); });
    return list;
}

void CSensorSettingsDialog::Refill() {
    const SensorInfoRows rows = CollectSensorInfo(doc_);
    Fill(sensorList_, rows.sensor);
    Fill(settingsList_, rows.settings);
}

int CSensorSettingsDialog::WholeTextWidth() const {
    int lists = 0;
    for (const QTableWidget* list : {sensorList_, settingsList_}) {
        const QHeaderView* header = list->horizontalHeader();
        int columns = 0;
        for (int column = 0; column < 2; ++column)
            columns +=
                std::max({static_cast<const QAbstractItemView*>(list)->sizeHintForColumn(column),
                          header->sectionSizeHint(column), header->minimumSectionSize()});
        lists = std::max(lists, columns);
    }
    // Whatever the page puts around the columns of the list shown: frames, margins, the
    // tab's edges and the vertical scroll bar.
    const QTableWidget* shown = tabs_->currentIndex() == 1 ? settingsList_ : sensorList_;
    const int around = width() - shown->viewport()->width() +
                       (shown->verticalScrollBar()->isVisible()
                            ? 0
                            : style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    return lists + around;
}

std::optional<CommandId> CSensorSettingsDialog::RowCommand(const QTableWidget* list, int row) {
    const QTableWidgetItem* item = list && row >= 0 ? list->item(row, 0) : nullptr;
    const int command = item ? item->data(kCommandRole).toInt() : 0;
    if (command == 0)
        return std::nullopt;
    return static_cast<CommandId>(command);
}

void CSensorSettingsDialog::RunRowCommand(const QTableWidget* list, int row) {
    if (const std::optional<CommandId> command = RowCommand(list, row); command && frame_)
        frame_->RunCommand(*command);
}

void CSensorSettingsDialog::ShowRowMenu(QTableWidget* list, const QPoint& position) {
    QMenu* menu = frame_ ? frame_->EditMenu() : nullptr;
    if (!menu)
        return;
    const int row = list->indexAt(position).row();
    QAction* preferred = nullptr;
    if (const std::optional<CommandId> command = RowCommand(list, row))
        preferred = frame_->Actions().Action(*command);
    menu->setDefaultAction(preferred);
    QPoint at = list->viewport()->mapToGlobal(position);
    at.rx() -= menu->sizeHint().width() / 2;
    menu->exec(at);
    menu->setDefaultAction(nullptr);
}

} // namespace vk
