#pragma once

#include <QString>

#include <cstddef>
#include <vector>

class DataHandler;

// A complete, compact image of a session store: one hash for every song (all its fields),
// for the setlist (song Ids and positions in SongList), the global settings, every
// library entry and every stack (its fields and all its messages). Two stores hold the
// same session exactly when their images are equal, barring a hash collision. Much
// cheaper than the JSON view, so the fuzz checks can take one per input line.
class StoreSnapshot
{
public:
    static StoreSnapshot of(const DataHandler &store);

    bool operator==(const StoreSnapshot &other) const { return m_records == other.m_records; }
    bool operator!=(const StoreSnapshot &other) const { return !(*this == other); }

    // Names the first record in which two images differ ("song at position 5"), or an
    // empty text when they are equal.
    static QString difference(const StoreSnapshot &before, const StoreSnapshot &after);

    // Checks the shape every store must keep: 128 songs whose Ids are their positions + 1,
    // a setlist of 0 to 128 songs of SongList, 128 stacks with IDs 0-127 and 10 messages
    // each. Returns an empty text, or what is wrong.
    static QString shapeProblem(const DataHandler &store);

private:
    struct Record
    {
        char kind;
        std::size_t index;
        std::size_t hash;
        bool operator==(const Record &o) const { return kind == o.kind && index == o.index && hash == o.hash; }
    };
    std::vector<Record> m_records;
};
