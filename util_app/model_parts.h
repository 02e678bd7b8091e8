#pragma once
// The one place where the model panels and settings dialogs join the utility. Until a
// model has its own panel, the view shows a panel that names the model, and the model
// has no settings dialog (its settings commands then do nothing).

namespace vk {

class CSensorParentView;
class CVKT02Doc;

// Gives the view its panel for every model type and the document its settings dialogs.
void InstallModelParts(CVKT02Doc& doc, CSensorParentView& view);

} // namespace vk
