#pragma once
// CVKT02ErrorDlg: the "Sensor errors" page of the VKT02 (and Rmx Long) panel. It changes
// only when its own buttons are pressed, never on a refresh tick.

#include <QWidget>

namespace vk {

class PanelContext;

class CVKT02ErrorDlg : public QWidget {
public:
    // `context` must outlive the page.
    explicit CVKT02ErrorDlg(PanelContext& context, QWidget* parent = nullptr);

private:
    [[maybe_unused]] PanelContext& context_;
};

} // namespace vk
