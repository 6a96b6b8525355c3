#include "SongTableModel.h"
#include "ShownTexts.h"

#include "EditorContext.h"
#include "ItemColours.h"
#include "format/ItemTexts.h"
#include "SessionHistory.h"
#include "format/Encodings.h"
#include "model/DataHandler.h"

#include <QHeaderView>
#include <QMimeData>
#include <QTableView>

#include <algorithm>

namespace {
const char *const columnTitles[] = {"#",
                                    QT_TRANSLATE_NOOP("SongTableModel", "Name"),
                                    QT_TRANSLATE_NOOP("SongTableModel", "BPM"),
                                    QT_TRANSLATE_NOOP("SongTableModel", "ms"),
                                    QT_TRANSLATE_NOOP("SongTableModel", "Colour"),
                                    QT_TRANSLATE_NOOP("SongTableModel", "Position")};

using C = SongTableModel::Column;
const std::vector<C> &columnsOf(SongTableModel::Columns kind)
{
    static const std::vector<C> numberAndName = {C::IdColumn, C::NameColumn};
    static const std::vector<C> all = {C::IdColumn, C::NameColumn, C::BpmColumn, C::MsColumn};
    static const std::vector<C> withColour = {C::IdColumn, C::NameColumn, C::BpmColumn, C::MsColumn, C::ColourColumn};
    static const std::vector<C> withPosition = {C::PositionColumn, C::IdColumn, C::NameColumn, C::BpmColumn,
                                                C::MsColumn};
    switch (kind) {
    case SongTableModel::Columns::NumberAndName: return numberAndName;
    case SongTableModel::Columns::All: return all;
    case SongTableModel::Columns::AllWithColour: return withColour;
    case SongTableModel::Columns::PositionAndAll: return withPosition;
    }
    return numberAndName;
}

// The name of a colour position, empty outside the list.
QString colourName(qint64 position)
{
    const QStringList names = ShownTexts::items(ItemTexts::colourNames());
    return position >= 0 && position < names.size() ? names.at(int(position)) : QString();
}

// Orders two songs by the field of a column; equal keys keep their order (stable sort).
bool lessByColumn(const Song &a, const Song &b, int column)
{
    switch (column) {
    case SongTableModel::IdColumn: return a.Id < b.Id;
    case SongTableModel::NameColumn: return a.NameWithoutBreaks.compare(b.NameWithoutBreaks, Qt::CaseInsensitive) < 0;
    case SongTableModel::BpmColumn: return a.Tempo < b.Tempo;
    case SongTableModel::MsColumn: return a.TempoInMs < b.TempoInMs;
    case SongTableModel::ColourColumn:
        return std::pair(a.BackgroundColour, a.ForegroundColour) < std::pair(b.BackgroundColour, b.ForegroundColour);
    default: return false;
    }
}
} // namespace

SongTableModel::SongTableModel(EditorContext &ctx, Source source, Columns columns, QObject *parent)
    : QAbstractTableModel(parent), m_ctx(ctx), m_source(source), m_columns(columns)
{
    m_rows = rowCount();
    connect(&ctx.events, &EditorEvents::songsChanged, this, &SongTableModel::reload);
    connect(&ctx.events, &EditorEvents::sessionReplaced, this, &SongTableModel::reload);
    // A colour is changed by a list of the Songs page, which tells only that the session
    // was edited.
    if (columns == Columns::AllWithColour)
        connect(&ctx.events, &EditorEvents::sessionEdited, this, &SongTableModel::reload);
}

int SongTableModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    const auto &list = m_source == Source::SongList ? m_ctx.store.SongList : m_ctx.store.Setlist;
    return int(list.size());
}

int SongTableModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return int(columnsOf(m_columns).size());
}

SongTableModel::Column SongTableModel::columnAt(int section) const
{
    const std::vector<Column> &columns = columnsOf(m_columns);
    return section >= 0 && size_t(section) < columns.size() ? columns[size_t(section)] : NameColumn;
}

