#pragma once

#include "model/DataHandler.h"

#include <QAbstractTableModel>

#include <functional>
#include <vector>

class QMimeData;
class QTableView;
struct EditorContext;

// A table of songs: the songs of SongList or the entries of Setlist, with the columns
// "#", "Name", "BPM", "ms" (or only "#" and "Name"), and for the Songs page a "Colour"
// swatch: a sample text in the song's text colour on its background colour. Sorting a SongList table reorders
// SongList itself, so the new order is what is saved and sent; a Setlist table does not
// sort (its order changes only through the setlist buttons).
//
// Every song table reloads itself on EditorEvents::songsChanged, so a page that changes
// names, tempos or the order of either list emits that signal and all tables follow.
class SongTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum class Source { SongList, Setlist };
    // PositionAndAll (the setlist): the entry's place in the list first.
    enum class Columns { NumberAndName, All, AllWithColour, PositionAndAll };
    enum Column { IdColumn, NameColumn, BpmColumn, MsColumn, ColourColumn, PositionColumn };
    // The MIME type of dragged song rows: the source list and the rows.
    static constexpr const char *RowsMimeType = "application/x-pedal-song-rows";

    SongTableModel(EditorContext &ctx, Source source, Columns columns, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // SongList tables: sorts SongList in place by the column's field (stable), refills
    // the preset lists and tells every song table. Setlist tables: nothing.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // Drag and drop. Rows of every song table can be dragged. A Setlist table takes
    // dropped setlist rows (a move) and dropped SongList rows (the songs are inserted
    // there); a SongList table with reordering on takes its own rows (a new song order).
    // Each drop is one step.
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;
    // SongList tables: dropped rows of this table reorder SongList.
    void setReorderByDrag(bool on) { m_reorderByDrag = on; }
    // The column kind shown in a section.
    Column columnAt(int section) const;
    // Reorders SongList as one step named `text` (a sort, a drag of song rows): the
    // highlighted rows and the songs the pages show follow their songs to their new rows.
    void reorderSongList(const QString &text, const std::function<void(std::vector<SongRef> &)> &reorder);

    // Re-reads the list: cell updates when the row count is unchanged (the view keeps
    // its selection), a model reset otherwise.
    void reload();

    // The song shown at a row, or null.
    Song *songAt(int row) const;
    Source source() const { return m_source; }

    // Shows the model in `view` with the settings every song table shares: whole-row
    // single selection, clickable headers that sort (SongList tables only), no editing.
    void attachTo(QTableView *view);

    // The text shown in a cell, for the column title; "no record" for any other title.
    static QVariant cellValue(const Song &song, const QString &columnTitle);

Q_SIGNALS:
    // SongList was reordered by a header click.
    void sorted();
    // A drop changed the setlist; `row` is the entry to highlight.
    void setlistDropped(int row);

private:
    EditorContext &m_ctx;
    Source m_source;
    Columns m_columns;
    int m_rows = 0;
    bool m_reorderByDrag = false;
};
