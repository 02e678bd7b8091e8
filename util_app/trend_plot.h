#pragma once
// TrendPlot: the drawing of a TrendView, with QPainter. Each repaint walks only the
// points inside the window, so a full ten-minute series costs a few thousand line
// segments at most. Both value axes carry round ticks and their names; before the first
// poll the plot says that it waits for data.

#include "util_app/plot_axes.h"
#include "util_app/trend_series.h"

#include <QWidget>

#include <string>

namespace vk {

class TrendPlot : public QWidget {
public:
    TrendPlot(const TrendSeries& series, QWidget* parent = nullptr);

    void SetWindowSeconds(double seconds);
    // Frozen: the picture stays at the time it was frozen until thawed.
    void SetFrozen(bool frozen);
    void SetAutoscale(bool on);
    void SetSecondAxis(bool on);
    void SetUnit(const std::string& unit) { unit_ = unit; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TrendSeries& series_;
    double windowSeconds_ = 30;
    bool frozen_ = false;
    double frozenEnd_ = 0;
    bool autoscale_ = true;
    bool secondAxis_ = true;
    // The scales autoscale set last, kept while it is off.
    AxisScale rangeScale_;
    AxisScale secondScale_;
    std::string unit_;
};

} // namespace vk
