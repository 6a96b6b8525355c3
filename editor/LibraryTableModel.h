#pragma once

#include <QAbstractTableModel>

class DataHandler;
class SessionHistory;

// The MIDI message library as a table: "Manufacturer", "Device", "Action", "Type",
// "Message", "Value". Sorting by a column reorders the library itself, so the saved
// library follows the order shown.
class LibraryTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // A sort is one step of `history` when one is given.
    explicit LibraryTableModel(DataHandler &store, SessionHistory *history = nullptr, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // Shows the library again after it was changed.
    void reload();

private:
    DataHandler &m_store;
    SessionHistory *m_history = nullptr;
};
