#pragma once
// The fixed rows of a panel's name and value list: the names go in once, and each update
// rewrites only the value texts, so the list neither flickers nor loses its place.

#include "panels/vkt02_diagnostics.h"

#include <span>

class QTableWidget;

namespace vk {

// Replaces the rows of `list` with one per name, each with an empty value.
void InsertNamedRows(QTableWidget* list, std::span<const char* const> names);

// How a page whose button fills the rows starts: not `connected`, the rows go; no rows,
// they come back with empty values. True when the rows are there and may be filled now.
bool RowsReadyToFill(QTableWidget* list, bool connected, std::span<const char* const> names);

// Rewrites the value column of the rows `values` name; the other rows keep theirs.
void WriteRowValues(QTableWidget* list, std::span<const DiagnosticValue> values);

} // namespace vk
