#pragma once

#include <QObject>

class SessionDelta;
class SessionHistory;

// Notifications between the window's pages. Every step a page takes through the session
// history is announced here once, from the difference the history computed: the pages
// that show a changed part reload. (Undo, redo and changes from outside are shown by the
// window's pages as a whole.)
class EditorEvents : public QObject
{
    Q_OBJECT
public:
    explicit EditorEvents(QObject *parent = nullptr);

    // Announces every step `history` takes for a page.
    void follow(SessionHistory &history);
    // Tells what `change` changed: the songs or the setlist, and that the session was edited.
    void announce(const SessionDelta &change);

Q_SIGNALS:
    // Song fields (names, tempos, jacks, ...) or the order of SongList or Setlist changed:
    // the song tables and the song summary reload (the preset lists are refilled through
    // SharedLists by whoever renamed).
    void songsChanged();
    // SongList was reordered (a song table was sorted): the pages that show a song by
    // its position show the song now at that position. songsChanged() follows.
    void songOrderChanged();
    // A page edited the session. Unsaved changes are the session history's business; this
    // only tells whoever wants to follow edits as they happen.
    void sessionEdited();
    // The whole session was replaced (open, reset, load from the pedal): every page
    // shows it again from position 1.
    void sessionReplaced();
};
