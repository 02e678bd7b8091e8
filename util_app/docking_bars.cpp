#include "util_app/docking_bars.h"

#include "util_app/frame.h"
#include "util_app/log_dialog.h"
#include "util_app/sensor_info.h"

#include <QFrame>
#include <QMainWindow>
#include <QResizeEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace vk {

CSizingBar::CSizingBar(const QString& title, QMainWindow* frame)
    : QDockWidget(title, frame),
      frame_(frame), sizes_{QSize(400, 120), QSize(220, 300), QSize(300, 200)} {
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    setAllowedAreas(Qt::AllDockWidgetAreas);
}

void CSizingBar::ApplySize() {
    if (isFloating()) {
        resize(sizes_.floating);
    } else {
        const Qt::DockWidgetArea area = frame_->dockWidgetArea(this);
        if (area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea)
            frame_->resizeDocks({this}, {sizes_.horz.height()}, Qt::Vertical);
        else
            frame_->resizeDocks({this}, {sizes_.vert.width()}, Qt::Horizontal);
    }
    tracking_ = true;
}

void CSizingBar::RecordSize() {
    if (isFloating()) {
        sizes_.floating = size();
        return;
    }
    const Qt::DockWidgetArea area = frame_->dockWidgetArea(this);
    if (area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea)
        sizes_.horz = size();
    else if (area != Qt::NoDockWidgetArea)
        sizes_.vert = size();
}

void CSizingBar::resizeEvent(QResizeEvent* event) {
    QDockWidget::resizeEvent(event);
    if (tracking_ && isVisible())
        RecordSize();
}

CSensorBar::CSensorBar(CMainFrame* frame, CVKT02Doc& doc)
    : CSizingBar(QStringLiteral("System:"), frame) {
    setObjectName(QStringLiteral("sensorBar"));
    auto* edge = new QFrame(this);
    edge->setFrameShape(QFrame::StyledPanel);
    edge->setFrameShadow(QFrame::Sunken);
    info_ = new CSensorSettingsDialog(frame, doc, edge);
    auto* layout = new QVBoxLayout(edge);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(info_);
    setWidget(edge);
}

void CSensorBar::Refill() {
    ++refills_;
    info_->Refill();
    FitToText();
}

void CSensorBar::FitToText() {
    const Qt::DockWidgetArea area = Frame()->dockWidgetArea(this);
    if (!fitToText_ || isFloating() || !isVisible() ||
        (area != Qt::LeftDockWidgetArea && area != Qt::RightDockWidgetArea))
        return;
    const int wanted = info_->WholeTextWidth() + (width() - info_->width());
    const int target = std::min(wanted, Frame()->width() * 2 / 5);
    if (target == width())
        return;
    Frame()->resizeDocks({this}, {target}, Qt::Horizontal);
}

CLogBar::CLogBar(QMainWindow* frame)
    : CSizingBar(QStringLiteral("Command log:"), frame), log_(new CLogDialog(this)) {
    setObjectName(QStringLiteral("logBar"));
    setWidget(log_);
}

} // namespace vk
