#include "SessionSnapshot.h"

#include <algorithm>
#include <unordered_map>

bool sameSong(const Song &a, const Song &b)
{
    if (a.Id != b.Id || a.Tempo != b.Tempo || a.TempoInMs != b.TempoInMs || a.FullName != b.FullName
        || a.NameWithoutBreaks != b.NameWithoutBreaks)
        return false;
    for (const SongNumberField &field : songNumberFields())
        if (a.*field.member != b.*field.member)
            return false;
    return true;
}

bool sameStack(const MidiStack &a, const MidiStack &b)
{
    return a.ID == b.ID && a.Name == b.Name && a.MidiStackMessageList == b.MidiStackMessageList;
}

namespace {

template<typename T, typename Same>
bool sameLists(const std::vector<T> &a, const std::vector<T> &b, Same same)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!same(a[i], b[i]))
            return false;
    return true;
}

// Keeps in `before` and `after` only the entries that differ.
template<typename T, typename Same>
void dropUnchanged(std::map<int, T> &before, std::map<int, T> &after, Same same)
{
    for (auto it = before.begin(); it != before.end();) {
        const auto other = after.find(it->first);
        if (other != after.end() && same(it->second, other->second)) {
            after.erase(other);
            it = before.erase(it);
        } else {
            ++it;
        }
    }
}

template<typename T>
void dropUnchanged(std::optional<T> &before, std::optional<T> &after)
{
    if (before && after && *before == *after) {
        before.reset();
        after.reset();
    }
}

} // namespace

SessionSnapshot SessionSnapshot::of(const DataHandler &store)
{
    SessionSnapshot s;
    s.songs.reserve(store.SongList.size());
    std::unordered_map<const Song *, int> positions;
    positions.reserve(store.SongList.size());
    for (size_t i = 0; i < store.SongList.size(); ++i) {
        s.songs.push_back(*store.SongList[i]);
        positions.emplace(store.SongList[i].get(), int(i));
    }
    s.setlist.reserve(store.Setlist.size());
    for (const SongRef &song : store.Setlist) {
        const auto found = positions.find(song.get());
        s.setlist.push_back(found == positions.end() ? -1 : found->second);
    }
    s.menu = store.GlobalMenu.values();
    s.stacks = store.MidiStackList;
    s.library = store.MidiMessageLibrary;
    return s;
}

void SessionSnapshot::restoreInto(DataHandler &store) const
{
    SessionPart all;
    for (size_t i = 0; i < songs.size(); ++i)
        all.songs.emplace(int(i), songs[i]);
    all.setlist = setlist;
    all.menu = menu;
    for (size_t i = 0; i < stacks.size(); ++i)
        all.stacks.emplace(int(i), stacks[i]);
    all.library = library;
    all.applyTo(store);
}

bool SessionSnapshot::operator==(const SessionSnapshot &o) const
{
    return setlist == o.setlist && menu == o.menu && library == o.library && sameLists(songs, o.songs, sameSong)
        && sameLists(stacks, o.stacks, sameStack);
}

void SessionPart::applyTo(DataHandler &store) const
{
    for (const auto &[position, song] : songs)
        if (position >= 0 && size_t(position) < store.SongList.size())
            *store.SongList[size_t(position)] = song;
    if (setlist) {
        std::vector<SongRef> list;
        list.reserve(setlist->size());
        for (int position : *setlist)
            if (position >= 0 && size_t(position) < store.SongList.size())
                list.push_back(store.SongList[size_t(position)]);
        store.Setlist = std::move(list);
    }
    if (menu)
        store.GlobalMenu = Menu(*menu);
    for (const auto &[position, stack] : stacks)
        if (position >= 0 && size_t(position) < store.MidiStackList.size())
            store.MidiStackList[size_t(position)] = stack;
    if (library)
        store.MidiMessageLibrary = *library;
}

