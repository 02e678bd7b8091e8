#include "util_app/name_value_list.h"

#include <QHeaderView>
#include <QTableWidget>

namespace vk {

void SetUpNameValueList(QTableWidget* list) {
    list->setColumnCount(2);
    list->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value")});
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->setColumnWidth(0, 100);
    list->setColumnWidth(1, 150);
    list->verticalHeader()->hide();
    list->verticalHeader()->setMinimumSectionSize(20);
    list->verticalHeader()->setDefaultSectionSize(20);
    list->setShowGrid(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
}

} // namespace vk
