#include "util_app/view.h"

#include "util_app/text_panel.h"

#include <QShowEvent>

#include <algorithm>

namespace vk {

CSensorParentView::CSensorParentView(QWidget* parent)
    : QWidget(parent), notConnected_(new CTextPanel(QStringLiteral("Not Connected"), this)),
      current_(notConnected_) {
    setObjectName(QStringLiteral("sensorView"));
    notConnected_->setObjectName(QStringLiteral("notConnectedPanel"));
    current_->show();
}

void CSensorParentView::SetModelPanel(ModelType type, CSensorDialog* panel) {
    const auto index = static_cast<std::size_t>(type);
    if (index >= panels_.size() || !panel)
        return;
    CSensorDialog* old = panels_[index];
    panel->setParent(this);
    panel->hide();
    panels_[index] = panel;
    if (old && old != panel && std::find(panels_.begin(), panels_.end(), old) == panels_.end()) {
        if (current_ == old)
            ShowPanel(panel);
        old->deleteLater();
        old->hide();
    }
}

CSensorDialog* CSensorParentView::ModelPanel(ModelType type) const {
    const auto index = static_cast<std::size_t>(type);
    return index < panels_.size() ? panels_[index] : nullptr;
}

void CSensorParentView::Place(CSensorDialog* panel) {
    panel->setGeometry(rect());
}

void CSensorParentView::ShowPanel(CSensorDialog* panel) {
    if (!panel)
        return;
    Place(panel);
    if (current_ && current_ != panel)
        current_->hide();
    panel->show();
    current_ = panel;
}

void CSensorParentView::ShowModelPanel(ModelType type) {
    ShowPanel(ModelPanel(type));
}

void CSensorParentView::ShowNotConnected() {
    ShowPanel(notConnected_);
}

void CSensorParentView::UpdatePanel() {
    if (ready_ && current_)
        current_->OnPeriodicUpdate();
}

void CSensorParentView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (current_) {
        Place(current_);
        current_->show();
    }
    ready_ = true;
}

void CSensorParentView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (ready_ && current_)
        Place(current_);
}

} // namespace vk
