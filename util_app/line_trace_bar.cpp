#include "util_app/line_trace_bar.h"

#include "link/dcs_link.h"
#include "util_app/user_prompts.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListView>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace vk {

int TraceLineModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant TraceLineModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() ||
        static_cast<std::size_t>(index.row()) >= lines_.size())
        return {};
    return lines_[static_cast<std::size_t>(index.row())];
}

void TraceLineModel::Append(std::vector<std::string> lines) {
    constexpr std::size_t keep = TraceCollector::kKeep;
    if (lines.empty())
        return;
    if (lines.size() > keep)
        lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(keep));
    const std::size_t overflow =
        lines_.size() + lines.size() > keep ? lines_.size() + lines.size() - keep : 0;
    if (overflow > 0) {
        beginRemoveRows({}, 0, static_cast<int>(overflow) - 1);
        lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(overflow));
        endRemoveRows();
    }
    const int first = static_cast<int>(lines_.size());
    beginInsertRows({}, first, first + static_cast<int>(lines.size()) - 1);
    for (const std::string& line : lines)
        lines_.push_back(QString::fromStdString(line));
    endInsertRows();
}

void TraceLineModel::Clear() {
    beginResetModel();
    lines_.clear();
    endResetModel();
}

CLineTraceBar::CLineTraceBar(QWidget* parent, DcsLink& link, UserPrompts& prompts)
    : QDockWidget(QStringLiteral("Line Trace"), parent), link_(link), prompts_(prompts),
      model_(new TraceLineModel(this)), list_(new QListView),
      pause_(new QPushButton(QStringLiteral("Pause"))), drainTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("lineTraceBar"));
    setAccessibleName(QStringLiteral("Line trace"));
    toggleViewAction()->setObjectName(QStringLiteral("viewLineTrace"));
    toggleViewAction()->setStatusTip(
        QStringLiteral("Show or hide the frames and bytes on the line"));

    auto* body = new QWidget(this);
    auto* clear = new QPushButton(QStringLiteral("Clear"), body);
    auto* copy = new QPushButton(QStringLiteral("Copy"), body);
    auto* save = new QPushButton(QStringLiteral("Save..."), body);
    pause_->setParent(body);
    pause_->setCheckable(true);
    const std::pair<QPushButton*, const char*> buttons[] = {
        {pause_, "tracePause"}, {clear, "traceClear"}, {copy, "traceCopy"}, {save, "traceSave"}};
    for (const auto& [button, name] : buttons) {
        button->setObjectName(QString::fromLatin1(name));
        button->setAccessibleName(button->text().remove(QStringLiteral("...")) +
                                  QStringLiteral(" trace"));
    }
    list_->setParent(body);
    list_->setObjectName(QStringLiteral("traceList"));
    list_->setAccessibleName(QStringLiteral("Trace lines"));
    list_->setModel(model_);
    // Every row is one line of one font: the view need not measure 10 000 of them.
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setFont(QFont(QStringLiteral("Monospace")));

    auto* row = new QHBoxLayout;
    for (const auto& [button, name] : buttons)
        row->addWidget(button);
    row->addStretch(1);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(row);
    layout->addWidget(list_, 1);
    setWidget(body);

    drainTimer_->setInterval(kDrainIntervalMs);
    connect(drainTimer_, &QTimer::timeout, this, &CLineTraceBar::Drain);
    connect(pause_, &QPushButton::toggled, this, [this](bool paused) {
        if (!paused)
            Drain();
    });
    connect(clear, &QPushButton::clicked, model_, &TraceLineModel::Clear);
    connect(copy, &QPushButton::clicked, this, &CLineTraceBar::Copy);
    connect(save, &QPushButton::clicked, this, &CLineTraceBar::Save);
}

CLineTraceBar::~CLineTraceBar() {
    if (link_.Observer() == &collector_)
        link_.SetObserver(nullptr);
}

int CLineTraceBar::HeightForLines(int lines) const {
    const int row = QFontMetrics(list_->font()).height() + 2;
    const int besideList = sizeHint().height() - list_->sizeHint().height();
    return besideList + 2 * list_->frameWidth() + lines * row;
}

void CLineTraceBar::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    link_.SetObserver(&collector_);
    drainTimer_->start();
}

void CLineTraceBar::hideEvent(QHideEvent* event) {
    QDockWidget::hideEvent(event);
    // A hidden window costs the link nothing; what came before stays listed.
    if (link_.Observer() == &collector_)
        link_.SetObserver(nullptr);
    drainTimer_->stop();
    Drain();
}

void CLineTraceBar::Drain() {
    if (pause_->isChecked())
        return;
    const bool atEnd =
        list_->model()->rowCount() == 0 ||
        list_->indexAt(list_->viewport()->rect().bottomLeft()).row() < 0 ||
        list_->indexAt(list_->viewport()->rect().bottomLeft()).row() >= model_->rowCount() - 1;
    model_->Append(collector_.Take());
    // Follow the newest line unless the user scrolled up to read.
    if (atEnd)
        list_->scrollToBottom();
}

void CLineTraceBar::Copy() {
    QStringList lines;
    QModelIndexList selected = list_->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end());
    if (selected.isEmpty()) {
        for (const QString& line : model_->Lines())
            lines << line;
    } else {
        for (const QModelIndex& index : selected)
            lines << model_->data(index, Qt::DisplayRole).toString();
    }
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

bool CLineTraceBar::Save() {
    const QString path =
        prompts_.SaveFile(this, QStringLiteral("Text Files (*.txt)"), QStringLiteral("trace.txt"));
    if (path.isEmpty())
        return false;
    if (QFileInfo::exists(path) &&
        !prompts_.AskYesNo(this, QStringLiteral("%1 already exists. Replace it?").arg(path)))
        return false;
    // A new file renamed over the old one: a failure leaves the old file as it was.
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Text);
    for (auto it = model_->Lines().begin(); ok && it != model_->Lines().end(); ++it)
        ok = file.write(it->toUtf8()) >= 0 && file.write("\n", 1) == 1;
    if (ok && file.commit())
        return true;
    file.cancelWriting();
    prompts_.Error(
        this, QStringLiteral("Could not save the trace to %1: %2").arg(path, file.errorString()));
    return false;
}

} // namespace vk
