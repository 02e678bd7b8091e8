#include "util_app/trend_plot.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace vk {

namespace {

const QColor kRangeColour(0, 90, 200);
const QColor kPeakColour(220, 120, 0);
const QColor kLaserColour(20, 150, 60);

using Value = std::function<std::optional<double>(const TrendPoint&)>;

// Low and high of `values` over the points from `first` on.
Extent ExtentOf(const std::deque<TrendPoint>& points, std::size_t first,
                std::initializer_list<Value> values) {
    Extent extent;
    for (std::size_t i = first; i < points.size(); ++i)
        for (const Value& value : values)
            Widen(extent, value(points[i]));
    return extent;
}

} // namespace

TrendPlot::TrendPlot(const TrendSeries& series, QWidget* parent)
    : QWidget(parent), series_(series) {
    setObjectName(QStringLiteral("trendPlot"));
    setAccessibleName(QStringLiteral("Trend plot"));
    setMinimumSize(160, 80);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TrendPlot::SetWindowSeconds(double seconds) {
    windowSeconds_ = seconds;
    update();
}

void TrendPlot::SetFrozen(bool frozen) {
    frozen_ = frozen;
    frozenEnd_ = series_.Size() ? series_.Points().back().seconds : 0;
    update();
}

void TrendPlot::SetAutoscale(bool on) {
    autoscale_ = on;
    update();
}

void TrendPlot::SetSecondAxis(bool on) {
    secondAxis_ = on;
    update();
}

void TrendPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const std::deque<TrendPoint>& points = series_.Points();
    if (points.empty()) {
        DrawEmptyPlot(painter, *this, QStringLiteral("Waiting for data"));
        return;
    }

    const double end = frozen_ ? frozenEnd_ : points.back().seconds;
    const double begin = end - windowSeconds_;
    // The points of the window: the first at or after its start, up to its end.
    const auto firstIt =
        std::lower_bound(points.begin(), points.end(), begin,
                         [](const TrendPoint& p, double t) { return p.seconds < t; });
    const auto first = static_cast<std::size_t>(firstIt - points.begin());
    std::size_t count = 0;
    while (first + count < points.size() && points[first + count].seconds <= end)
        ++count;

    const QFontMetrics metrics = painter.fontMetrics();
    const int line = metrics.height();
    // Room above the plot for half the top tick label.
    const double top = line / 2 + 4;
    const double plotHeight = std::max(1.0, height() - top - line - 6);

    const Value range = [](const TrendPoint& p) { return p.range; };
    const Value peak = [](const TrendPoint& p) { return p.peak; };
    const Value laser = [](const TrendPoint& p) { return p.laserPower; };
    // Autoscale fits a scale to the values shown; one with no values shown keeps its own.
    const auto ticksOf = [&](AxisScale& scale, std::initializer_list<Value> values) {
        if (autoscale_) {
            if (auto e = ExtentOf(points, first, values)) {
                AxisTicks ticks = TicksFor(e->first, e->second, plotHeight, *this);
                scale = ScaleOf(ticks);
                return ticks;
            }
        }
        return TicksFor(scale.low, scale.high, plotHeight, *this);
    };
    const AxisTicks rangeTicks = ticksOf(rangeScale_, {range});
    const AxisTicks secondTicks = ticksOf(secondScale_, {peak, laser});

    // Axis name, tick labels, plot area, tick labels, axis name.
    const double leftRoom = WidestLabel(metrics, rangeTicks) + 10;
    const double rightRoom = secondAxis_ ? WidestLabel(metrics, secondTicks) + 10 : 0;
    const double left = line + 4 + leftRoom;
    const double right = secondAxis_ ? line + 4 + rightRoom : 12;
    const QRectF area(left, top, std::max(1.0, width() - left - right), plotHeight);
    painter.setPen(palette().mid().color());
    painter.drawRect(area);

    DrawValueTicks(painter, area, rangeTicks, rangeScale_, AxisSide::Left, leftRoom, kRangeColour,
                   palette().midlight().color());
    DrawAxisTitle(painter, *this, area, AxisSide::Left, {{RangeAxisName(unit_), kRangeColour}});
    if (secondAxis_) {
        DrawValueTicks(painter, area, secondTicks, secondScale_, AxisSide::Right, rightRoom,
                       kPeakColour, QColor());
        // The axis name says which line is which, each word in its line's colour.
        DrawAxisTitle(painter, *this, area, AxisSide::Right,
                      {{QStringLiteral("Peak"), kPeakColour},
                       {QStringLiteral(", "), palette().text().color()},
                       {QStringLiteral("laser power"), kLaserColour}});
    }

    // Seconds before the newest poll, on round steps too; a narrow plot still gets one
    // mark between the ends.
    const AxisTicks timeTicks =
        RoundTicks(-windowSeconds_, 0,
                   std::max(2, static_cast<int>(area.width()) /
                                   (metrics.horizontalAdvance(QStringLiteral("-000 s")) * 2)));
    painter.setPen(palette().text().color());
    for (int i = 0; i < timeTicks.count; ++i) {
        const double t = timeTicks.At(i);
        if (t < -windowSeconds_)
            continue;
        const double x = area.right() + t / windowSeconds_ * area.width();
        const QString label = t == 0 ? QStringLiteral("now")
                                     : QStringLiteral("%1 s").arg(QString::fromStdString(
                                           TickLabel(t, timeTicks.decimals)));
        const double half = metrics.horizontalAdvance(label) / 2.0;
        // The outer labels stay within the area's ends.
        const double at = std::max(area.left() - half, std::min(x - half, area.right() - 2 * half));
        painter.drawText(QPointF(at, area.bottom() + 2 + metrics.ascent()), label);
    }

    // The lines, broken wherever a value is missing.
    painter.setClipRect(area.adjusted(-1, -1, 1, 1));
    painter.setRenderHint(QPainter::Antialiasing, false);
    auto draw = [&](const Value& value, const AxisScale& scale, const QColor& colour) {
        const QPainterPath path = BrokenLine(count, [&](std::size_t i) -> std::optional<QPointF> {
            const TrendPoint& p = points[first + i];
            const std::optional<double> v = value(p);
            if (!v)
                return std::nullopt;
            return QPointF(area.left() + (p.seconds - begin) / windowSeconds_ * area.width(),
                           area.bottom() - scale.Fraction(*v) * area.height());
        });
        painter.setPen(QPen(colour, 1.5));
        painter.drawPath(path);
    };
    if (secondAxis_) {
        draw(peak, secondScale_, kPeakColour);
        draw(laser, secondScale_, kLaserColour);
    }
    draw(range, rangeScale_, kRangeColour);
}

} // namespace vk