Song *SongTableModel::songAt(int row) const
{
    const auto &list = m_source == Source::SongList ? m_ctx.store.SongList : m_ctx.store.Setlist;
    if (row < 0 || size_t(row) >= list.size())
        return nullptr;
    return list[size_t(row)].get();
}

QVariant SongTableModel::cellValue(const Song &song, const QString &columnTitle)
{
    if (columnTitle == QLatin1String("#"))
        return song.Id;
    if (columnTitle == QLatin1String("Name"))
        return song.NameWithoutBreaks;
    if (columnTitle == QLatin1String("BPM"))
        return song.Tempo;
    if (columnTitle == QLatin1String("ms"))
        return song.TempoInMs;
    if (columnTitle == QLatin1String("Colour"))
        return tr("%1 on %2").arg(colourName(song.ForegroundColour), colourName(song.BackgroundColour));
    return tr("no record");
}

QVariant SongTableModel::data(const QModelIndex &index, int role) const
{
    const Song *song = songAt(index.row());
    if (!song || index.column() < 0 || index.column() >= columnCount())
        return {};
    const Column column = columnAt(index.column());
    if (column == ColourColumn) {
        // A swatch: a sample in the song's text colour on its background colour.
        switch (role) {
        case Qt::DisplayRole: return QStringLiteral("Aa");
        case Qt::BackgroundRole: return ItemColours::colour(song->BackgroundColour);
        case Qt::ForegroundRole: return ItemColours::colour(song->ForegroundColour);
        case Qt::ToolTipRole:
        case Qt::AccessibleTextRole: return cellValue(*song, QStringLiteral("Colour"));
        case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
        default: return {};
        }
    }
    if (role == Qt::DisplayRole)
        return column == PositionColumn ? QVariant(index.row() + 1)
                                        : cellValue(*song, QString::fromLatin1(columnTitles[column]));
    if (role == Qt::TextAlignmentRole && column != NameColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant SongTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount())
        return tr(columnTitles[columnAt(section)]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void SongTableModel::sort(int column, Qt::SortOrder order)
{
    if (m_source != Source::SongList || column < 0 || column >= columnCount())
        return;
    column = columnAt(column);
    reorderSongList(tr("Sort Songs by %1").arg(tr(columnTitles[column])), [column, order](std::vector<SongRef> &list) {
        if (order == Qt::AscendingOrder)
            std::stable_sort(list.begin(), list.end(),
                             [column](const SongRef &a, const SongRef &b) { return lessByColumn(*a, *b, column); });
        else
            std::stable_sort(list.begin(), list.end(),
                             [column](const SongRef &a, const SongRef &b) { return lessByColumn(*b, *a, column); });
    });
}

void SongTableModel::reorderSongList(const QString &text, const std::function<void(std::vector<SongRef> &)> &reorder)
{
    auto &list = m_ctx.store.SongList;
    EditorState &state = m_ctx.state;
    auto position = [&list](const Song *song) -> qint64 {
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].get() == song)
                return qint64(i);
        return -1;
    };
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Every highlighted row and both song pages follow their song to its new row.
    const QModelIndexList persistent = persistentIndexList();
    std::vector<const Song *> persistentSongs;
    for (const QModelIndex &index : persistent)
        persistentSongs.push_back(songAt(index.row()));
    bool changed = false;
    m_ctx.history.edit(text, [&] {
        const Song *songsSong = songAt(int(state.SongsSongIndex));
        const Song *jacksSong = songAt(int(state.SetJacksSongIndex));
        const std::vector<SongRef> before = list;
        reorder(list);
        changed = before != list;
        // Inside the step, so that its redo shows the songs where they went.
        if (songsSong)
            state.SongsSongIndex = position(songsSong);
        if (jacksSong)
            state.SetJacksSongIndex = position(jacksSong);
    });
    QModelIndexList moved;
    for (size_t i = 0; i < persistentSongs.size(); ++i) {
        const qint64 row = position(persistentSongs[i]);
        moved.append(row < 0 ? QModelIndex() : index(int(row), persistent[int(i)].column()));
    }
    changePersistentIndexList(persistent, moved);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    if (!changed)
        return;
    // The preset lists name the songs by position.
    m_ctx.lists.refillPresets();
    Q_EMIT sorted();
    Q_EMIT m_ctx.events.songOrderChanged();
}

