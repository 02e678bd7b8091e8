#pragma once
// "Select Port": asked when the configured port number is not valid.

#include <QDialog>
#include <QStringList>

class QListWidget;

namespace vk::legacy {

class SelectPortDialog : public QDialog {
public:
    SelectPortDialog(const QStringList& ports, QWidget* parent = nullptr);
    // The index of the chosen entry; -1 when the list is empty.
    int chosen() const;

private:
    QListWidget* list_;
};

} // namespace vk::legacy
