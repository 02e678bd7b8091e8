#pragma once
// The parts of a plot that the trend and the scan buffer plot draw alike: round ticks
// along a value axis with their grid lines and labels, the axis titles, and the text that
// stands in for a plot with nothing to show yet.

#include "util_app/axis_ticks.h"

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

class QFontMetrics;
class QPainter;
class QWidget;

namespace vk {

// The values at the two ends of an axis.
struct AxisScale {
    double low = 0;
    double high = 1;
    // Where `value` lies from 0 (low) to 1 (high); 0 for an empty scale.
    double Fraction(double value) const;
};

// The lowest and the highest of the values shown to Widen.
using Extent = std::optional<std::pair<double, double>>;
// `extent` grown to take `value`; a missing value changes nothing.
void Widen(Extent& extent, std::optional<double> value);

// Round ticks for the values from `low` to `high`, as many as `pixels` of axis hold with
// room for a label each (at least one interval).
AxisTicks TicksFor(double low, double high, double pixels, const QWidget& widget);
// The scale from the first to the last of `ticks`.
AxisScale ScaleOf(const AxisTicks& ticks);

// The width of the widest label of `ticks`.
int WidestLabel(const QFontMetrics& metrics, const AxisTicks& ticks);

enum class AxisSide { Left, Right };

// The labels of the ticks that lie on `scale`, beside `area` on `side` within `room`
// pixels of it, and a grid line across the area for each when `grid` is valid.
void DrawValueTicks(QPainter& painter, const QRectF& area, const AxisTicks& ticks,
                    const AxisScale& scale, AxisSide side, double room, const QColor& colour,
                    const QColor& grid);
// "Range (inch)": the name of a range axis in `unit`; "Range" without one.
QString RangeAxisName(const std::string& unit);
// One piece of an axis title in the colour of the line it names.
struct TitlePart {
    QString text;
    QColor colour;
};
// The parts of a title one after the other, turned upright along the widget's edge on
// `side` and centred on `area`'s height; a title longer than the widget is high is cut
// short with an ellipsis, in the first part's colour.
void DrawAxisTitle(QPainter& painter, const QWidget& widget, const QRectF& area, AxisSide side,
                   std::initializer_list<TitlePart> parts);
// A line through the points at(0) ... at(count - 1), broken wherever `at` gives none; a
// point alone between two gaps becomes a dot, so that it still shows.
QPainterPath BrokenLine(std::size_t count,
                        const std::function<std::optional<QPointF>(std::size_t)>& at);
// `text` in the middle of the widget, in the colour of placeholder texts.
void DrawEmptyPlot(QPainter& painter, const QWidget& widget, const QString& text);

} // namespace vk
