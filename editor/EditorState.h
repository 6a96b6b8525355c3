#pragma once

#include <QStringList>
#include <QtGlobal>

#include <array>

// The editor's state that is not part of the session: which song, stack and rows the
// pages show. One instance for the whole window.
struct EditorState
{
    qint64 SetJacksSongIndex = 0; // song shown on the Set Jacks page, negative = none
    qint64 SongsSongIndex = 0;    // song shown on the Songs page, negative = none
    qint64 SelectedStackIndex = 0;
    qint64 SetlistRow = 0;
    qint64 SetlistSongListRow = 0;
    qint64 LibraryRow = 0;
    std::array<int, 10> StackRowChecked{};
    QStringList PortList; // serial ports present at start-up
};
