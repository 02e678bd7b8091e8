#include "panels/value_rows.h"

#include <QTableWidget>

namespace vk {

void InsertNamedRows(QTableWidget* list, std::span<const char* const> names) {
    list->setRowCount(0);
    list->setRowCount(static_cast<int>(names.size()));
    int row = 0;
    for (const char* name : names) {
        list->setItem(row, 0, new QTableWidgetItem(QString::fromLatin1(name)));
        list->setItem(row, 1, new QTableWidgetItem);
        ++row;
    }
}

void WriteRowValues(QTableWidget* list, std::span<const DiagnosticValue> values) {
    for (const DiagnosticValue& value : values) {
        if (QTableWidgetItem* item = list->item(value.row, 1))
            item->setText(QString::fromStdString(value.text));
    }
}

} // namespace vk
