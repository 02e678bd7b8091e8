#pragma once
// The " View / Diagnostics " page. For now it holds the range readout's unit label, which
// the settings read-out keeps in step with the sensor's mode.

#include <QWidget>

class QLabel;

namespace vk::legacy {

class ViewPage : public QWidget {
public:
    explicit ViewPage(QWidget* parent = nullptr);
    void SetRangeUnit(const QString& label);

private:
    QLabel* lblRangeUnit_;
};

} // namespace vk::legacy
