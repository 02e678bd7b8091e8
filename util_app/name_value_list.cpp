#include "util_app/name_value_list.h"

#include <QHeaderView>
#include <QTableWidget>

namespace vk {

void SetUpNameValueList(QTableWidget* list, const QString& name) {
    list->setAccessibleName(name);
    list->setColumnCount(2);
    list->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value")});
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Names such as "Min. Laser Power" must be read whole: the name column follows its
    // longest name and the value column fills the rest, neither below 100 pixels.
    QHeaderView* header = list->horizontalHeader();
    header->setMinimumSectionSize(100);
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    header->setStretchLastSection(true);
    list->verticalHeader()->hide();
    list->verticalHeader()->setMinimumSectionSize(20);
    list->verticalHeader()->setDefaultSectionSize(20);
    list->setShowGrid(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
}

} // namespace vk
