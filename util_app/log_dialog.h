#pragma once
// CLogDialog: the command log, a two-column list (icon, text) that only grows or is
// cleared at once. It always shows its newest line.

#include "sensor/log_sink.h"

#include <QWidget>

class QTreeWidget;

namespace vk {

class CLogDialog : public QWidget {
public:
    static constexpr int kIconColumnWidth = 20;
    static constexpr int kIconSize = 12;

    explicit CLogDialog(QWidget* parent = nullptr);

    // Appends one line with `icon`'s picture and scrolls to it; a null text adds nothing.
    void AddEntry(const char* text, LogIcon icon);
    // Deletes every line.
    void Clear();

    int LineCount() const;
    QString LineText(int row) const;
    // The icon a row was added with.
    LogIcon LineIcon(int row) const;
    QTreeWidget* List() const { return list_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ScrollToEnd();

    QTreeWidget* list_;
};

} // namespace vk
