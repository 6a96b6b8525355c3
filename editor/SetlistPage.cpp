#include "SetlistPage.h"

#include "EditorContext.h"
#include "PageControls.h"
#include "SessionHistory.h"
#include "SongTableModel.h"

#include "link/PedalLink.h"
#include "model/DataHandler.h"

#include <QKeyEvent>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

using namespace PageControls;

SetlistPage::SetlistPage(EditorContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx)
{
    auto *layout = new QVBoxLayout(this);

    layout->addLayout(commandRow(this, m_ctx, SessionKeys::Page::Setlist));

    auto *tables = new QHBoxLayout;
    auto *songSide = new QVBoxLayout;
    songSide->addWidget(new QLabel(tr("Songs (click to add, or drag into the setlist)"), this));
    m_songView = new QTableView(this);
    m_songView->setObjectName(QStringLiteral("SetlistSongListTableView"));
    m_songs = new SongTableModel(ctx, SongTableModel::Source::SongList, SongTableModel::Columns::All, this);
    m_songs->attachTo(m_songView);
    songSide->addWidget(m_songView);
    tables->addLayout(songSide);

    auto *setlistSide = new QVBoxLayout;
    setlistSide->addWidget(
        new QLabel(tr("Setlist (drag to reorder; Delete removes, Ctrl+Up and Ctrl+Down move)"), this));
    m_setlistView = new QTableView(this);
    m_setlistView->setObjectName(QStringLiteral("SetlistTableView"));
    m_setlist = new SongTableModel(ctx, SongTableModel::Source::Setlist, SongTableModel::Columns::PositionAndAll, this);
    m_setlist->attachTo(m_setlistView);
    setlistSide->addWidget(m_setlistView);
    auto *moves = new QHBoxLayout;
    auto *remove = button(QStringLiteral("SetlistRemoveButton"), tr("Remove"), this);
    auto *up = button(QStringLiteral("SetlistMoveUpButton"), tr("Move Up"), this);
    auto *down = button(QStringLiteral("SetlistMoveDownButton"), tr("Move Down"), this);
    moves->addWidget(remove);
    moves->addWidget(up);
    moves->addWidget(down);
    setlistSide->addLayout(moves);
    tables->addLayout(setlistSide);
    layout->addLayout(tables, 1);

    connect(m_songView, &QTableView::clicked, this, &SetlistPage::songClicked);
    connect(m_setlistView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SetlistPage::setlistSelectionChanged);
    connect(remove, &QPushButton::clicked, this, &SetlistPage::removeEntry);
    connect(up, &QPushButton::clicked, this, &SetlistPage::moveEntryUp);
    connect(down, &QPushButton::clicked, this, &SetlistPage::moveEntryDown);
    // Delete, Ctrl+Up and Ctrl+Down act on the setlist table's entry when it has the focus.
    m_setlistView->installEventFilter(this);
    m_songView->installEventFilter(this);
    connect(m_setlist, &SongTableModel::setlistDropped, this, [this] { highlightSetlistRow(); });
    // The song tables reload themselves on these; the highlight follows.
    connect(&ctx.events, &EditorEvents::songsChanged, this, &SetlistPage::highlightSetlistRow);
    connect(&ctx.events, &EditorEvents::sessionReplaced, this, &SetlistPage::highlightSetlistRow);

    highlightSetlistRow();
}

bool SetlistPage::isAddKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Insert;
}

bool SetlistPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    // Return or Insert on the song list adds the focused song, as a click does.
    if (watched == m_songView && isAddKey(key->key()) && modifiers == Qt::NoModifier) {
        songClicked(m_songView->currentIndex());
        return true;
    }
    if (watched == m_setlistView) {
        if (key->key() == Qt::Key_Delete && modifiers == Qt::NoModifier) {
            removeEntry();
            return true;
        }
        if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) && modifiers == Qt::ControlModifier) {
            if (key->key() == Qt::Key_Up)
                moveEntryUp();
            else
                moveEntryDown();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SetlistPage::reloadTables()
{
    m_songs->reload();
    m_setlist->reload();
    highlightSetlistRow();
}

int SetlistPage::actedOnRow() const
{
    const qint64 row = m_ctx.state.SetlistRow;
    if (row < 0 || row >= qint64(m_ctx.store.Setlist.size()))
        return -1;
    return int(row);
}

void SetlistPage::highlightSetlistRow()
{
    const int row = actedOnRow();
    {
        // Showing SetlistRow is not a user's choice: it must not change SetlistRow.
        const QSignalBlocker fill(m_setlistView->selectionModel());
        if (row < 0)
            m_setlistView->clearSelection();
        else
            m_setlistView->selectRow(row);
    }
    if (row >= 0)
        m_setlistView->scrollTo(m_setlist->index(row, 0));
    m_setlistView->viewport()->update();
}

void SetlistPage::setlistSelectionChanged()
{
    const QModelIndexList rows = m_setlistView->selectionModel()->selectedRows();
    m_ctx.state.SetlistRow = rows.isEmpty() ? -1 : rows.first().row();
}

void SetlistPage::songClicked(const QModelIndex &index)
{
    const int row = index.isValid() ? index.row() : -1;
    m_ctx.state.SetlistSongListRow = row;
    if (row < 0 || row >= int(m_ctx.store.SongList.size()))
        return;
    m_ctx.history.edit(tr("Add Song %1 to Setlist").arg(row + 1), [this, row] {
        m_ctx.store.addSongToSetlist(row);
        // The entry just added is the one the buttons act on next.
        m_ctx.state.SetlistRow = qint64(m_ctx.store.Setlist.size()) - 1;
    });
    setlistEdited();
}

void SetlistPage::removeEntry()
{
    const int row = actedOnRow();
    if (row < 0)
        return;
    m_ctx.history.edit(tr("Remove from Setlist"), [this, row] {
        m_ctx.store.removeSetlistEntry(row);
        // The entry above the removed one is acted on next (none after the first).
        m_ctx.state.SetlistRow = row - 1;
    });
    setlistEdited();
}

void SetlistPage::moveEntryUp()
{
    const int row = actedOnRow();
    if (row < 0)
        return;
    m_ctx.history.edit(tr("Move Up in Setlist"),
                       [this, row] { m_ctx.state.SetlistRow = m_ctx.store.moveSetlistEntryUp(row); });
    setlistEdited();
}

void SetlistPage::moveEntryDown()
{
    const int row = actedOnRow();
    if (row < 0)
        return;
    m_ctx.history.edit(tr("Move Down in Setlist"),
                       [this, row] { m_ctx.state.SetlistRow = m_ctx.store.moveSetlistEntryDown(row); });
    setlistEdited();
}

void SetlistPage::resetSetlist()
{
    m_ctx.history.edit(tr("Reset Setlist"), [this] { m_ctx.store.resetSetlist(); });
    setlistEdited();
}

void SetlistPage::setlistEdited()
{
    m_setlist->reload();
    highlightSetlistRow();
}
