#include "util_app/model_parts.h"

#include "panels/rmx_short_settings_dlg.h"
#include "panels/vkt02_panel.h"
#include "panels/vkt02_settings_dlg.h"
#include "panels/vkt04_panel.h"
#include "panels/vkt04_settings_dlg.h"
#include "panels/vkt04bf_panel.h"
#include "panels/vkt04bf_settings_dlg.h"
#include "util_app/document.h"
#include "util_app/scan_buffer_dialog.h"
#include "util_app/view.h"

#include <memory>

namespace vk {

void InstallModelParts(CVKT02Doc& doc, CSensorParentView& view) {
    // The VKT02 and the Rmx Long speak the same commands, so they share one panel and one
    // settings dialog.
    auto* vkt02Panel = new CVKT02Dlg(doc, &view);
    view.SetModelPanel(ModelType::VKT02, vkt02Panel);
    view.SetModelPanel(ModelType::RmxLong, vkt02Panel);
    view.SetModelPanel(ModelType::VKT04, new CVKT04Dlg(doc, &view));
    view.SetModelPanel(ModelType::RmxShort, new CRmxShortDlg(doc, &view));
    auto* vezirPanel = new CVKT04BFDlg(doc, &view);
    vezirPanel->SetScanBufferReader([&doc](QWidget* parent, int rangesToRead) {
        OpenScanBufferReader(doc, parent, rangesToRead);
    });
    view.SetModelPanel(ModelType::VKT04VezirOrududu, vezirPanel);
    doc.InstallSettingsDialogs(
        std::make_unique<CVKT02SettingsDlg>(doc), std::make_unique<CVKT04SettingsDlg>(doc),
        std::make_unique<CRMXSSettingsDlg>(doc), std::make_unique<CVKT04BFSettingsDlg>(doc));
}

} // namespace vk
