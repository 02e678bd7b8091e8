#include "panels/value_rows.h"

#include "util_app/name_value_list.h"

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
    KeepNamesWhole(list);
}

bool RowsReadyToFill(QTableWidget* list, bool connected, std::span<const char* const> names) {
    if (!connected) {
        list->setRowCount(0);
        return false;
    }
    if (list->rowCount() == 0) {
        InsertNamedRows(list, names);
        return false;
    }
    return true;
}

void WriteRowValues(QTableWidget* list, std::span<const DiagnosticValue> values) {
    for (const DiagnosticValue& value : values) {
        if (QTableWidgetItem* item = list->item(value.row, 1))
            item->setText(QString::fromStdString(value.text));
    }
}

} // namespace vk
