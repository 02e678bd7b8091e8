#pragma once
// CVKT02ScanDlg: the "Scan Buffer" page of the VKT02 (and Rmx Long) panel. One button
// starts and stops a scan run of the sensor, "Filter" has the sensor filter what it
// collected and shows the statistics it computes over its buffer, and "Read Scan Buffer"
// opens the scan buffer reader on the collected ranges. It changes only when its own
// buttons are pressed, never on a refresh tick.

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

namespace vk {

class PanelContext;

class CVKT02ScanDlg : public QWidget {
public:
    // `context` must outlive the page.
    explicit CVKT02ScanDlg(PanelContext& context, QWidget* parent = nullptr);

    // "Start scan" / "Stop Scan": StartScan or StopScan; only a success changes the
    // caption, the status and which buttons are enabled. Whether this page ran the last
    // start is all it knows: a run ended elsewhere leaves the button as it was.
    void OnStartStop();
    // "Filter": ApplyScanFilter, then HLAScanResult whatever the first did, then the
    // statistics, whatever the second did (a failed read leaves the last reply).
    void OnFilter();
    // "Read Scan Buffer": the reader, offered the scan count the diagnostic page polled
    // last (at most 8192).
    void OnReadScanBuffer();
    // Not connected: the rows go. No rows: they come back empty. Else all six are written.
    void UpdateStatistics();

    bool Scanning() const { return scanning_; }
    QTableWidget* List() const { return list_; }
    QPushButton* StartStopButton() const { return startStop_; }
    QPushButton* FilterButton() const { return filter_; }
    QPushButton* ReadButton() const { return read_; }
    QLabel* Status() const { return status_; }

private:
    PanelContext& context_;
    QTableWidget* list_;
    QPushButton* startStop_;
    QPushButton* filter_;
    QPushButton* read_;
    QLabel* status_;
    bool scanning_ = false;
};

} // namespace vk
