#pragma once
// CProfileTableDialog: a table of settings with a line above it, for the sensor profile
// commands: what a restore will change (OK starts it, Cancel writes nothing), what it
// did, and how the sensor differs from a profile (Close only).

#include <QDialog>
#include <QStringList>

#include <vector>

class QLabel;
class QTableWidget;

namespace vk {

class CProfileTableDialog : public QDialog {
public:
    enum class Buttons { OkCancel, Close };

    // `rows` hold one text per column of `columns`.
    CProfileTableDialog(const QString& title, const QString& text, const QStringList& columns,
                        const std::vector<QStringList>& rows, Buttons buttons,
                        QWidget* parent = nullptr);

    QTableWidget* Table() const { return table_; }
    QLabel* Text() const { return text_; }

private:
    QLabel* text_;
    QTableWidget* table_;
};

} // namespace vk
