#pragma once
// CVKT02Dlg: the panel the view shows while a VKT02 or an Rmx Long is connected. Three
// pages under tabs: "Diagnostic" (polled on every refresh tick), "Scan Buffer" and
// "Sensor errors" (changed only by their own buttons).

#include "util_app/sensor_dialog.h"

class QTabWidget;

namespace vk {

class CVKT02DiagsDlg;
class CVKT02ErrorDlg;
class CVKT02ScanDlg;
class PanelContext;

class CVKT02Dlg : public CSensorDialog {
public:
    // `context` must outlive the panel.
    explicit CVKT02Dlg(PanelContext& context, QWidget* parent = nullptr);

    // Runs the diagnostic page's update, whichever page is shown.
    void OnPeriodicUpdate() override;

    QTabWidget* Tabs() const { return tabs_; }
    CVKT02DiagsDlg* DiagnosticPage() const { return diagnostic_; }
    CVKT02ScanDlg* ScanPage() const { return scan_; }
    CVKT02ErrorDlg* ErrorPage() const { return errors_; }
    // The page of the selected tab.
    QWidget* CurrentPage() const;

private:
    QTabWidget* tabs_;
    CVKT02DiagsDlg* diagnostic_;
    CVKT02ScanDlg* scan_;
    CVKT02ErrorDlg* errors_;
};

} // namespace vk
