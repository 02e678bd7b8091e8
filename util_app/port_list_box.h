#pragma once
// The port field of the utility's dialogs: the port list entries to choose from, or any
// name typed by hand.

#include "link/port_names.h"

#include <vector>

class QComboBox;
class QWidget;

namespace vk {

// An editable list (objectName "portName") of PortListEntries(devices) that never adds
// what is typed to its entries.
QComboBox* NewPortListBox(const std::vector<ComDevice>& devices, QWidget* parent);

} // namespace vk
