#pragma once
// CVKT02ScanDlg: the "Scan Buffer" page of the VKT02 (and Rmx Long) panel. It changes
// only when its own buttons are pressed, never on a refresh tick.

#include <QWidget>

namespace vk {

class PanelContext;

class CVKT02ScanDlg : public QWidget {
public:
    // `context` must outlive the page.
    explicit CVKT02ScanDlg(PanelContext& context, QWidget* parent = nullptr);

private:
    [[maybe_unused]] PanelContext& context_;
};

} // namespace vk
