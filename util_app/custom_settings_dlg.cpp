#include "util_app/custom_settings_dlg.h"

namespace vk {

CCustomSettingsDlg::CCustomSettingsDlg(PanelContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {}

} // namespace vk
