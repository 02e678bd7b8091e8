#pragma once
// The two-column list the panels and the "System:" bar show their values in.

class QString;
class QTableWidget;

namespace vk {

// Makes `list` a read-only list of whole rows with grid lines and rows 20 pixels high,
// whose columns are "Name" and "Value", both left-aligned; the name column is as wide as
// its longest name (at least 100 pixels), the value column takes the rest. `name` is what
// a screen reader calls the list.
void SetUpNameValueList(QTableWidget* list, const QString& name);

} // namespace vk
