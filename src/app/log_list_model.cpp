#include "app/log_list_model.h"

namespace zarame {

void LogListModel::setLines(const QStringList& lines) {
    beginResetModel();
    lines_ = lines;
    endResetModel();
}

int LogListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant LogListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || index.row() < 0 || index.row() >= lines_.size()) {
        return {};
    }
    return lines_[index.row()];  // made visible when added to the log
}

}  // namespace zarame
