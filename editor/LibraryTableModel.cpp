#include "LibraryTableModel.h"
#include "ShownTexts.h"

#include "SessionHistory.h"

#include "model/DataHandler.h"
#include "model/MessageType.h"

#include <algorithm>
#include <array>

namespace {

// One column: a text field, or a number field (the type column shows its name).
struct LibraryColumn
{
    const char *title;
    QString MidiMessage::*text;
    qint64 MidiMessage::*number;
    bool typeName;
};

const std::array<LibraryColumn, 6> &columns()
{
    static const std::array<LibraryColumn, 6> table = {{
        {QT_TRANSLATE_NOOP("LibraryTableModel", "Manufacturer"), &MidiMessage::Manufacturer, nullptr, false},
        {QT_TRANSLATE_NOOP("LibraryTableModel", "Device"), &MidiMessage::Device, nullptr, false},
        {QT_TRANSLATE_NOOP("LibraryTableModel", "Action"), &MidiMessage::Action, nullptr, false},
        {QT_TRANSLATE_NOOP("LibraryTableModel", "Type"), nullptr, &MidiMessage::Typey, true},
        {QT_TRANSLATE_NOOP("LibraryTableModel", "Message"), nullptr, &MidiMessage::Message, false},
        {QT_TRANSLATE_NOOP("LibraryTableModel", "Value"), nullptr, &MidiMessage::Value, false},
    }};
    return table;
}

} // namespace

LibraryTableModel::LibraryTableModel(DataHandler &store, SessionHistory *history, QObject *parent)
    : QAbstractTableModel(parent), m_store(store), m_history(history)
{}

int LibraryTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_store.MidiMessageLibrary.size());
}

int LibraryTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columns().size());
}

QVariant LibraryTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const MidiMessage &entry = m_store.MidiMessageLibrary[size_t(index.row())];
    const LibraryColumn &column = columns()[size_t(index.column())];
    if (column.text)
        return entry.*(column.text);
    if (column.typeName)
        return ShownTexts::messageType(entry.*(column.number));
    return entry.*(column.number);
}

QVariant LibraryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= columnCount())
        return {};
    return tr(columns()[size_t(section)].title);
}

void LibraryTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columnCount())
        return;
    const LibraryColumn &c = columns()[size_t(column)];
    auto less = [&c](const MidiMessage &a, const MidiMessage &b) {
        if (c.text)
            return QString::localeAwareCompare(a.*(c.text), b.*(c.text)) < 0;
        return a.*(c.number) < b.*(c.number);
    };
    beginResetModel();
    auto &library = m_store.MidiMessageLibrary;
    const auto sortLibrary = [&library, &less, order] {
        if (order == Qt::AscendingOrder)
            std::stable_sort(library.begin(), library.end(), less);
        else
            std::stable_sort(library.begin(), library.end(),
                             [&less](const MidiMessage &a, const MidiMessage &b) { return less(b, a); });
    };
    if (m_history)
        m_history->edit(tr("Sort Library by %1").arg(tr(c.title)), sortLibrary);
    else
        sortLibrary();
    endResetModel();
}

void LibraryTableModel::reload()
{
    beginResetModel();
    endResetModel();
}
