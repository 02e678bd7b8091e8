#include "util_app/trend_series.h"

namespace vk {

void TrendSeries::Add(const TrendPoint& point) {
    if (!points_.empty() && point.seconds < points_.back().seconds)
        points_.clear();
    points_.push_back(point);
    while (points_.size() > kCapacity ||
           points_.front().seconds < point.seconds - kLongestWindowSeconds)
        points_.pop_front();
}

} // namespace vk
