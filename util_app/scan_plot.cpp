#include "util_app/scan_plot.h"

#include "util_app/plot_axes.h"

#include <QPainter>

#include <algorithm>

namespace vk {

namespace {
const QColor kRangeColour(0, 90, 200);
} // namespace

ScanPlot::ScanPlot(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("scanPlot"));
    setAccessibleName(QStringLiteral("Plot of the ranges read"));
    setMinimumSize(160, 120);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScanPlot::SetRanges(std::vector<std::optional<double>> ranges, const std::string& unit) {
    ranges_ = std::move(ranges);
    unit_ = unit;
    update();
}

void ScanPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    Extent extent;
    for (const std::optional<double>& range : ranges_)
        Widen(extent, range);
    if (ranges_.empty() || !extent) {
        DrawEmptyPlot(painter, *this,
                      ranges_.empty() ? QStringLiteral("No ranges read")
                                      : QStringLiteral("Every range read was Out of Range"));
        return;
    }

    const QFontMetrics metrics = painter.fontMetrics();
    const int line = metrics.height();
    // The value labels come first: the widest of them sets the left margin.
    const double plotHeight = std::max(1, height() - line / 2 - 4 - 2 * line - 6);
    const AxisTicks valueTicks = TicksFor(extent->first, extent->second, plotHeight, *this);
    const AxisScale valueScale = ScaleOf(valueTicks);
    const int labelWidth = WidestLabel(metrics, valueTicks);
    const double left = line + 6 + labelWidth + 6;
    const QRectF area(left, line / 2 + 4, std::max(1.0, width() - left - 12), plotHeight);

    painter.setPen(palette().mid().color());
    painter.drawRect(area);
    DrawValueTicks(painter, area, valueTicks, valueScale, AxisSide::Left, labelWidth + 10,
                   palette().text().color(), palette().midlight().color());
    DrawAxisTitle(painter, *this, area, AxisSide::Left, {{RangeAxisName(unit_), kRangeColour}});

    // Numbers along the bottom, as the list counts them.
    const double count = static_cast<double>(ranges_.size());
    const AxisScale numberScale{1, std::max(2.0, count)};
    const int numberWidth = metrics.horizontalAdvance(QString::number(ranges_.size())) + line;
    const AxisTicks numberTicks =
        RoundTicks(1, numberScale.high, std::max(1, static_cast<int>(area.width()) / numberWidth));
    painter.setPen(palette().text().color());
    for (int i = 0; i < numberTicks.count; ++i) {
        const double number = numberTicks.At(i);
        if (number < 1 || number > numberScale.high)
            continue;
        const double x = area.left() + numberScale.Fraction(number) * area.width();
        painter.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 3));
        painter.drawText(QRectF(x - numberWidth, area.bottom() + 3, 2 * numberWidth, line),
                         Qt::AlignHCenter | Qt::AlignTop, QString::number(number, 'f', 0));
    }
    painter.drawText(QRectF(area.left(), area.bottom() + 3 + line, area.width(), line),
                     Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Range #"));

    // The ranges, broken at every "Out of Range".
    painter.setClipRect(area.adjusted(-1, -1, 1, 1));
    const QPainterPath path =
        BrokenLine(ranges_.size(), [&](std::size_t i) -> std::optional<QPointF> {
            if (!ranges_[i])
                return std::nullopt;
            return QPointF(area.left() +
                               numberScale.Fraction(static_cast<double>(i + 1)) * area.width(),
                           area.bottom() - valueScale.Fraction(*ranges_[i]) * area.height());
        });
    painter.setPen(QPen(kRangeColour, 1.2));
    painter.drawPath(path);
}

} // namespace vk
