#pragma once

#include "DataHandler.h"

#include <QString>

#include <map>
#include <optional>
#include <vector>

// A copy of a whole session as values: the songs in SongList order, the setlist as song
// positions, the global settings, the stacks and the library. Two stores hold the same
// session exactly when their snapshots are equal. A snapshot is written back into a store
// in place: the existing song, stack and settings objects take the values, so references
// to them (the setlist, the pages) stay valid.
class SessionSnapshot
{
public:
    static SessionSnapshot of(const DataHandler &store);
    void restoreInto(DataHandler &store) const;

    bool operator==(const SessionSnapshot &other) const;
    bool operator!=(const SessionSnapshot &other) const { return !(*this == other); }

    std::vector<Song> songs;
    std::vector<int> setlist; // positions in songs; -1 for an entry that is not one of them
    Menu::Values menu{};
    std::vector<MidiStack> stacks;
    std::vector<MidiMessage> library;
};

bool sameSong(const Song &a, const Song &b);
bool sameStack(const MidiStack &a, const MidiStack &b);

// Some parts of a session: the songs and stacks at the positions held, and the setlist,
// settings and library when held.
struct SessionPart
{
    std::map<int, Song> songs;
    std::optional<std::vector<int>> setlist;
    std::optional<Menu::Values> menu;
    std::map<int, MidiStack> stacks;
    std::optional<std::vector<MidiMessage>> library;

    // Writes the parts held into the store in place. Positions the store does not have
    // are skipped.
    void applyTo(DataHandler &store) const;
};

// What one step changed: the changed parts as they were before and as they are after.
// Only what differs is kept, so a step that changes one field of one song holds two songs.
class SessionDelta
{
public:
    static SessionDelta between(const SessionSnapshot &before, const SessionSnapshot &after);

    bool isEmpty() const;
    // Takes a later change that followed this one into it: the parts before stay this
    // change's, the parts after become the later one's. Parts that end as they began
    // are dropped.
    void append(const SessionDelta &later);

    const SessionPart &before() const { return m_before; }
    const SessionPart &after() const { return m_after; }

    std::vector<int> songPositions() const;
    std::vector<int> stackPositions() const;
    bool setlistChanged() const { return m_before.setlist.has_value(); }
    bool libraryChanged() const { return m_before.library.has_value(); }
    // Positions in menuFields() of the settings that differ.
    std::vector<int> menuFields() const;

private:
    SessionPart m_before;
    SessionPart m_after;
};
