#include "util_app/plot_axes.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace vk {

double AxisScale::Fraction(double value) const {
    const double span = high - low;
    return span > 0 ? (value - low) / span : 0.0;
}

void Widen(Extent& extent, std::optional<double> value) {
    if (!value)
        return;
    if (!extent)
        extent = std::pair{*value, *value};
    extent->first = std::min(extent->first, *value);
    extent->second = std::max(extent->second, *value);
}

int WidestLabel(const QFontMetrics& metrics, const AxisTicks& ticks) {
    int widest = 0;
    for (int i = 0; i < ticks.count; ++i)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(
                                      TickLabel(ticks.At(i), ticks.decimals))));
    return widest;
}

AxisTicks TicksFor(double low, double high, double pixels, const QWidget& widget) {
    // A label and as much space again between two labels.
    const int perLabel = 3 * widget.fontMetrics().height();
    const int intervals = std::clamp(static_cast<int>(pixels) / std::max(1, perLabel), 1, 10);
    return RoundTicks(low, high, intervals);
}

AxisScale ScaleOf(const AxisTicks& ticks) {
    return {ticks.first, ticks.Last()};
}

void DrawValueTicks(QPainter& painter, const QRectF& area, const AxisTicks& ticks,
                    const AxisScale& scale, AxisSide side, double room, const QColor& colour,
                    const QColor& grid) {
    const double height = painter.fontMetrics().height();
    for (int i = 0; i < ticks.count; ++i) {
        const double fraction = scale.Fraction(ticks.At(i));
        if (fraction < -1e-6 || fraction > 1 + 1e-6)
            continue;
        const double y = area.bottom() - fraction * area.height();
        if (grid.isValid()) {
            painter.setPen(grid);
            painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        }
        painter.setPen(colour);
        const QString label = QString::fromStdString(TickLabel(ticks.At(i), ticks.decimals));
        if (side == AxisSide::Left)
            painter.drawText(QRectF(area.left() - room, y - height / 2, room - 4, height),
                             Qt::AlignRight | Qt::AlignVCenter, label);
        else
            painter.drawText(QRectF(area.right() + 4, y - height / 2, room - 4, height),
                             Qt::AlignLeft | Qt::AlignVCenter, label);
    }
}

QString RangeAxisName(const std::string& unit) {
    if (unit.empty())
        return QStringLiteral("Range");
    return QStringLiteral("Range (%1)").arg(QString::fromStdString(unit));
}

void DrawAxisTitle(QPainter& painter, const QWidget& widget, const QRectF& area, AxisSide side,
                   std::initializer_list<TitlePart> parts) {
    if (parts.size() == 0)
        return;
    const QFontMetrics metrics = painter.fontMetrics();
    QString whole;
    for (const TitlePart& part : parts)
        whole += part.text;
    const int room = widget.height() - 4;
    painter.save();
    if (side == AxisSide::Left) {
        painter.translate(metrics.ascent() + 2, area.center().y());
        painter.rotate(-90);
    } else {
        painter.translate(widget.width() - metrics.ascent() - 2, area.center().y());
        painter.rotate(90);
    }
    if (metrics.horizontalAdvance(whole) > room) {
        const QString shortened = metrics.elidedText(whole, Qt::ElideRight, room);
        painter.setPen(parts.begin()->colour);
        painter.drawText(QPointF(-metrics.horizontalAdvance(shortened) / 2.0, 0), shortened);
    } else {
        double x = -metrics.horizontalAdvance(whole) / 2.0;
        for (const TitlePart& part : parts) {
            painter.setPen(part.colour);
            painter.drawText(QPointF(x, 0), part.text);
            x += metrics.horizontalAdvance(part.text);
        }
    }
    painter.restore();
}

QPainterPath BrokenLine(std::size_t count,
                        const std::function<std::optional<QPointF>(std::size_t)>& at) {
    QPainterPath path;
    bool open = false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::optional<QPointF> point = at(i);
        if (!point) {
            open = false;
            continue;
        }
        if (open) {
            path.lineTo(*point);
        } else {
            path.addRect(point->x() - 1, point->y() - 1, 2, 2);
            path.moveTo(*point);
        }
        open = true;
    }
    return path;
}

void DrawEmptyPlot(QPainter& painter, const QWidget& widget, const QString& text) {
    painter.setPen(widget.palette().placeholderText().color());
    painter.drawText(widget.rect(), Qt::AlignCenter, text);
}

} // namespace vk
