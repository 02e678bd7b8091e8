#pragma once
// CVKT04BFDlg: the panel the view shows while a VKT04 Vezir Orududu is connected: the
// single list filled from the first seven words of GetBoardFlipperState, and "Read Scan
// Buffer", which opens the scan buffer reader asking for all 8192 ranges.

#include "panels/single_list_panel.h"

#include <functional>

class QPushButton;

namespace vk {

class CVKT04BFDlg : public CSingleListPanel {
public:
    // Opens the scan buffer reader modally over `parent` with its number of ranges to
    // read preset to `rangesToRead`. It is called holding the exchange guard; like every
    // modal dialog it releases the guard while it waits for the user
    // (ExchangeGuard::Release), so that only its reads keep the refresh ticks out.
    using ScanBufferReader = std::function<void(QWidget* parent, int rangesToRead)>;

    // The ranges the reader is preset to: the whole buffer.
    static constexpr int kRangesToRead = 8192;

    // `context` must outlive the panel.
    explicit CVKT04BFDlg(PanelContext& context, QWidget* parent = nullptr);

    // The reader "Read Scan Buffer" opens; the button is disabled while there is none.
    void SetScanBufferReader(ScanBufferReader reader);

    QPushButton* ReadScanBufferButton() const { return readScanBuffer_; }

protected:
    const SensorStateRecord* ReadState(SensorDevice& sensor) override;

private:
    void OnReadScanBuffer();

    QPushButton* readScanBuffer_;
    ScanBufferReader reader_;
};

} // namespace vk
