#include "util_app/text_panel.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vk {

CTextPanel::CTextPanel(const QString& text, QWidget* parent)
    : CSensorDialog(parent), label_(new QLabel(text, this)) {
    label_->setObjectName(QStringLiteral("panelText"));
    label_->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
}

QString CTextPanel::GetText() const {
    return label_->text();
}

} // namespace vk
