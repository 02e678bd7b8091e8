#pragma once
// The " View / Diagnostics " page and its three sub-pages: "Range / Spot" (the live view,
// polling the sensor as fast as it answers until the stop flag is set), "Scan Buffer"
// (scans on the current sensor or on every sensor of an address list file, their buffers
// appended to a text file, and the filtered buffer's statistics) and "Errors /
// Statistics" (the sensor's counters).

#include "legacy_tool/form_host.h"

#include <QElapsedTimer>
#include <QWidget>

#include <optional>
#include <vector>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace vk::legacy {

class ViewPage : public QWidget {
public:
    explicit ViewPage(FormHost& host, QWidget* parent = nullptr);

    // The range readout's unit label, kept in step with the sensor's mode.
    void SetRangeUnit(const QString& label);

    void btnStartSpotClick();
    void btnStopSpotClick();
    void cbxSpotClick();
    void PageControl2Change();
    void btnAddrListClick();
    void btnStartScanClick();
    void btnStopScanClick();
    void btnReadScanClick();
    void btnFilterClick();
    void btnUpdateStatClick();
    void TabSheet5Show();

private:
    QWidget* BuildRangeSpot();
    QWidget* BuildScanBuffer();
    QWidget* BuildErrors();
    QPushButton* AddButton(QWidget* parent, const char* caption, const char* name,
                           void (ViewPage::*handler)());
    QLabel* AddReadout(QGridLayout* grid, int row, int column, const char* label, const char* name,
                       const char* text = "");
    // Fixes every readout of `page` at the size that shows `widest`, the longest text any
    // of them shows.
    static void FixReadoutSizes(QWidget* page, const char* widest);

    void ReadScans();
    void RangeCycle();
    void ShowRange(const QString& text);
    void ShowAllCycle();
    // The sensors "Start Scan", "Stop Scan" and "Read Scan Buffer" work on; nothing (and
    // `missing` in the memo) when the address list is asked for and none is loaded.
    std::optional<std::vector<std::uint8_t>> Targets(const char* missing);
    bool ListMode() const;
    void AddMemoLines(const std::vector<std::string>& lines);

    FormHost& host_;

    QTabWidget* PageControl2_;
    QCheckBox* cbxSpot_;
    QLabel* pnlRange_;
    QLabel* lblRangeUnit_;
    QLabel* pnlBasePix_;
    QLabel* pnlSubPix_;
    QLabel* pnlSumPix_;
    QLabel* pnlNumPix_;
    QLabel* pnlScanCount_;
    QLabel* pnlScanStatus_;
    QLabel* pnlPeak_;
    QLabel* pnlLaserPower_;
    QLabel* pnlAnalog_;
    std::vector<QWidget*> extraReadouts_; // the "Show All" readouts and their labels
    QElapsedTimer rangePainted_;          // since the range panel was last repainted

    QRadioButton* rbCurrent_;
    QRadioButton* rbAll_;
    QPlainTextEdit* Memo1_;
    QLineEdit* editStartIndex_;
    QLineEdit* editNumScans_;
    QLabel* pnlLowScan_;
    QLabel* pnlLowScanIndex_;
    QLabel* pnlHighScan_;
    QLabel* pnlHighScanIndex_;
    QLabel* pnlAvgScan_;

    QLabel* pnlPowerUps_;
    QLabel* pnlResets_;
    QLabel* pnlCheckErrors_;
    QLabel* pnlCommandErrors_;
    QLabel* pnlCalibration_;

    bool readingScans_ = false; // "Read Scan Buffer" is running
};

} // namespace vk::legacy
