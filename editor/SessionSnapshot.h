#pragma once

#include "model/DataHandler.h"

#include <vector>

// A copy of everything a session holds, to tell whether the session differs from what
// was last saved or opened. Songs are compared field by field, the setlist by song
// positions.
class SessionSnapshot
{
public:
    static SessionSnapshot of(const DataHandler &store);
    bool operator==(const SessionSnapshot &other) const;
    bool operator!=(const SessionSnapshot &other) const { return !(*this == other); }
    bool isEmpty() const { return m_empty; }

private:
    struct SongValues
    {
        qint64 id = 0;
        QString name;
        qint64 tempo = 0;
        qint64 tempoInMs = 0;
        Song::NumberValues numbers{};
        bool operator==(const SongValues &o) const
        {
            return id == o.id && name == o.name && tempo == o.tempo && tempoInMs == o.tempoInMs
                && numbers == o.numbers;
        }
    };

    bool m_empty = true;
    std::vector<SongValues> m_songs;
    std::vector<int> m_setlist;
    Menu::Values m_menu{};
    std::vector<QString> m_stackNames;
    std::vector<MidiStackMessage> m_stackMessages;
    std::vector<MidiMessage> m_library;
};
