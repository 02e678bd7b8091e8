#pragma once
// The "About VkUtil" box.

#include <QDialog>

namespace vk {

inline constexpr const char* kVersionText = "VkUtil Version 1.0.1";

class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace vk
