#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace zarame {

// The lines lstLog shows: a copy of the window model's log taken at each refresh, so that the
// list never reads lines that changed under it between two refreshes.
class LogListModel final : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void setLines(const QStringList& lines);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QStringList lines_;
};

}  // namespace zarame
