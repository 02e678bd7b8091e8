#include "panels/numeric_up_down.h"

#include "panels/number_text.h"

#include <QGridLayout>
#include <QToolButton>

#include <algorithm>
#include <tuple>

namespace vk {

NumericUpDown::NumericUpDown(int minimum, int maximum, QWidget* parent)
    : QWidget(parent), edit_(new CNumericEdit(this)), up_(new QToolButton(this)),
      down_(new QToolButton(this)), minimum_(minimum), maximum_(std::max(minimum, maximum)) {
    edit_->SetDigitsOnly(true);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit_, 0, 0, 2, 1);
    int row = 0;
    for (auto [button, arrow, step] :
         {std::tuple{up_, Qt::UpArrow, 1}, std::tuple{down_, Qt::DownArrow, -1}}) {
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(16, 11);
        connect(button, &QToolButton::clicked, this, [this, step] { StepBy(step); });
        layout->addWidget(button, row++, 1);
    }
    setFocusProxy(edit_);
}

void NumericUpDown::StepBy(int steps) {
    const std::int64_t shown =
        std::clamp<std::int64_t>(TextAsInteger(edit_->text().toStdString()), minimum_, maximum_);
    edit_->setText(QString::number(std::clamp<std::int64_t>(shown + steps, minimum_, maximum_)));
}

} // namespace vk
