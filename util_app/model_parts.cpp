#include "util_app/model_parts.h"

#include "panels/vkt02_panel.h"
#include "panels/vkt02_settings_dlg.h"
#include "util_app/document.h"
#include "util_app/view.h"

#include <memory>

namespace vk {

void InstallModelParts(CVKT02Doc& doc, CSensorParentView& view) {
    // The VKT02 and the Rmx Long speak the same commands, so they share one panel and one
    // settings dialog. The other models keep the view's named stand-in panel and have no
    // settings dialog until theirs are installed here.
    auto* vkt02Panel = new CVKT02Dlg(doc, &view);
    view.SetModelPanel(ModelType::VKT02, vkt02Panel);
    view.SetModelPanel(ModelType::RmxLong, vkt02Panel);
    doc.InstallSettingsDialogs(std::make_unique<CVKT02SettingsDlg>(doc), nullptr, nullptr, nullptr);
}

} // namespace vk
