#include "util_app/trend_plot.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace vk {

namespace {

constexpr int kLeftMargin = 64;
constexpr int kRightMargin = 56;
constexpr int kTopMargin = 20;
constexpr int kBottomMargin = 22;
constexpr int kTicks = 4;

const QColor kRangeColour(0, 90, 200);
const QColor kPeakColour(220, 120, 0);
const QColor kLaserColour(20, 150, 60);

using Value = std::function<std::optional<double>(const TrendPoint&)>;

// Low and high of `values` over the points, with a little room above and below.
std::optional<std::pair<double, double>> Extent(const std::deque<TrendPoint>& points,
                                                std::size_t first,
                                                std::initializer_list<Value> values) {
    std::optional<std::pair<double, double>> extent;
    for (std::size_t i = first; i < points.size(); ++i) {
        for (const Value& value : values) {
            const std::optional<double> v = value(points[i]);
            if (!v)
                continue;
            if (!extent)
                extent = std::pair{*v, *v};
            extent->first = std::min(extent->first, *v);
            extent->second = std::max(extent->second, *v);
        }
    }
    if (!extent)
        return extent;
    double span = extent->second - extent->first;
    if (span <= 0)
        span = std::max(1.0, std::fabs(extent->first) * 0.1);
    extent->first -= span * 0.05;
    extent->second += span * 0.05;
    return extent;
}

} // namespace

TrendPlot::TrendPlot(const TrendSeries& series, QWidget* parent)
    : QWidget(parent), series_(series) {
    setObjectName(QStringLiteral("trendPlot"));
    setAccessibleName(QStringLiteral("Trend plot"));
    setMinimumSize(200, 120);
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
    const QRectF area(kLeftMargin, kTopMargin, std::max(1, width() - kLeftMargin - kRightMargin),
                      std::max(1, height() - kTopMargin - kBottomMargin));
    painter.setPen(palette().mid().color());
    painter.drawRect(area);

    const std::deque<TrendPoint>& points = series_.Points();
    const double end = frozen_ ? frozenEnd_ : (points.empty() ? 0 : points.back().seconds);
    const double begin = end - windowSeconds_;
    // The points of the window: the first at or after its start, up to its end.
    const auto firstIt =
        std::lower_bound(points.begin(), points.end(), begin,
                         [](const TrendPoint& p, double t) { return p.seconds < t; });
    const auto first = static_cast<std::size_t>(firstIt - points.begin());

    const Value range = [](const TrendPoint& p) { return p.range; };
    const Value peak = [](const TrendPoint& p) { return p.peak; };
    const Value laser = [](const TrendPoint& p) { return p.laserPower; };
    if (autoscale_) {
        if (auto e = Extent(points, first, {range}))
            rangeScale_ = {e->first, e->second};
        if (auto e = Extent(points, first, {peak, laser}))
            secondScale_ = {e->first, e->second};
    }

    const QColor text = palette().text().color();
    painter.setPen(text);
    const QFontMetrics metrics(font());
    // Axis labels.
    for (int i = 0; i <= kTicks; ++i) {
        const double y = area.bottom() - area.height() * i / kTicks;
        const double r = rangeScale_.low + (rangeScale_.high - rangeScale_.low) * i / kTicks;
        painter.setPen(palette().midlight().color());
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(kRangeColour);
        painter.drawText(QRectF(0, y - 8, kLeftMargin - 4, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(r, 'g', 5));
        if (secondAxis_) {
            const double s = secondScale_.low + (secondScale_.high - secondScale_.low) * i / kTicks;
            painter.setPen(kPeakColour);
            painter.drawText(QRectF(area.right() + 4, y - 8, kRightMargin - 4, 16),
                             Qt::AlignLeft | Qt::AlignVCenter, QString::number(s, 'g', 5));
        }
    }
    painter.setPen(text);
    for (int i = 0; i <= kTicks; ++i) {
        const double x = area.left() + area.width() * i / kTicks;
        const double secondsBack = windowSeconds_ * (kTicks - i) / kTicks;
        painter.drawText(QRectF(x - 40, area.bottom() + 2, 80, kBottomMargin - 2),
                         Qt::AlignHCenter | Qt::AlignTop,
                         i == kTicks ? QStringLiteral("now")
                                     : QStringLiteral("-%1 s").arg(secondsBack));
    }
    QString legend = QStringLiteral("Range");
    if (!unit_.empty())
        legend += QStringLiteral(" (%1)").arg(QString::fromStdString(unit_));
    painter.setPen(kRangeColour);
    painter.drawText(QPointF(area.left(), kTopMargin - 6), legend);
    if (secondAxis_) {
        const int x = static_cast<int>(area.left()) + metrics.horizontalAdvance(legend) + 16;
        painter.setPen(kPeakColour);
        painter.drawText(QPointF(x, kTopMargin - 6), QStringLiteral("Peak"));
        painter.setPen(kLaserColour);
        painter.drawText(
            QPointF(x + metrics.horizontalAdvance(QStringLiteral("Peak")) + 12, kTopMargin - 6),
            QStringLiteral("Laser power"));
    }

    // The lines, broken wherever a value is missing.
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::Antialiasing, false);
    auto draw = [&](const Value& value, const Scale& scale, const QColor& colour) {
        const double spanY = scale.high - scale.low > 0 ? scale.high - scale.low : 1;
        QPainterPath path;
        bool open = false;
        for (std::size_t i = first; i < points.size() && points[i].seconds <= end; ++i) {
            const std::optional<double> v = value(points[i]);
            if (!v) {
                open = false;
                continue;
            }
            const QPointF at(area.left() +
                                 (points[i].seconds - begin) / windowSeconds_ * area.width(),
                             area.bottom() - (*v - scale.low) / spanY * area.height());
            if (open) {
                path.lineTo(at);
            } else {
                // A lone reading between gaps still shows, as a dot.
                path.addRect(at.x() - 1, at.y() - 1, 2, 2);
                path.moveTo(at);
            }
            open = true;
        }
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
