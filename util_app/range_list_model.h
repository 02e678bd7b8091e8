#pragma once
// RangeListModel: the two columns of the scan buffer reader's list, "Range #" (counting
// from 1) and "Range value". A view asks only for the rows it shows, so 8192 rows are
// in place at once, without one insertion and repaint per row.

#include <QAbstractTableModel>
#include <QString>

#include <vector>

namespace vk {

class RangeListModel : public QAbstractTableModel {
public:
    explicit RangeListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Replaces every row by one per text, in order; an empty list empties the view.
    void SetValues(std::vector<QString> values);
    const std::vector<QString>& Values() const { return values_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<QString> values_;
};

} // namespace vk
