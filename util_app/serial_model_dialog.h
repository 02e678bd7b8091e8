#pragma once
// CSerialAndModelDlg ("Serial Number and Model Name"): the factory writes a sensor's
// model string and serial number here. The list offers every model string the utility
// knows, shown with its model's name ("0 VKT-02 [VKT02]"); the dialog shows what the
// sensor reports and reads it back after every write.

#include <QDialog>

#include <string>

class QComboBox;
class QLineEdit;

namespace vk {

class PanelContext;

class CSerialAndModelDlg : public QDialog {
public:
    // Reads the sensor's model string and serial number at once. `context` must outlive
    // the dialog.
    explicit CSerialAndModelDlg(PanelContext& context, QWidget* parent = nullptr);

    // Reads model string and serial number again. After a failed read the list has no
    // selection and the field is empty.
    void Refresh();

private:
    void SetModelName();
    void SetSerialNumber();

    PanelContext& context_;
    QComboBox* models_;
    QLineEdit* serial_;
};

} // namespace vk
