#include "util_app/name_value_list.h"

#include <QHeaderView>
#include <QStyle>
#include <QTableWidget>

#include <algorithm>

namespace vk {

void SetUpNameValueList(QTableWidget* list, const QString& name) {
    list->setAccessibleName(name);
    list->setColumnCount(2);
    list->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value")});
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Names such as "Min. Laser Power" must be read whole: the name column follows its
    // longest name and the value column fills the rest, neither below 100 pixels. A value
    // too long for what is left is cut short with an ellipsis rather than scrolled to.
    QHeaderView* header = list->horizontalHeader();
    header->setMinimumSectionSize(100);
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    list->setTextElideMode(Qt::ElideRight);
    list->verticalHeader()->hide();
    list->verticalHeader()->setMinimumSectionSize(20);
    list->verticalHeader()->setDefaultSectionSize(20);
    list->setShowGrid(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
}

void KeepNamesWhole(QTableWidget* list) {
    const QHeaderView* header = list->horizontalHeader();
    const int names = std::max(static_cast<const QAbstractItemView*>(list)->sizeHintForColumn(0),
                               header->sectionSizeHint(0));
    list->setMinimumWidth(std::max(names, header->minimumSectionSize()) +
                          header->minimumSectionSize() + 2 * list->frameWidth() +
                          list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

} // namespace vk
