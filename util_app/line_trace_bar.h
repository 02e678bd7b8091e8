#pragma once
// CLineTraceBar: View > Line Trace, a docking window listing every frame sent and received
// and every byte on the line that was not a frame, newest last, keeping the newest
// 10 000 lines. Pause holds the list still (the traffic meanwhile is kept and shown on
// resume, up to the same bound); Clear empties it; Copy puts the selected lines (all when
// none is selected) on the clipboard; Save writes the list to a text file, whole or not
// at all. The link is watched only while the window is shown.

#include "util_app/trace_collector.h"

#include <QAbstractListModel>
#include <QDockWidget>

#include <deque>

class QListView;
class QPushButton;
class QTimer;

namespace vk {

class DcsLink;
class UserPrompts;

// The lines of the trace window, appended in batches so the view repaints once per batch.
class TraceLineModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Appends `lines`, then drops the oldest beyond TraceCollector::kKeep.
    void Append(std::vector<std::string> lines);
    void Clear();
    const std::deque<QString>& Lines() const { return lines_; }

private:
    std::deque<QString> lines_;
};

class CLineTraceBar : public QDockWidget {
public:
    static constexpr int kDrainIntervalMs = 200;

    // `link` and `prompts` must outlive the bar.
    CLineTraceBar(QWidget* parent, DcsLink& link, UserPrompts& prompts);
    ~CLineTraceBar() override;

    // Takes what the link reported since the last call into the list (unless paused).
    void Drain();
    void Copy();
    // Asks for a file and writes every line to it; false when nothing was written.
    bool Save();

    // The height at which the bar, title and buttons included, shows `lines` lines.
    int HeightForLines(int lines) const;

    TraceLineModel* Model() const { return model_; }
    QListView* List() const { return list_; }
    QPushButton* PauseButton() const { return pause_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    DcsLink& link_;
    UserPrompts& prompts_;
    TraceCollector collector_;
    TraceLineModel* model_;
    QListView* list_;
    QPushButton* pause_;
    QTimer* drainTimer_;
};

} // namespace vk
