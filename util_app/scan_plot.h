#pragma once
// ScanPlot: the ranges the scan buffer reader read, drawn against their number in the
// list ("Range #", from 1), so that a technician sees the shape of a scan at once. A
// range that was "Out of Range" leaves a gap.

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

namespace vk {

class ScanPlot : public QWidget {
public:
    explicit ScanPlot(QWidget* parent = nullptr);

    // Replaces what is drawn: `ranges` in `unit` (may be empty), none for "Out of Range".
    // An empty list shows that nothing was read.
    void SetRanges(std::vector<std::optional<double>> ranges, const std::string& unit);
    const std::vector<std::optional<double>>& Ranges() const { return ranges_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<std::optional<double>> ranges_;
    std::string unit_;
};

} // namespace vk
