#pragma once
// The one place where the model panels and settings dialogs join the utility.

namespace vk {

class CSensorParentView;
class CVKT02Doc;

// Gives the view its panel for every model type and the document its settings dialogs.
void InstallModelParts(CVKT02Doc& doc, CSensorParentView& view);

} // namespace vk
