#include "util_app/log_dialog.h"

#include <QHeaderView>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vk {

namespace {

QIcon IconFor(const QStyle* style, LogIcon icon) {
    switch (icon) {
    case LogIcon::Error:
        return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case LogIcon::Warning:
        return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case LogIcon::Information:
    default:
        return style->standardIcon(QStyle::SP_MessageBoxInformation);
    }
}

constexpr int kIconRole = Qt::UserRole;

} // namespace

CLogDialog::CLogDialog(QWidget* parent) : QWidget(parent), list_(new QTreeWidget(this)) {
    list_->setObjectName(QStringLiteral("logList"));
    list_->setAccessibleName(QStringLiteral("Command log"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({QString(), QStringLiteral("Command log")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setIconSize(QSize(kIconSize, kIconSize));
    list_->header()->setStretchLastSection(false);
    list_->header()->setMinimumSectionSize(kIconSize);
    list_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->setColumnWidth(0, kIconColumnWidth);
    list_->setColumnWidth(1, 100);
    // The range grows after a line is added or the list is resized, once the list has
    // laid itself out; following it keeps the newest line in view.
    connect(list_->verticalScrollBar(), &QScrollBar::rangeChanged, list_,
            [this](int, int maximum) { list_->verticalScrollBar()->setValue(maximum); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);
}

void CLogDialog::AddEntry(const char* text, LogIcon icon) {
    if (!text)
        return;
    auto* item = new QTreeWidgetItem(list_);
    item->setIcon(0, IconFor(style(), icon));
    item->setData(0, kIconRole, static_cast<int>(icon));
    item->setText(1, QString::fromUtf8(text));
    // A line longer than the log is wide reads whole in its tooltip.
    item->setToolTip(1, item->text(1));
    ScrollToEnd();
}

void CLogDialog::Clear() {
    list_->clear();
}

int CLogDialog::LineCount() const {
    return list_->topLevelItemCount();
}

QString CLogDialog::LineText(int row) const {
    const QTreeWidgetItem* item = list_->topLevelItem(row);
    return item ? item->text(1) : QString();
}

LogIcon CLogDialog::LineIcon(int row) const {
    const QTreeWidgetItem* item = list_->topLevelItem(row);
    return item ? static_cast<LogIcon>(item->data(0, kIconRole).toInt()) : LogIcon::Error;
}

void CLogDialog::ScrollToEnd() {
    list_->scrollToBottom();
}

void CLogDialog::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    list_->setColumnWidth(0, kIconColumnWidth);
    list_->setColumnWidth(1, event->size().width() - 25);
    ScrollToEnd();
}

} // namespace vk
