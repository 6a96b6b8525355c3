#pragma once

#include "Menu.h"
#include "MidiMessage.h"
#include "MidiStack.h"
#include "Song.h"

#include <memory>
#include <vector>

using SongRef = std::shared_ptr<Song>;

// The session store: the one place where the whole session lives.
// Songs are shared objects: Setlist holds references to the songs of SongList.
class DataHandler
{
public:
    static constexpr int SongCount = 128;
    static constexpr int StackCount = 128;

    // Builds the factory session.
    DataHandler();
    DataHandler(const DataHandler &) = delete;
    DataHandler &operator=(const DataHandler &) = delete;

    // The program-wide store, created with the factory session on first use.
    static DataHandler &instance();

    // Restores the factory session in place (the library stays). The editor asks first.
    void resetSessionContents();

    // Page resets: act at once, in place.
    void resetSetJacksFields();
    void resetSongsFields();
    void resetSetlist();
    void resetMidiStacks();
    void resetGlobals();

    // Setlist operations. Positions must exist in the list they refer to;
    // out-of-range positions are ignored.
    void addSongToSetlist(int songPosition);
    // Inserts the song before the entry at `at` (the end when beyond it); a setlist of
    // 128 entries is emptied first, as by addSongToSetlist. Returns where it went, or -1.
    int insertSongIntoSetlist(int songPosition, int at);
    void removeSetlistEntry(int position);
    // Return the entry's new position (the same position when it did not move).
    int moveSetlistEntryUp(int position);
    int moveSetlistEntryDown(int position);

    void clearStack(int stackPosition);
    void clearStackMessage(int stackPosition, int message);
    void removeLibraryEntry(int position);

    // Builds a setlist from 128 slotValues: 255 is skipped, n adds the song at position n - 1.
    // Returns false (and leaves `out` untouched) when a slot is neither 255 nor 1..songs.
    bool setlistFromSongNumbers(const std::vector<qint64> &slotValues, std::vector<SongRef> &out,
                                QString *problem = nullptr) const;

    // Position of a song object in SongList, or -1.
    int songPosition(const Song *song) const;

    std::vector<SongRef> SongList;
    std::vector<SongRef> Setlist;
    Menu GlobalMenu;
    std::vector<MidiMessage> MidiMessageLibrary;
    std::vector<MidiStack> MidiStackList;
};
