#include "panels/rmx_short_settings_dlg.h"

namespace vk {

CRMXSSettingsDlg::CRMXSSettingsDlg(PanelContext& context, QWidget* parent)
    : CVkt04FamilySettingsDlg(context, ModelType::RmxShort, kRmxShortRules, parent) {
    setObjectName(QStringLiteral("rmxShortSettings"));
    BuildSharedGroups(texts_, nullptr, {});
}

void CRMXSSettingsDlg::GetSettingsList(std::vector<std::string>& names,
                                       std::vector<std::string>& values) {
    FillRmxShortSettingsList(texts_, names, values);
}

void CRMXSSettingsDlg::ReloadSettings() {
    ReloadWith(&ReadRmxShortSettings, texts_);
}

} // namespace vk
