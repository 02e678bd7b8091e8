#include "panels/vkt02_panel.h"

#include "panels/vkt02_diags_page.h"
#include "panels/vkt02_error_page.h"
#include "panels/vkt02_scan_page.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace vk {

CVKT02Dlg::CVKT02Dlg(PanelContext& context, QWidget* parent)
    : CSensorDialog(parent), tabs_(new QTabWidget(this)),
      diagnostic_(new CVKT02DiagsDlg(context, tabs_)), scan_(new CVKT02ScanDlg(context, tabs_)),
      errors_(new CVKT02ErrorDlg(context, tabs_)) {
    setObjectName(QStringLiteral("vkt02Panel"));
    tabs_->setObjectName(QStringLiteral("panelTabs"));
    tabs_->addTab(diagnostic_, QStringLiteral("Diagnostic"));
    tabs_->addTab(scan_, QStringLiteral("Scan Buffer"));
    tabs_->addTab(errors_, QStringLiteral("Sensor errors"));
    tabs_->setCurrentIndex(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);
}

void CVKT02Dlg::OnPeriodicUpdate() {
    diagnostic_->Update();
}

QWidget* CVKT02Dlg::CurrentPage() const {
    return tabs_->currentWidget();
}

} // namespace vk
