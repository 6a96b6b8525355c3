#pragma once

#include <QWidget>

class QModelIndex;
class QTableView;
class SongTableModel;
struct EditorContext;

// The "Setlist" page: all songs on one side, the setlist on the other. A click on a song
// (or Return on it) appends it to the setlist; the buttons remove the selected entry or
// move it up or down. The setlist table always highlights the entry the next button press
// acts on (SetlistRow): the one added, dropped or moved last, or the one clicked.
class SetlistPage : public QWidget
{
    Q_OBJECT
public:
    explicit SetlistPage(EditorContext &ctx, QWidget *parent = nullptr);
    // The page's Reset: the factory setlist.
    void resetSetlist();

    // Shows both tables again from the session and highlights SetlistRow.
    void reloadTables();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The keys that add the focused song of the song list.
    static bool isAddKey(int key);
    void songClicked(const QModelIndex &index);
    void removeEntry();
    void moveEntryUp();
    void moveEntryDown();
    void setlistSelectionChanged();
    // SetlistRow when it names an entry of the setlist, else -1.
    int actedOnRow() const;
    void highlightSetlistRow();
    void setlistEdited();

    EditorContext &m_ctx;
    SongTableModel *m_songs = nullptr;
    SongTableModel *m_setlist = nullptr;
    QTableView *m_songView = nullptr;
    QTableView *m_setlistView = nullptr;
};
