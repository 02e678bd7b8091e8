#pragma once
// The "OK" and "Cancel" row of the utility's dialogs.

class QDialog;
class QDialogButtonBox;

namespace vk {

// A button box for `dialog` with `okText` (objectName "ok", the default button) and
// "Cancel" (objectName "cancel") wired to the dialog's accept and reject. A dialog may
// add buttons of its own to it.
QDialogButtonBox* OkCancelButtons(QDialog* dialog, const char* okText = "OK");

} // namespace vk
