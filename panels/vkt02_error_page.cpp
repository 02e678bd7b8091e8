#include "panels/vkt02_error_page.h"

namespace vk {

CVKT02ErrorDlg::CVKT02ErrorDlg(PanelContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("sensorErrorsPage"));
}

} // namespace vk
