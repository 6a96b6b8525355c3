#pragma once

#include <QAbstractTableModel>

class QTableView;
class Song;
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
    enum class Columns { NumberAndName, All, AllWithColour };
    enum Column { IdColumn, NameColumn, BpmColumn, MsColumn, ColourColumn };

    SongTableModel(EditorContext &ctx, Source source, Columns columns, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // SongList tables: sorts SongList in place by the column's field (stable), refills
    // the preset lists and tells every song table. Setlist tables: nothing.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

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

private:
    EditorContext &m_ctx;
    Source m_source;
    Columns m_columns;
    int m_rows = 0;
};
