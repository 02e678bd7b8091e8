#pragma once
// The two-column list the panels and the "System:" bar show their values in.

class QTableWidget;

namespace vk {

// Makes `list` a read-only list of whole rows with grid lines and rows 20 pixels high,
// whose columns are "Name" (100 pixels wide) and "Value" (150), both left-aligned.
void SetUpNameValueList(QTableWidget* list);

} // namespace vk
