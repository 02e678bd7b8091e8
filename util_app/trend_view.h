#pragma once
// TrendView: the "Trend" beside a model panel's list. It plots the range in the sensor's
// unit over a rolling window (30 s, 2 min or 10 min), with peak and laser power on a
// second axis that can be switched off. "Out of Range" leaves a gap. Pause freezes the
// picture while the polls go on being kept; "Autoscale" off holds the scale it had.
// It is fed the samples the panel already polled and never asks the sensor anything.

#include "util_app/poll_sample.h"
#include "util_app/trend_series.h"

#include <QWidget>

#include <array>
#include <chrono>
#include <vector>

class QCheckBox;
class QComboBox;
class QVBoxLayout;

namespace vk {

class TrendPlot;

class TrendView : public QWidget {
public:
    explicit TrendView(QWidget* parent = nullptr);

    // Takes one successful poll. A change of unit starts the plot afresh.
    void Add(const PollSample& sample);
    // The values stop here (the connection ended, the port was lost): the lines break, so
    // the first poll of a later connection is not joined to the last one before.
    void AddGap();
    const TrendSeries& Series() const { return series_; }
    // The window shown, in seconds.
    double WindowSeconds() const;

    QComboBox* WindowBox() const { return window_; }
    QCheckBox* PauseBox() const { return pause_; }
    QCheckBox* AutoscaleBox() const { return autoscale_; }
    QCheckBox* SecondAxisBox() const { return secondAxis_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The controls above the plot, in as many rows as the width needs.
    void PlaceControls();
    // The window box and the three check boxes, in their order.
    std::array<QWidget*, 4> Controls() const;

    TrendSeries series_;
    std::string unit_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    QComboBox* window_;
    QCheckBox* pause_;
    QCheckBox* autoscale_;
    QCheckBox* secondAxis_;
    TrendPlot* plot_;
    QVBoxLayout* controls_;
    std::vector<int> controlRows_; // the row of each control, as placed last
};

} // namespace vk
