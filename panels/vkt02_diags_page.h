#pragma once
// CVKT02DiagsDlg: the "Diagnostic" page of the VKT02 (and Rmx Long) panel. While its
// "Update diagnostics" box is ticked, every refresh tick reads the sensor's state, laser
// power and peak and rewrites the value column of ten fixed rows; the trend beside the
// list plots what each such poll read.

#include <QWidget>

class QCheckBox;
class QTableWidget;

namespace vk {

class PanelContext;
class TrendView;

class CVKT02DiagsDlg : public QWidget {
public:
    // `context` must outlive the page.
    explicit CVKT02DiagsDlg(PanelContext& context, QWidget* parent = nullptr);

    // One refresh tick. Not connected: the rows go. Box unticked: nothing is sent. Else
    // the rows come back if they were gone, GetVKT02State, GetLaserPower and GetPeak are
    // sent in that order, and only when all three answered are the values rewritten; the
    // first failure ends the tick (the command layer has logged it).
    void Update();

    bool UpdateEnabled() const { return updateEnabled_; }
    QTableWidget* List() const { return list_; }
    QCheckBox* UpdateBox() const { return updateBox_; }
    TrendView* Trend() const { return trend_; }

private:
    // The ten rows with their names and empty values, replacing whatever was there.
    void BuildRows();

    PanelContext& context_;
    QTableWidget* list_;
    QCheckBox* updateBox_;
    TrendView* trend_;
    bool updateEnabled_ = false;
};

} // namespace vk
