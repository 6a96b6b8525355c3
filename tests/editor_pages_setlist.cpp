#include "editor_pages_fixture.h"

#include "editor/SetlistPage.h"

#include <QItemSelectionModel>
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
        c.store.Setlist.clear();
        for (int id : songIds)
            c.store.Setlist.push_back(c.store.SongList[size_t(id - 1)]);
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
    EXPECT_EQ(setlist()->model()->index(3, 0).data().toLongLong(), 5);
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
