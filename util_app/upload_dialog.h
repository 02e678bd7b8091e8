#pragma once
// CVkUploadDlg ("Upload FPGA/DSP/CAL Table"): the factory's upload of an FPGA image, a
// DSP program or a calibration table. The user picks the kind and a file; Upload checks
// the file, unlocks the flash, streams the file with XModem-CRC while the progress bar
// and the status follow it, and locks the flash again.
//
// While an upload runs the window stays painted, but Upload, Browse, the type list and
// Close are disabled and the window refuses to close: the line carries one transfer at
// a time.

#include "sensor/upload_sequence.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <vector>

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vk {

class PanelContext;
class XModemSender;

class CVkUploadDlg : public QDialog, private UploadProgress {
public:
    // `context` gives the sensor, the prompts and the exchange guard; `sender` streams
    // the file. Both must outlive the dialog.
    CVkUploadDlg(PanelContext& context, XModemSender& sender, QWidget* parent = nullptr);

    // Whether an upload is running now.
    bool Uploading() const { return uploading_; }

    // Close and Escape; refused while an upload runs.
    void reject() override;

protected:
    // Closing the window is refused while an upload runs.
    void closeEvent(QCloseEvent* event) override;

private:
    void Browse();
    void Upload();
    void SetUploading(bool on);
    void ShowStatus(const QString& text);
    // UploadProgress
    void SetPercent(int percent) override;
    void BytesSent(std::size_t sent) override;
    void TransferEnded(int error) override;

    PanelContext& context_;
    XModemSender& sender_;
    std::vector<std::uint8_t> contents_;
    QString path_; // filled only by Browse
    QProgressBar* progress_;
    QComboBox* type_;
    QLineEdit* status_;
    QLineEdit* file_;
    QPushButton* browse_;
    QPushButton* upload_;
    QPushButton* close_;
    bool uploading_ = false;
};

} // namespace vk
