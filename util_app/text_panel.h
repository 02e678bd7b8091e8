#pragma once
// A panel that only shows one line of text near its middle: "Not Connected".

#include "util_app/sensor_dialog.h"

class QLabel;

namespace vk {

class CTextPanel : public CSensorDialog {
public:
    explicit CTextPanel(const QString& text, QWidget* parent = nullptr);
    // The text shown.
    QString GetText() const override;

private:
    QLabel* label_;
};

} // namespace vk
