#include "SongTableModel.h"

#include "EditorContext.h"
#include "ItemTexts.h"
#include "SessionHistory.h"
#include "model/DataHandler.h"

#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace {
const char *const columnTitles[] = {"#", "Name", "BPM", "ms", "Colour"};

// The name of a colour position, empty outside the list.
QString colourName(qint64 position)
{
    const QStringList names = ItemTexts::colourNames();
    return position >= 0 && position < names.size() ? names.at(int(position)) : QString();
}

// Orders two songs by the field of a column; equal keys keep their order (stable sort).
bool lessByColumn(const Song &a, const Song &b, int column)
{
    switch (column) {
    case SongTableModel::IdColumn:
        return a.Id < b.Id;
    case SongTableModel::NameColumn:
        return a.NameWithoutBreaks.compare(b.NameWithoutBreaks, Qt::CaseInsensitive) < 0;
    case SongTableModel::BpmColumn:
        return a.Tempo < b.Tempo;
    case SongTableModel::MsColumn:
        return a.TempoInMs < b.TempoInMs;
    case SongTableModel::ColourColumn:
        return std::pair(a.BackgroundColour, a.ForegroundColour) < std::pair(b.BackgroundColour, b.ForegroundColour);
    default:
        return false;
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
    switch (m_columns) {
    case Columns::NumberAndName: return 2;
    case Columns::All: return 4;
    case Columns::AllWithColour: return 5;
    }
    return 2;
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
        return QStringLiteral("%1 on %2").arg(colourName(song.ForegroundColour), colourName(song.BackgroundColour));
    return QStringLiteral("no record");
}

QVariant SongTableModel::data(const QModelIndex &index, int role) const
{
    const Song *song = songAt(index.row());
    if (!song || index.column() < 0 || index.column() >= columnCount())
        return {};
    if (index.column() == ColourColumn) {
        // A swatch: a sample in the song's text colour on its background colour.
        switch (role) {
        case Qt::DisplayRole: return QStringLiteral("Aa");
        case Qt::BackgroundRole: return ItemTexts::colour(song->BackgroundColour);
        case Qt::ForegroundRole: return ItemTexts::colour(song->ForegroundColour);
        case Qt::ToolTipRole:
        case Qt::AccessibleTextRole: return cellValue(*song, QStringLiteral("Colour"));
        case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
        default: return {};
        }
    }
    if (role == Qt::DisplayRole)
        return cellValue(*song, QString::fromLatin1(columnTitles[index.column()]));
    if (role == Qt::TextAlignmentRole && index.column() != NameColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant SongTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount())
        return QString::fromLatin1(columnTitles[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void SongTableModel::sort(int column, Qt::SortOrder order)
{
    if (m_source != Source::SongList || column < 0 || column >= columnCount())
        return;
    auto &list = m_ctx.store.SongList;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    m_ctx.history.edit(tr("Sort Songs by %1").arg(QLatin1String(columnTitles[column])), [&list, column, order] {
        if (order == Qt::AscendingOrder)
            std::stable_sort(list.begin(), list.end(),
                             [column](const SongRef &a, const SongRef &b) { return lessByColumn(*a, *b, column); });
        else
            std::stable_sort(list.begin(), list.end(),
                             [column](const SongRef &a, const SongRef &b) { return lessByColumn(*b, *a, column); });
    });
    // Rows keep their positions: a selected row goes on meaning "the song at this
    // position", which is what the pages' song indices hold.
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    // The preset lists name the songs by position.
    m_ctx.lists.refillPresets();
    Q_EMIT sorted();
    Q_EMIT m_ctx.events.songOrderChanged();
    Q_EMIT m_ctx.events.songsChanged();
    m_ctx.events.edited();
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
    header->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    // Number columns get a fixed width for four digits: sizing them to their contents
    // would measure every row again at each reload.
    const QFontMetrics metrics = view->fontMetrics();
    const int numberWidth = metrics.horizontalAdvance(QStringLiteral("00000")) + 12;
    for (int c = 0; c < columnCount(); ++c)
        if (c != NameColumn) {
            const int titleWidth = metrics.horizontalAdvance(QString::fromLatin1(columnTitles[c])) + 30;
            header->setSectionResizeMode(c, QHeaderView::Fixed);
            header->resizeSection(c, qMax(numberWidth, titleWidth));
        }
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
