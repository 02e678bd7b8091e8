#include "util_app/sensor_dialog.h"

#include <QResizeEvent>

namespace vk {

CSensorDialog::CSensorDialog(QWidget* parent) : QWidget(parent) {}

void CSensorDialog::OnSize(int, int) {}

void CSensorDialog::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    OnSize(event->size().width(), event->size().height());
}

} // namespace vk
