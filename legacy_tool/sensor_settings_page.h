#pragma once
// The "Sensor Settings" page: the sensor's whole configuration as read after Connect,
// and one button per group of settings that writes the group and reads it back.

#include "legacy_tool/form_host.h"
#include "legacy_tool/readout_decoding.h"
#include "legacy_tool/settings_requests.h"

#include <QString>
#include <QWidget>

#include <string>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vk::legacy {

// A text as the sensor sent it (serial number, model name, versions): one character per
// byte, Latin-1, whatever the bytes are.
QString FromSensor(const std::string& bytes);

class SensorSettingsPage : public QWidget {
public:
    SensorSettingsPage(FormHost& host, QWidget* parent = nullptr);

    // The read-out after a successful Connect (runs while Connect holds the busy flag).
    void GetSensorData();
    // The "Error Checking" list shows the method Connect found.
    void ShowCheckMethod(CheckMethod method);
    // The factory controls: serial number, model, upload.
    void ApplyServiceMode(bool on);

    void btnLaserOnClick();
    void btnLaserOffClick();
    void Button2Click(); // "Set To Defaults"
    void btnSerialClick();
    void btnModelClick();
    void BtnAddressClick();
    void btnMinPwrClick();
    void btnMaxPwrClick();
    void btnThresholdClick();
    void btnSensorBaudClick();
    void btnModeClick();
    void btnErrChkClick();

    void BtnOffsetsClick();
    void btnScanVarsClick();
    void btnAnalogClick();
    void btnAvgClick();

    void BtnUploadClick();

    void cboSensorBaudExit();
    void cboModeExit();
    void cboCRCExit();
    void cboModelExit();

private:
    // A labelled field no wider than `widest` needs; `maxLength` characters may be typed
    // (0: any number).
    QLineEdit* AddEdit(QGridLayout* grid, int row, const char* label, const char* name,
                       int maxLength, const char* widest);
    QPushButton* AddButton(const char* caption, const char* name, void (SensorSettingsPage::*)());
    void BuildLayout();

    // Shows the message, puts the focus on the field; the handler then ends.
    void Refuse(const Refusal& refusal);
    QLineEdit* EditFor(Field field) const;
    void ShowLaser(bool on);
    void ShowSetup(const SetupFields& setup);
    void ShowOffsets(const SetupFields& setup);
    void ShowScanVariables(const SetupFields& setup);
    void ShowAnalog(const AnalogTexts& analog);
    void ShowByteReadBack(QLineEdit* field, std::uint8_t setCode, std::uint8_t readCode,
                          std::uint8_t value);
    void ReportAll(const std::vector<int>& errors);

    FormHost& host_;

    QLabel* pnlLaser_;
    QLineEdit* editSerial_;
    QComboBox* cboModel_;
    QLineEdit* editSensorAddress_;
    QComboBox* cboSensorBaud_;
    QLineEdit* editMinPwr_;
    QLineEdit* editMaxPwr_;
    QLineEdit* editThreshold_;
    QComboBox* cboMode_;
    QComboBox* cboCRC_;
    QLineEdit* editDropouts_;
    QLineEdit* editSmooth_;
    QLineEdit* editOrder_;
    QLineEdit* editScanInterval_;
    QLineEdit* editMinRange_;
    QLineEdit* editMaxRange_;
    QLineEdit* editMinVolt_;
    QLineEdit* editMaxVolt_;
    QLineEdit* editOutVolt_;
    QLineEdit* editOffsetVolt_;
    QLineEdit* editCosine_;
    QLineEdit* editMultiplier_;
    QLineEdit* editRangeOffset_;
    QLineEdit* editAvg_;
    QComboBox* cboUpload_;
    QPushButton* btnSerial_;
    QPushButton* btnModel_;
    QPushButton* btnUpload_;
};

} // namespace vk::legacy
