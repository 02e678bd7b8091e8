#pragma once
// TrendPlot: the drawing of a TrendView, with QPainter. Each repaint walks only the
// points inside the window, so a full ten-minute series costs a few thousand line
// segments at most.

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
    struct Scale {
        double low = 0;
        double high = 1;
    };

    const TrendSeries& series_;
    double windowSeconds_ = 30;
    bool frozen_ = false;
    double frozenEnd_ = 0;
    bool autoscale_ = true;
    bool secondAxis_ = true;
    Scale rangeScale_;
    Scale secondScale_;
    std::string unit_;
};

} // namespace vk
