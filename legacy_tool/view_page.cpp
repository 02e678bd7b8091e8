#include "legacy_tool/view_page.h"

#include <QGridLayout>
#include <QLabel>

namespace vk::legacy {

ViewPage::ViewPage(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    auto* range = new QLabel(this);
    range->setObjectName("pnlRange");
    range->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblRangeUnit_ = new QLabel(this);
    lblRangeUnit_->setObjectName("lblRangeUnit");
    grid->addWidget(new QLabel("Range", this), 0, 0);
    grid->addWidget(range, 0, 1);
    grid->addWidget(lblRangeUnit_, 0, 2);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(3, 1);
}

void ViewPage::SetRangeUnit(const QString& label) {
    lblRangeUnit_->setText(label);
}

} // namespace vk::legacy
