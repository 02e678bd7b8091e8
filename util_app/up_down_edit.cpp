#include "util_app/up_down_edit.h"

#include "panels/number_text.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdint>

namespace vk {

QLineEdit* NewDigitsEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,10}")), edit));
    return edit;
}

UpDownEdit::UpDownEdit(QLineEdit* edit, QWidget* parent)
    : QWidget(parent), edit_(edit), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    edit_->setParent(this);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    // Arrows say nothing to a screen reader.
    up_->setAccessibleName(QStringLiteral("Step up"));
    down_->setAccessibleName(QStringLiteral("Step down"));
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setFixedSize(16, 11);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(up_, &QToolButton::clicked, this, [this] { StepBy(1); });
    connect(down_, &QToolButton::clicked, this, [this] { StepBy(-1); });

    auto* arrows = new QVBoxLayout;
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(up_);
    arrows->addWidget(down_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(edit_);
    layout->addLayout(arrows);
    setFocusProxy(edit_);
}

void UpDownEdit::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
}

void UpDownEdit::StepBy(int steps) {
    if (!edit_->isEnabled())
        return;
    const std::int64_t shown =
        std::clamp<std::int64_t>(TextAsInteger(edit_->text().toStdString()), minimum_, maximum_);
    edit_->setText(QString::number(std::clamp<std::int64_t>(shown + steps, minimum_, maximum_)));
}

} // namespace vk
