#pragma once
// CVKT02ErrorDlg: the "Sensor errors" page of the VKT02 (and Rmx Long) panel. "Get
// Errors" reads the sensor's counters and calibration marker into six rows; nothing
// else, not even a refresh tick, changes them.

#include <QWidget>

class QPushButton;
class QTableWidget;

namespace vk {

class PanelContext;

class CVKT02ErrorDlg : public QWidget {
public:
    // `context` must outlive the page.
    explicit CVKT02ErrorDlg(PanelContext& context, QWidget* parent = nullptr);

    // "Get Errors". Not connected: the rows go. No rows: they come back empty and nothing
    // is sent. Else GetErrorState, and on success the six values.
    void OnGetErrors();

    QTableWidget* List() const { return list_; }
    QPushButton* GetErrorsButton() const { return getErrors_; }

private:
    PanelContext& context_;
    QTableWidget* list_;
    QPushButton* getErrors_;
};

} // namespace vk
