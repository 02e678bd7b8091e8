#include "util_app/trend_view.h"

#include "util_app/trend_plot.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
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
      plot_(new TrendPlot(series_, this)) {
    setObjectName(QStringLiteral("trendView"));
    setAccessibleName(QStringLiteral("Trend"));
    window_->setObjectName(QStringLiteral("trendWindow"));
    window_->setAccessibleName(QStringLiteral("Trend window"));
    window_->addItems({QStringLiteral("30 s"), QStringLiteral("2 min"), QStringLiteral("10 min")});
    pause_->setObjectName(QStringLiteral("trendPause"));
    pause_->setAccessibleName(QStringLiteral("Pause trend"));
    autoscale_->setObjectName(QStringLiteral("trendAutoscale"));
    autoscale_->setAccessibleName(QStringLiteral("Autoscale trend"));
    autoscale_->setChecked(true);
    secondAxis_->setObjectName(QStringLiteral("trendSecondAxis"));
    secondAxis_->setAccessibleName(QStringLiteral("Show peak and laser power"));
    secondAxis_->setChecked(true);

    auto* controls = new QHBoxLayout;
    controls->addWidget(window_);
    controls->addWidget(pause_);
    controls->addWidget(autoscale_);
    controls->addWidget(secondAxis_);
    controls->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(controls);
    layout->addWidget(plot_, 1);

    connect(window_, &QComboBox::currentIndexChanged, this,
            [this] { plot_->SetWindowSeconds(WindowSeconds()); });
    connect(pause_, &QCheckBox::toggled, plot_, &TrendPlot::SetFrozen);
    connect(autoscale_, &QCheckBox::toggled, plot_, &TrendPlot::SetAutoscale);
    connect(secondAxis_, &QCheckBox::toggled, plot_, &TrendPlot::SetSecondAxis);
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