void SongTableModel::reload()
{
    const int rows = rowCount();
    if (rows != m_rows) {
        beginResetModel();
        m_rows = rows;
        endResetModel();
        return;
    }
    if (rows > 0)
        Q_EMIT dataChanged(index(0, 0), index(rows - 1, columnCount() - 1));
}

void SongTableModel::attachTo(QTableView *view)
{
    view->setModel(this);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->setAlternatingRowColors(true);
    QHeaderView *header = view->horizontalHeader();
    header->setHighlightSections(false);
    const int nameSection = int(std::find(columnsOf(m_columns).begin(), columnsOf(m_columns).end(), NameColumn)
                                - columnsOf(m_columns).begin());
    header->setSectionResizeMode(nameSection, QHeaderView::Stretch);
    // Number columns get a fixed width for four digits: sizing them to their contents
    // would measure every row again at each reload.
    const QFontMetrics metrics = view->fontMetrics();
    const int numberWidth = metrics.horizontalAdvance(QStringLiteral("00000")) + 12;
    for (int c = 0; c < columnCount(); ++c)
        if (c != nameSection) {
            const int titleWidth = metrics.horizontalAdvance(QString::fromLatin1(columnTitles[columnAt(c)])) + 30;
            header->setSectionResizeMode(c, QHeaderView::Fixed);
            header->resizeSection(c, qMax(numberWidth, titleWidth));
        }
    // Rows are dragged whole; where they may be dropped is the model's business.
    view->setDragEnabled(true);
    view->setDragDropMode(QAbstractItemView::DragDrop);
    view->setDefaultDropAction(m_source == Source::Setlist ? Qt::MoveAction : Qt::CopyAction);
    view->setDropIndicatorShown(true);
    view->setDragDropOverwriteMode(false);
    if (m_source == Source::SongList) {
        // Sorting is wired by hand: QTableView::setSortingEnabled would sort (and so
        // reorder the session) as soon as it is switched on.
        header->setSectionsClickable(true);
        header->setSortIndicatorShown(true);
        header->setSortIndicator(-1, Qt::AscendingOrder);
        connect(header, &QHeaderView::sortIndicatorChanged, this,
                [this](int section, Qt::SortOrder order) { sort(section, order); });
    }
}

namespace {
// Dragged rows: "SongList" or "Setlist", then the row numbers.
struct DraggedRows
{
    SongTableModel::Source source = SongTableModel::Source::SongList;
    std::vector<int> rows;
};

bool readRows(const QMimeData *data, DraggedRows &out)
{
    if (!data || !data->hasFormat(QLatin1String(SongTableModel::RowsMimeType)))
        return false;
    const QList<QByteArray> parts = data->data(QLatin1String(SongTableModel::RowsMimeType)).split(' ');
    if (parts.size() < 2 || (parts[0] != "SongList" && parts[0] != "Setlist"))
        return false;
    out.source = parts[0] == "Setlist" ? SongTableModel::Source::Setlist : SongTableModel::Source::SongList;
    out.rows.clear();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        qint64 row = 0;
        if (!Encodings::parseDigits(parts[i], row) || row >= 1024)
            return false;
        out.rows.push_back(int(row));
    }
    std::sort(out.rows.begin(), out.rows.end());
    out.rows.erase(std::unique(out.rows.begin(), out.rows.end()), out.rows.end());
    return true;
}

// Moves the entries at `rows` (sorted, all within the list) so that they stand together,
// in their order, before what stood at `before`. Returns the position of the first.
template<typename T>
int moveListRows(std::vector<T> &list, const std::vector<int> &rows, int before)
{
    std::vector<T> moved;
    std::vector<T> rest;
    int insertAt = 0;
    for (int i = 0; i < int(list.size()); ++i) {
        if (std::binary_search(rows.begin(), rows.end(), i)) {
            moved.push_back(list[size_t(i)]);
        } else {
            if (i < before)
                ++insertAt;
            rest.push_back(list[size_t(i)]);
        }
    }
    rest.insert(rest.begin() + insertAt, moved.begin(), moved.end());
    list = std::move(rest);
    return insertAt;
}
} // namespace

