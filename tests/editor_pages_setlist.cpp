#include "editor_pages_fixture.h"

#include "editor/SetlistPage.h"
#include "editor/SongTableModel.h"

#include <QItemSelectionModel>
#include <QMimeData>

#include <memory>
#include <QTableView>

namespace {

struct SetlistPageTest : PageTest<SetlistPage>
{
    QTableView *songs() { return control<QTableView>(page, QStringLiteral("SetlistSongListTableView")); }
    QTableView *setlist() { return control<QTableView>(page, QStringLiteral("SetlistTableView")); }
    // The row the setlist table highlights, -1 for none.
    int highlighted()
    {
        const QModelIndexList rows = setlist()->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    }
    // Ids of the setlist entries.
    std::vector<qint64> ids()
    {
        std::vector<qint64> out;
        for (const SongRef &s : c.store.Setlist)
            out.push_back(s->Id);
        return out;
    }
    // A setlist of the songs with these Ids, shown and with SetlistRow at `row`.
    void useSetlist(std::initializer_list<int> songIds, int row)
    {
        c.history.edit(QStringLiteral("Set up"), [&] {
            c.store.Setlist.clear();
            for (int id : songIds)
                c.store.Setlist.push_back(c.store.SongList[size_t(id - 1)]);
        });
        c.state.SetlistRow = row;
        page.reloadTables();
    }
};

TEST_F(SetlistPageTest, ClickingSongsBuildsTheSetlist)
{
    EXPECT_EQ(setlist()->model()->rowCount(), 128);
    EXPECT_EQ(songs()->model()->rowCount(), 128);
    clickRow(songs(), 4);
    EXPECT_EQ(c.state.SetlistSongListRow, 4);
    EXPECT_TRUE(c.state.selectingTable);
    ASSERT_EQ(c.store.Setlist.size(), 1u);
    EXPECT_EQ(c.store.Setlist[0], c.store.SongList[4]); // the same song object
    EXPECT_EQ(setlist()->model()->rowCount(), 1);
    for (int i = 0; i < 3; ++i) {
        QTest::qWait(0);
        clickRow(songs(), 4);
    }
    EXPECT_EQ(ids(), (std::vector<qint64>{5, 5, 5, 5}));
    EXPECT_EQ(setlist()->model()->index(3, 1).data().toLongLong(), 5);
}

TEST_F(SetlistPageTest, MovesFollowTheEntryAndStopAtTheEdges)
{
    useSetlist({1, 2, 3, 4, 5}, 0);
    clickRow(setlist(), 3);
    EXPECT_EQ(c.state.SetlistRow, 3);
    press("SetlistMoveUpButton");
    EXPECT_EQ(ids(), (std::vector<qint64>{1, 2, 4, 3, 5}));
    EXPECT_EQ(c.state.SetlistRow, 2);
    EXPECT_EQ(highlighted(), 2);
    press("SetlistMoveUpButton");
    EXPECT_EQ(ids(), (std::vector<qint64>{1, 4, 2, 3, 5}));
    EXPECT_EQ(c.state.SetlistRow, 1);
    EXPECT_EQ(highlighted(), 1);
    press("SetlistMoveUpButton");
    press("SetlistMoveUpButton"); // already first
    EXPECT_EQ(ids(), (std::vector<qint64>{4, 1, 2, 3, 5}));
    EXPECT_EQ(c.state.SetlistRow, 0);
    EXPECT_EQ(highlighted(), 0);

    clickRow(setlist(), 3);
    press("SetlistMoveDownButton");
    EXPECT_EQ(ids(), (std::vector<qint64>{4, 1, 2, 5, 3}));
    EXPECT_EQ(c.state.SetlistRow, 4);
    press("SetlistMoveDownButton"); // already last
    EXPECT_EQ(ids(), (std::vector<qint64>{4, 1, 2, 5, 3}));
    EXPECT_EQ(highlighted(), 4);
}

// Rows dropped on the setlist table, as the view drops them: the model's own drop with
// the mime data of the dragged rows. Setlist rows move, song rows are inserted; each
// drop is one step, and the dropped entry is the one highlighted.
TEST_F(SetlistPageTest, DroppedRowsMoveEntriesOrInsertSongs)
{
    struct Drop
    {
        const char *what;
        std::vector<int> setlist;
        bool fromSongs;
        int draggedRow;
        int dropRow; // -1: below the last row
        bool onRow;  // dropped on the row itself rather than between rows
        std::vector<qint64> expected;
        int highlighted;
    };
    const Drop drops[] = {
        {"entry down", {1, 2, 3, 4, 5}, false, 0, 3, false, {2, 3, 1, 4, 5}, 2},
        {"entry up", {1, 2, 3, 4, 5}, false, 4, 1, false, {1, 5, 2, 3, 4}, 1},
        {"entry to the end", {1, 2, 3}, false, 0, -1, false, {2, 3, 1}, 2},
        {"entry onto a row", {1, 2, 3}, false, 2, 0, true, {3, 1, 2}, 0},
        {"entry onto its own place", {1, 2, 3}, false, 1, 1, false, {1, 2, 3}, 1},
        {"song between entries", {1, 2, 3}, true, 9, 1, false, {1, 10, 2, 3}, 1},
        {"song to the end", {1, 2}, true, 127, -1, false, {1, 2, 128}, 2},
        {"song twice in the setlist", {4}, true, 3, 0, false, {4, 4}, 0},
        {"song into the full setlist", {}, true, 5, 7, false, {6}, 0},
    };
    for (const Drop &d : drops) {
        SCOPED_TRACE(d.what);
        c.history.edit(QStringLiteral("Set up"), [&] {
            c.store.resetSetlist();
            if (!d.setlist.empty())
                c.store.Setlist.clear();
            for (int id : d.setlist)
                c.store.Setlist.push_back(c.store.SongList[size_t(id - 1)]);
        });
        page.reloadTables();
        const auto before = c.store.Setlist;
        const int steps = c.history.undoStack().index();
        QAbstractItemView *from = d.fromSongs ? songs() : setlist();
        std::unique_ptr<QMimeData> data(from->model()->mimeData({from->model()->index(d.draggedRow, 1)}));
        ASSERT_NE(data, nullptr);
        QAbstractItemModel *target = setlist()->model();
        const int row = d.onRow ? -1 : d.dropRow;
        const QModelIndex parent = d.onRow ? target->index(d.dropRow, 0) : QModelIndex();
        ASSERT_TRUE(target->canDropMimeData(data.get(), Qt::MoveAction, row, 0, parent));
        ASSERT_TRUE(target->dropMimeData(data.get(), Qt::MoveAction, row, 0, parent));
        EXPECT_EQ(ids(), d.expected);
        EXPECT_EQ(c.state.SetlistRow, d.highlighted);
        EXPECT_EQ(highlighted(), d.highlighted);
        EXPECT_EQ(setlist()->model()->index(d.highlighted, 0).data().toInt(), d.highlighted + 1) << "Position";
        const bool changed = c.store.Setlist != before;
        EXPECT_EQ(c.history.undoStack().index(), steps + (changed ? 1 : 0));
        if (changed) {
            c.history.undo();
            EXPECT_EQ(c.store.Setlist, before) << "undone as one step";
        }
    }
    // Nothing else is taken: other data, a garbled row list, or song rows dropped on the
    // song table (it has no order of its own to change on this page).
    QMimeData text;
    text.setText(QStringLiteral("1 2"));
    QMimeData garbled;
    garbled.setData(QLatin1String(SongTableModel::RowsMimeType), "Setlist x");
    QMimeData beyond;
    beyond.setData(QLatin1String(SongTableModel::RowsMimeType), "Setlist 900");
    const auto before = c.store.Setlist;
    for (const QMimeData *data : {&text, &garbled, &beyond})
        EXPECT_FALSE(setlist()->model()->dropMimeData(data, Qt::MoveAction, 0, 0, {}));
    std::unique_ptr<QMimeData> songRows(songs()->model()->mimeData({songs()->model()->index(2, 0)}));
    EXPECT_FALSE(songs()->model()->dropMimeData(songRows.get(), Qt::MoveAction, 0, 0, {}));
    EXPECT_EQ(c.store.Setlist, before);
    EXPECT_EQ(c.store.SongList[2]->Id, 3);
}

// Delete, Ctrl+Up and Ctrl+Down act on the highlighted entry when the setlist has the focus.
TEST_F(SetlistPageTest, KeysRemoveAndMoveTheHighlightedEntry)
{
    useSetlist({1, 2, 3, 4}, 0);
    clickRow(setlist(), 2);
    setlist()->setFocus();
    struct Key
    {
        QKeyCombination key;
        std::vector<qint64> expected;
        int row;
    };
    for (const Key &k : {Key{Qt::CTRL | Qt::Key_Up, {1, 3, 2, 4}, 1}, Key{Qt::CTRL | Qt::Key_Up, {3, 1, 2, 4}, 0},
                         Key{Qt::CTRL | Qt::Key_Down, {1, 3, 2, 4}, 1}, Key{Qt::Key_Delete, {1, 2, 4}, 0},
                         Key{Qt::Key_Delete, {2, 4}, -1}}) {
        const int steps = c.history.undoStack().index();
        QTest::keyClick(setlist(), k.key.key(), k.key.keyboardModifiers());
        EXPECT_EQ(ids(), k.expected);
        EXPECT_EQ(c.state.SetlistRow, k.row);
        EXPECT_EQ(highlighted(), k.row);
        EXPECT_EQ(c.history.undoStack().index(), steps + 1);
    }
}

TEST_F(SetlistPageTest, RemoveSelectsTheEntryAboveAndRefillsAnEmptiedSetlist)
{
    useSetlist({7, 8, 9}, 2);
    EXPECT_EQ(highlighted(), 2);
    press("SetlistRemoveButton");
    EXPECT_EQ(ids(), (std::vector<qint64>{7, 8}));
    EXPECT_EQ(c.state.SetlistRow, 1);
    EXPECT_EQ(highlighted(), 1);
    clickRow(setlist(), 0);
    press("SetlistRemoveButton");
    EXPECT_EQ(ids(), (std::vector<qint64>{8}));
    EXPECT_EQ(c.state.SetlistRow, -1);
    EXPECT_EQ(highlighted(), -1);
    // Nothing selected: the buttons do nothing.
    press("SetlistRemoveButton");
    press("SetlistMoveUpButton");
    press("SetlistMoveDownButton");
    EXPECT_EQ(ids(), (std::vector<qint64>{8}));

    clickRow(setlist(), 0);
    press("SetlistRemoveButton");
    EXPECT_EQ(c.store.Setlist, c.store.SongList);
    EXPECT_EQ(setlist()->model()->rowCount(), 128);
    EXPECT_EQ(c.state.SetlistRow, -1);
    EXPECT_EQ(highlighted(), -1);
}

TEST_F(SetlistPageTest, AnEmptySetlistIsSafe)
{
    c.store.Setlist.clear(); // as a file or the pedal may leave it
    page.reloadTables();
    EXPECT_EQ(setlist()->model()->rowCount(), 0);
    EXPECT_EQ(c.state.SetlistRow, 0);
    press("SetlistRemoveButton");
    press("SetlistMoveUpButton");
    press("SetlistMoveDownButton");
    EXPECT_TRUE(c.store.Setlist.empty());
    EXPECT_EQ(c.state.SetlistRow, 0);
    clickRow(songs(), 2);
    EXPECT_EQ(ids(), (std::vector<qint64>{3}));
    EXPECT_EQ(highlighted(), 0);
    press("SetlistRemoveButton");
    EXPECT_EQ(c.store.Setlist.size(), 128u);

    // A row beyond the end names no entry either.
    useSetlist({1, 2}, 5);
    EXPECT_EQ(highlighted(), -1);
    press("SetlistRemoveButton");
    press("SetlistMoveDownButton");
    EXPECT_EQ(ids(), (std::vector<qint64>{1, 2}));
}

TEST_F(SetlistPageTest, HighlightSurvivesReloadsFromOtherPages)
{
    useSetlist({1, 2, 3}, 1);
    c.store.Setlist.push_back(c.store.SongList[9]); // the row count changes: the table resets
    Q_EMIT c.events.songsChanged();
    EXPECT_EQ(setlist()->model()->rowCount(), 4);
    EXPECT_EQ(highlighted(), 1);
    EXPECT_EQ(c.state.SetlistRow, 1);
}

TEST_F(SetlistPageTest, ResetBringsBackAllSongsWithoutAsking)
{
    useSetlist({3}, 0);
    press("ResetSetlistCommand");
    EXPECT_EQ(c.store.Setlist, c.store.SongList);
    EXPECT_EQ(setlist()->model()->rowCount(), 128);
    EXPECT_TRUE(c.dialogs.shown.isEmpty());
    press("SendSetlistCommand");
    press("LoadSetlistCommand");
    EXPECT_EQ(c.store.Setlist.size(), 128u);
}

} // namespace
