#pragma once
// CSingleListPanel: the panel of the VKT04, the Rmx Short and the Vezir Orududu. One list
// of eight fixed rows ("Base pix." to "Range") under an "Update Diagnostics" box; while
// the box is ticked every refresh tick reads the sensor state and rewrites the value
// column. The row names appear on the first tick after a connection even while the box
// is unticked.
//
// The list, with the trend beside it, hangs below a frame along the top of the panel (the
// anchor, which holds the box and any buttons of the panel): it starts 5 pixels below the
// anchor's lower edge b and reaches down to the foot of the panel.

#include "sensor/records.h"
#include "util_app/sensor_dialog.h"

class QCheckBox;
class QFrame;
class QHBoxLayout;
class QSplitter;
class QTableWidget;

namespace vk {

class PanelContext;
class SensorDevice;
class TrendView;

class CSingleListPanel : public CSensorDialog {
public:
    // `context` must outlive the panel.
    explicit CSingleListPanel(PanelContext& context, QWidget* parent = nullptr);

    // One refresh tick. Not connected: the rows go. Else the rows come back if they were
    // gone; with the box ticked the state is read and, when it answered, rows 0-5 and 7
    // are rewritten. A failure ends the tick (the command layer has logged it).
    void OnPeriodicUpdate() override;
    // Places the anchor along the top and the list below it.
    void OnSize(int width, int height) override;

    bool UpdateEnabled() const { return updateEnabled_; }
    QTableWidget* List() const { return list_; }
    QCheckBox* UpdateBox() const { return updateBox_; }
    QFrame* Anchor() const { return anchor_; }
    // The list and the trend side by side, in the place the list takes.
    QSplitter* ListAndTrend() const { return splitter_; }
    TrendView* Trend() const { return trend_; }

protected:
    // Reads the state the rows show; null when the command failed.
    virtual const SensorStateRecord* ReadState(SensorDevice& sensor) = 0;
    // The row of the anchor, right of the box, for a panel's own buttons.
    QHBoxLayout* AnchorRow() const { return anchorRow_; }
    PanelContext& Context() const { return context_; }

private:
    PanelContext& context_;
    QFrame* anchor_;
    QHBoxLayout* anchorRow_;
    QCheckBox* updateBox_;
    QSplitter* splitter_;
    QTableWidget* list_;
    TrendView* trend_;
    bool updateEnabled_ = false;
    bool ready_ = false;
};

} // namespace vk
