#pragma once
// The two docking bars of the main window: "System:" (sensor information, left) and
// "Command log:" (bottom). Each remembers its size for each way it can be docked and
// takes it up again where it is docked.

#include "util_app/bar_sizes.h"

#include <QDockWidget>

class QMainWindow;

namespace vk {

class CLogDialog;
class CMainFrame;
class CSensorSettingsDialog;
class CVKT02Doc;

class CSizingBar : public QDockWidget {
public:
    // Smallest size a stored size may have to be taken.
    static constexpr QSize kMinimumSize{33, 32};
    // Both bars share this id, and with it one profile section.
    static constexpr int kControlId = 50;

    CSizingBar(const QString& title, QMainWindow* frame);

    const BarSizes& Sizes() const { return sizes_; }
    void SetSizes(const BarSizes& sizes) { sizes_ = sizes; }
    // Gives the bar the remembered size of where it is docked now; from then on its
    // size changes are remembered.
    void ApplySize();
    // The slot (horz, vert, floating) that the bar's current place uses, given the
    // current size.
    void RecordSize();

protected:
    void resizeEvent(QResizeEvent* event) override;
    QMainWindow* Frame() const { return frame_; }

private:
    QMainWindow* frame_;
    BarSizes sizes_;
    bool tracking_ = false;
};

// "System:": the sensor information of `doc`. Its rows run the commands of `frame`.
class CSensorBar : public CSizingBar {
public:
    // `doc` must outlive the bar.
    CSensorBar(CMainFrame* frame, CVKT02Doc& doc);
    // Refills the sensor information from the document, then FitToText; the document's
    // queued sensor-bar refresh (WM_REFRESH_SENSOR_BAR) lands here.
    void Refill();
    int RefillCount() const { return refills_; }
    CSensorSettingsDialog* Info() const { return info_; }

    // Whether the bar widens itself to its text: on while neither the profile nor the user
    // has given it a size (the main window turns it off when the user drags a bar's edge).
    void SetFitToText(bool on) { fitToText_ = on; }
    bool FitsToText() const { return fitToText_; }
    // Docked at the left or right and fitting to its text, the bar takes the width that
    // shows every name and value whole, but no more than 40 % of the main window's.
    void FitToText();

private:
    CSensorSettingsDialog* info_;
    int refills_ = 0;
    bool fitToText_ = false;
};

// "Command log:".
class CLogBar : public CSizingBar {
public:
    explicit CLogBar(QMainWindow* frame);
    CLogDialog* Log() const { return log_; }

private:
    CLogDialog* log_;
};

} // namespace vk
