#include "SessionSnapshot.h"

SessionSnapshot SessionSnapshot::of(const DataHandler &store)
{
    SessionSnapshot s;
    s.m_empty = false;
    s.m_songs.reserve(store.SongList.size());
    const auto &fields = songNumberFields();
    for (const SongRef &song : store.SongList) {
        SongValues v;
        v.id = song->Id;
        v.name = song->FullName;
        v.tempo = song->Tempo;
        v.tempoInMs = song->TempoInMs;
        for (size_t i = 0; i < fields.size(); ++i)
            v.numbers[i] = (*song).*fields[i].member;
        s.m_songs.push_back(std::move(v));
    }
    for (const SongRef &song : store.Setlist)
        s.m_setlist.push_back(store.songPosition(song.get()));
    s.m_menu = store.GlobalMenu.values();
    for (const MidiStack &stack : store.MidiStackList) {
        s.m_stackNames.push_back(stack.Name);
        s.m_stackMessages.insert(s.m_stackMessages.end(), stack.MidiStackMessageList.begin(),
                                 stack.MidiStackMessageList.end());
    }
    s.m_library = store.MidiMessageLibrary;
    return s;
}

bool SessionSnapshot::operator==(const SessionSnapshot &o) const
{
    return m_empty == o.m_empty && m_songs == o.m_songs && m_setlist == o.m_setlist && m_menu == o.m_menu
        && m_stackNames == o.m_stackNames && m_stackMessages == o.m_stackMessages && m_library == o.m_library;
}
