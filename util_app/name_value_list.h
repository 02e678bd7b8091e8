#pragma once
// The two-column list the panels and the "System:" bar show their values in.

class QString;
class QTableWidget;

namespace vk {

// Makes `list` a read-only list of whole rows with grid lines and rows 20 pixels high,
// whose columns are "Name" and "Value", both left-aligned; the name column is as wide as
// its longest name (at least 100 pixels), the value column takes the rest and cuts a value
// too long for it short with an ellipsis. `name` is what a screen reader calls the list.
void SetUpNameValueList(QTableWidget* list, const QString& name);

// Keeps `list` at least as wide as its names need beside a value column of its minimum
// width, so that no layout squeezes a name; call it after the names changed.
void KeepNamesWhole(QTableWidget* list);

} // namespace vk
