#pragma once
// CReadBufferDialog ("Read sensor ranges buffer"): reads a stretch of the sensor's scan
// buffer in portions, counting "n of N" as it goes, lists the ranges in the sensor's range
// mode beside a plot of them, and appends them to a text file on request. The caller
// says how many ranges the sensor holds (SetRangesAvailable) before showing it; "Ranges
// to read:" starts at that number.

#include <QDialog>
#include <QString>

#include <cstdint>
#include <vector>

class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace vk {

class PanelContext;
class RangeListModel;
class ScanPlot;

class CReadBufferDialog : public QDialog {
public:
    static constexpr int kDefaultRangesAvailable = 8192;

    // `context` must outlive the dialog.
    explicit CReadBufferDialog(PanelContext& context, QWidget* parent = nullptr);
    ~CReadBufferDialog() override;

    // Shows `ranges` as available and presets "Ranges to read:" to it.
    void SetRangesAvailable(int ranges);
    int RangesAvailable() const { return rangesAvailable_; }
    // The first range to read ("Start index:", which the user cannot change); 0 unless set.
    void SetStartIndex(int index);

    // The raw ranges of the last read that completed; empty after one that was stopped
    // or failed.
    const std::vector<std::uint16_t>& Ranges() const { return ranges_; }
    // The "Range value" texts of the list, top to bottom.
    const std::vector<QString>& RangeTexts() const;
    ScanPlot* Plot() const { return plot_; }
    // Whether a read is going on (the loop lets the event queue run between portions).
    bool Reading() const { return reading_; }

    // Close, Escape and the window's close box: a read going on stops after its current
    // portion, then the dialog closes.
    void reject() override;

private:
    void OnStart();
    void OnSave();
    // Enables the buttons for a read going on or for none.
    void ShowReading(bool reading);

    PanelContext& context_;
    QLineEdit* rangesToRead_;
    QLineEdit* startIndex_;
    QLineEdit* rangesAvailableField_;
    QProgressBar* progress_;
    RangeListModel* model_;
    QTableView* list_;
    ScanPlot* plot_;
    QPushButton* start_;
    QPushButton* stop_;
    QPushButton* save_;
    QPushButton* close_;
    int rangesAvailable_ = kDefaultRangesAvailable;
    std::vector<std::uint16_t> ranges_;
    bool stopRequested_ = false;
    bool reading_ = false;
};

// Opens the reader modally over `parent` with `rangesAvailable` ranges offered. While it
// waits for the user the refresh ticks run, even when the caller holds the exchange
// guard; its reads hold the guard again.
void OpenScanBufferReader(PanelContext& context, QWidget* parent, int rangesAvailable);

} // namespace vk
