#pragma once

#include "model/DataHandler.h"

#include <QRandomGenerator>
#include <QString>

// Fills a store with randomised but valid contents: every field within the domain of the
// control that edits it and within what the session text carries, names within the
// rules of their editors. The same seed always gives the same store, so a failure can be
// replayed from the seed alone.
class RandomSession
{
public:
    struct Options
    {
        // Library entries to create; -1 picks 0 to 40 at random.
        int libraryEntries = -1;
        // Also use characters outside the Basic Multilingual Plane and other non-ASCII
        // letters in stack, message and library names (the song name editor allows only
        // ASCII, but the format carries any text).
        bool wideNames = true;
        // Reorder SongList (as sorting a song table does) and build a setlist of any
        // length 1 to 128, repeats allowed.
        bool shuffleSongs = true;
    };

    explicit RandomSession(quint32 seed);

    void fill(DataHandler &store);
    void fill(DataHandler &store, const Options &options);

    // A number from lo to hi, both included.
    qint64 between(qint64 lo, qint64 hi);
    bool chance(int percent);

    // A song name that the name editor accepts: up to 30 characters, up to 5 lines,
    // only the allowed characters. Line breaks are "\n".
    QString songName();
    // A text of up to maxCodePoints code points without "]", "`", "[" or line breaks.
    QString text(int maxCodePoints, bool wide);

private:
    void fillSong(Song &song);
    void fillMenu(Menu &menu);

    QRandomGenerator m_random;
};
