#pragma once
// The "OK" and "Cancel" row of the utility's dialogs.

class QDialog;
class QDialogButtonBox;
class QHBoxLayout;
class QLayout;
class QPushButton;
class QWidget;

namespace vk {

// A button box for `dialog` with `okText` (objectName "ok", the default button) and
// "Cancel" (objectName "cancel") wired to the dialog's accept and reject. A dialog may
// add buttons of its own to it.
QDialogButtonBox* OkCancelButtons(QDialog* dialog, const char* okText = "OK");

// A button of `parent` with `text` and the objectName `name`. It never becomes the
// default by taking the focus, so Enter does not press a button the user did not choose.
QPushButton* NamedButton(const char* text, const char* name, QWidget* parent);

// A row of `field`, taking the width, and `button` at its right.
QHBoxLayout* FieldAndButton(QWidget* field, QPushButton* button);

// Lays `dialog` out as `form` above the row of `buttons`.
void FormAboveButtons(QDialog* dialog, QLayout* form, QWidget* buttons);

} // namespace vk
