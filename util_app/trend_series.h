#pragma once
// TrendSeries: the recent history of a panel's polls for the trend plot. It keeps the
// longest window the plot offers and never more points than a panel can poll in it, so
// its memory stays bounded however long the program runs.

#include <cstddef>
#include <deque>
#include <optional>

namespace vk {

struct TrendPoint {
    double seconds = 0;          // on a steady clock, growing
    std::optional<double> range; // none: "Out of Range", drawn as a gap
    std::optional<double> peak;
    std::optional<double> laserPower;
};

class TrendSeries {
public:
    // The longest window, and the most points kept: ten minutes of polls every 250 ms,
    // twice over for polls that come between the ticks (a refresh after a command).
    static constexpr double kLongestWindowSeconds = 600.0;
    static constexpr std::size_t kCapacity = 2 * 4 * 600;

    // Adds `point` and forgets what fell out of the longest window behind it, and the
    // oldest when full. A point older than the newest is taken as a new start: the series
    // is cleared first, so the time axis never runs backwards.
    void Add(const TrendPoint& point);
    void Clear() { points_.clear(); }

    std::size_t Size() const { return points_.size(); }
    const TrendPoint& At(std::size_t i) const { return points_[i]; }
    const std::deque<TrendPoint>& Points() const { return points_; }

private:
    std::deque<TrendPoint> points_;
};

} // namespace vk
