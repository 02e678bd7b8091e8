#include "util_app/range_list_model.h"

namespace vk {

void RangeListModel::SetValues(std::vector<QString> values) {
    beginResetModel();
    values_ = std::move(values);
    endResetModel();
}

int RangeListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(values_.size());
}

int RangeListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant RangeListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    if (index.column() == 0)
        return QString::number(index.row() + 1);
    return values_[static_cast<std::size_t>(index.row())];
}

QVariant RangeListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return section == 0 ? QStringLiteral("Range #") : QStringLiteral("Range value");
}

} // namespace vk
