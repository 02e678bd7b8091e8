#include "panels/vkt02_scan_page.h"

namespace vk {

CVKT02ScanDlg::CVKT02ScanDlg(PanelContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("scanBufferPage"));
}

} // namespace vk
