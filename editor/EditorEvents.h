#pragma once

#include <QObject>

// Notifications between the window's pages. A page that changes something other pages
// show emits the matching signal; the pages that show it reload.
class EditorEvents : public QObject
{
    Q_OBJECT
public:
    explicit EditorEvents(QObject *parent = nullptr);

    // A page edited the session (the session history has recorded the step already).
    void edited() { Q_EMIT sessionEdited(); }

Q_SIGNALS:
    // Song names, tempos or the order of SongList or Setlist changed: the song tables
    // reload (the preset lists are refilled through SharedLists by whoever renamed).
    void songsChanged();
    // SongList was reordered (a song table was sorted): the pages that show a song by
    // its position show the song now at that position. songsChanged() follows.
    void songOrderChanged();
    // The MIDI message library changed (entries added, removed or renamed).
    void libraryChanged();
    // Stack names or contents changed.
    void stacksChanged();
    // A jack mode or pulse count changed on the Set Jacks page: the song summary of the
    // Songs page follows.
    void jackSetupChanged();
    // A page edited the session. Unsaved changes are the session history's business; this
    // only tells whoever wants to follow edits as they happen.
    void sessionEdited();
    // The whole session was replaced (open, reset, load from the pedal): every page
    // shows it again from position 1.
    void sessionReplaced();
};
