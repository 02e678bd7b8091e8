#include "util_app/model_parts.h"

#include "util_app/document.h"
#include "util_app/view.h"

namespace vk {

void InstallModelParts(CVKT02Doc&, CSensorParentView&) {
    // The view already holds a named stand-in panel per model type and the document no
    // settings dialog; the model panels replace them here through
    // CSensorParentView::SetModelPanel and CVKT02Doc::InstallSettingsDialogs.
}

} // namespace vk
