#pragma once
// The "OK" and "Cancel" row of the utility's small dialogs.

class QDialog;
class QDialogButtonBox;

namespace vk {

// A button box for `dialog` with "OK" (objectName "ok", the default button) and
// "Cancel" (objectName "cancel") wired to the dialog's accept and reject.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

} // namespace vk