Qt::ItemFlags SongTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid())
        f |= Qt::ItemIsDragEnabled;
    if (m_source == Source::Setlist || m_reorderByDrag)
        f |= Qt::ItemIsDropEnabled;
    return f;
}

Qt::DropActions SongTableModel::supportedDragActions() const
{
    return Qt::CopyAction | Qt::MoveAction;
}

Qt::DropActions SongTableModel::supportedDropActions() const
{
    return Qt::CopyAction | Qt::MoveAction;
}

QStringList SongTableModel::mimeTypes() const
{
    return {QLatin1String(RowsMimeType)};
}

QMimeData *SongTableModel::mimeData(const QModelIndexList &indexes) const
{
    QByteArray rows = m_source == Source::Setlist ? "Setlist" : "SongList";
    std::vector<int> seen;
    for (const QModelIndex &index : indexes)
        if (index.isValid() && std::find(seen.begin(), seen.end(), index.row()) == seen.end())
            seen.push_back(index.row());
    if (seen.empty())
        return nullptr;
    for (int row : seen)
        rows += ' ' + QByteArray::number(row);
    auto *data = new QMimeData;
    data->setData(QLatin1String(RowsMimeType), rows);
    return data;
}

bool SongTableModel::canDropMimeData(const QMimeData *data, Qt::DropAction action, int, int, const QModelIndex &) const
{
    DraggedRows dragged;
    if ((action != Qt::MoveAction && action != Qt::CopyAction) || !readRows(data, dragged))
        return false;
    if (m_source == Source::Setlist)
        return true;
    return m_reorderByDrag && dragged.source == Source::SongList;
}

bool SongTableModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                  const QModelIndex &parent)
{
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    DraggedRows dragged;
    readRows(data, dragged);
    // Dropped on a row: before it; below the rows: at the end.
    int before = row >= 0 ? row : parent.isValid() ? parent.row() : rowCount();
    if (m_source == Source::SongList) {
        auto &list = m_ctx.store.SongList;
        if (dragged.rows.back() >= int(list.size()))
            return false;
        before = qBound(0, before, int(list.size()));
        const QString text =
            dragged.rows.size() == 1 ? tr("Move Song %1").arg(list[size_t(dragged.rows[0])]->Id) : tr("Move Songs");
        reorderSongList(text,
                        [&dragged, before](std::vector<SongRef> &songs) { moveListRows(songs, dragged.rows, before); });
        return true;
    }
    auto &setlist = m_ctx.store.Setlist;
    const auto &from = dragged.source == Source::Setlist ? setlist : m_ctx.store.SongList;
    if (dragged.rows.back() >= int(from.size()))
        return false;
    before = qBound(0, before, int(setlist.size()));
    int highlight = -1;
    if (dragged.source == Source::Setlist) {
        m_ctx.history.edit(tr("Move in Setlist"), [&] {
            highlight = moveListRows(setlist, dragged.rows, before);
            m_ctx.state.SetlistRow = highlight;
        });
    } else {
        // A full setlist starts again (as a click on a song does); otherwise what is
        // dropped must fit.
        if (setlist.size() < size_t(DataHandler::SongCount)
            && setlist.size() + dragged.rows.size() > size_t(DataHandler::SongCount))
            return false;
        const QString text = dragged.rows.size() == 1 ? tr("Add Song %1 to Setlist").arg(dragged.rows[0] + 1)
                                                      : tr("Add Songs to Setlist");
        m_ctx.history.edit(text, [&] {
            for (size_t i = 0; i < dragged.rows.size(); ++i) {
                const int at =
                    m_ctx.store.insertSongIntoSetlist(dragged.rows[i], highlight < 0 ? before : highlight + int(i));
                if (i == 0)
                    highlight = at;
            }
            m_ctx.state.SetlistRow = highlight;
        });
    }
    reload();
    Q_EMIT setlistDropped(highlight);
    return true;
}