SessionDelta SessionDelta::between(const SessionSnapshot &before, const SessionSnapshot &after)
{
    SessionDelta c;
    const size_t songs = std::max(before.songs.size(), after.songs.size());
    for (size_t i = 0; i < songs; ++i) {
        const bool inBefore = i < before.songs.size();
        const bool inAfter = i < after.songs.size();
        if (inBefore && inAfter && sameSong(before.songs[i], after.songs[i]))
            continue;
        if (inBefore)
            c.m_before.songs.emplace(int(i), before.songs[i]);
        if (inAfter)
            c.m_after.songs.emplace(int(i), after.songs[i]);
    }
    if (before.setlist != after.setlist) {
        c.m_before.setlist = before.setlist;
        c.m_after.setlist = after.setlist;
    }
    if (before.menu != after.menu) {
        c.m_before.menu = before.menu;
        c.m_after.menu = after.menu;
    }
    const size_t stacks = std::max(before.stacks.size(), after.stacks.size());
    for (size_t i = 0; i < stacks; ++i) {
        const bool inBefore = i < before.stacks.size();
        const bool inAfter = i < after.stacks.size();
        if (inBefore && inAfter && sameStack(before.stacks[i], after.stacks[i]))
            continue;
        if (inBefore)
            c.m_before.stacks.emplace(int(i), before.stacks[i]);
        if (inAfter)
            c.m_after.stacks.emplace(int(i), after.stacks[i]);
    }
    if (before.library != after.library) {
        c.m_before.library = before.library;
        c.m_after.library = after.library;
    }
    return c;
}

bool SessionDelta::isEmpty() const
{
    return m_before.songs.empty() && m_after.songs.empty() && !m_before.setlist && !m_before.menu
        && m_before.stacks.empty() && m_after.stacks.empty() && !m_before.library;
}

void SessionDelta::append(const SessionDelta &later)
{
    // What this change did not touch was, before it, as the later change found it.
    for (const auto &[position, song] : later.m_before.songs)
        m_before.songs.emplace(position, song);
    for (const auto &[position, stack] : later.m_before.stacks)
        m_before.stacks.emplace(position, stack);
    if (!m_before.setlist)
        m_before.setlist = later.m_before.setlist;
    if (!m_before.menu)
        m_before.menu = later.m_before.menu;
    if (!m_before.library)
        m_before.library = later.m_before.library;

    for (const auto &[position, song] : later.m_after.songs)
        m_after.songs.insert_or_assign(position, song);
    for (const auto &[position, stack] : later.m_after.stacks)
        m_after.stacks.insert_or_assign(position, stack);
    if (later.m_after.setlist)
        m_after.setlist = later.m_after.setlist;
    if (later.m_after.menu)
        m_after.menu = later.m_after.menu;
    if (later.m_after.library)
        m_after.library = later.m_after.library;

    dropUnchanged(m_before.songs, m_after.songs, sameSong);
    dropUnchanged(m_before.stacks, m_after.stacks, sameStack);
    dropUnchanged(m_before.setlist, m_after.setlist);
    dropUnchanged(m_before.menu, m_after.menu);
    dropUnchanged(m_before.library, m_after.library);
}

std::vector<int> SessionDelta::songPositions() const
{
    std::vector<int> out;
    for (const auto &entry : m_after.songs)
        out.push_back(entry.first);
    for (const auto &entry : m_before.songs)
        if (!m_after.songs.count(entry.first))
            out.push_back(entry.first);
    return out;
}

std::vector<int> SessionDelta::stackPositions() const
{
    std::vector<int> out;
    for (const auto &entry : m_after.stacks)
        out.push_back(entry.first);
    for (const auto &entry : m_before.stacks)
        if (!m_after.stacks.count(entry.first))
            out.push_back(entry.first);
    return out;
}

std::vector<int> SessionDelta::menuFields() const
{
    std::vector<int> out;
    if (!m_before.menu || !m_after.menu)
        return out;
    for (size_t i = 0; i < m_before.menu->size(); ++i)
        if ((*m_before.menu)[i] != (*m_after.menu)[i])
            out.push_back(int(i));
    return out;
}
