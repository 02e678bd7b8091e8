#include "util_app/trend_view.h"

#include "util_app/trend_plot.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QResizeEvent>
#include <QStyle>
#include <QVBoxLayout>

namespace vk {

namespace {
constexpr double kWindows[] = {30, 120, 600};
} // namespace

TrendView::TrendView(QWidget* parent)
    : QWidget(parent), window_(new QComboBox(this)),
      pause_(new QCheckBox(QStringLiteral("Pause"), this)),
      autoscale_(new QCheckBox(QStringLiteral("Autoscale"), this)),
      secondAxis_(new QCheckBox(QStringLiteral("Peak / laser power"), this)),
      plot_(new TrendPlot(series_, this)), controls_(new QVBoxLayout) {
    setObjectName(QStringLiteral("trendView"));
    setAccessibleName(QStringLiteral("Trend"));
    window_->setObjectName(QStringLiteral("trendWindow"));
    window_->setAccessibleName(QStringLiteral("Trend window"));
    window_->addItems({QStringLiteral("30 s"), QStringLiteral("2 min"), QStringLiteral("10 min")});
    window_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    pause_->setObjectName(QStringLiteral("trendPause"));
    pause_->setAccessibleName(QStringLiteral("Pause trend"));
    autoscale_->setObjectName(QStringLiteral("trendAutoscale"));
    autoscale_->setAccessibleName(QStringLiteral("Autoscale trend"));
    autoscale_->setChecked(true);
    secondAxis_->setObjectName(QStringLiteral("trendSecondAxis"));
    secondAxis_->setAccessibleName(QStringLiteral("Show peak and laser power"));
    secondAxis_->setChecked(true);

    controls_->setContentsMargins(0, 0, 0, 0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(controls_);
    layout->addWidget(plot_, 1);
    PlaceControls();

    connect(window_, &QComboBox::currentIndexChanged, this,
            [this] { plot_->SetWindowSeconds(WindowSeconds()); });
    connect(pause_, &QCheckBox::toggled, plot_, &TrendPlot::SetFrozen);
    connect(autoscale_, &QCheckBox::toggled, plot_, &TrendPlot::SetAutoscale);
    connect(secondAxis_, &QCheckBox::toggled, plot_, &TrendPlot::SetSecondAxis);
}

void TrendView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceControls();
}

void TrendView::PlaceControls() {
    // As many controls to a row as the width holds, so that none is cut short.
    const int spacing =
        style()->layoutSpacing(QSizePolicy::CheckBox, QSizePolicy::CheckBox, Qt::Horizontal);
    std::vector<int> rows;
    int row = 0;
    int used = 0;
    for (QWidget* control : Controls()) {
        const int needed = control->sizeHint().width();
        if (used > 0 && used + spacing + needed > width()) {
            ++row;
            used = 0;
        }
        used += (used > 0 ? spacing : 0) + needed;
        rows.push_back(row);
    }
    if (rows == controlRows_)
        return;
    controlRows_ = rows;
    while (QLayoutItem* item = controls_->takeAt(0)) {
        if (QLayout* rowLayout = item->layout()) {
            while (QLayoutItem* inRow = rowLayout->takeAt(0))
                delete inRow;
        }
        delete item;
    }
    QHBoxLayout* rowLayout = nullptr;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!rowLayout || rows[i] != rows[i - 1]) {
            if (rowLayout)
                rowLayout->addStretch(1);
            rowLayout = new QHBoxLayout;
            controls_->addLayout(rowLayout);
        }
        rowLayout->addWidget(Controls()[i]);
    }
    rowLayout->addStretch(1);
}

std::array<QWidget*, 4> TrendView::Controls() const {
    return {window_, pause_, autoscale_, secondAxis_};
}

double TrendView::WindowSeconds() const {
    const int index = window_->currentIndex();
    return index >= 0 && index < 3 ? kWindows[index] : kWindows[0];
}

void TrendView::Add(const PollSample& sample) {
    if (sample.range.unit != unit_) {
        series_.Clear();
        unit_ = sample.range.unit;
        plot_->SetUnit(unit_);
    }
    const std::chrono::duration<double> since = std::chrono::steady_clock::now() - start_;
    series_.Add({since.count(), sample.range.value, sample.peak, sample.laserPower});
    if (!pause_->isChecked())
        plot_->update();
}

void TrendView::AddGap() {
    const auto& points = series_.Points();
    if (points.empty())
        return;
    const TrendPoint& last = points.back();
    if (!last.range && !last.peak && !last.laserPower)
        return; // broken already
    const std::chrono::duration<double> since = std::chrono::steady_clock::now() - start_;
    series_.Add({since.count(), std::nullopt, std::nullopt, std::nullopt});
    if (!pause_->isChecked())
        plot_->update();
}

} // namespace vk
