#include "StoreSnapshot.h"

#include "model/DataHandler.h"

#include <algorithm>
#include <array>

namespace {

// Record kinds, in image order.
enum Kind : char { SongKind = 'S', SetlistKind = 'L', MenuKind = 'G', LibraryKind = 'B', StackKind = 'K' };

// Word-wise FNV-1a over 64-bit words, in four interleaved lanes so that the multiplies
// do not wait for each other. Each step is a bijection of its lane, and the lanes are
// folded by more such steps, so a change of any one word always changes the result. Far
// cheaper than Qt's keyed hash, which matters when a check takes an image per input line.
class Hasher
{
public:
    void add(quint64 word)
    {
        quint64 &lane = m_lanes[m_next++ & 3];
        lane = (lane ^ word) * Prime;
    }
    void add(qint64 number) { add(quint64(number)); }
    void add(const QString &text)
    {
        add(quint64(text.size()));
        const QChar *units = text.constData();
        quint64 word = 0;
        int filled = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            word = (word << 16) | units[i].unicode();
            if (++filled == 4) {
                add(word);
                word = 0;
                filled = 0;
            }
        }
        if (filled)
            add(word);
    }
    std::size_t value() const
    {
        quint64 h = Basis;
        for (const quint64 lane : m_lanes)
            h = (h ^ lane) * Prime;
        return std::size_t(h);
    }

private:
    static constexpr quint64 Basis = 0xcbf29ce484222325ULL;
    static constexpr quint64 Prime = 0x100000001b3ULL;
    quint64 m_lanes[4] = {Basis, Basis + 1, Basis + 2, Basis + 3};
    unsigned m_next = 0;
};

// Position of a setlist entry in SongList: where its Id says, when it is there (the
// usual case), otherwise found by search.
qint64 positionOf(const DataHandler &store, const Song *song)
{
    if (!song)
        return -1;
    const qint64 guess = song->Id - 1;
    if (guess >= 0 && guess < qint64(store.SongList.size()) && store.SongList[size_t(guess)].get() == song)
        return guess;
    return store.songPosition(song);
}

} // namespace

StoreSnapshot StoreSnapshot::of(const DataHandler &store)
{
    StoreSnapshot s;
    s.m_records.reserve(store.SongList.size() + store.MidiStackList.size() + store.MidiMessageLibrary.size() + 2);
    for (std::size_t p = 0; p < store.SongList.size(); ++p) {
        const Song &song = *store.SongList[p];
        Hasher h;
        h.add(song.Id);
        h.add(song.Tempo);
        h.add(song.TempoInMs);
#define PEDAL_HASH_FIELD(name, factory) h.add(song.name);
        PEDAL_SONG_NUMBER_FIELDS(PEDAL_HASH_FIELD)
#undef PEDAL_HASH_FIELD
        h.add(song.FullName);
        h.add(song.NameWithoutBreaks);
        s.m_records.push_back({SongKind, p, h.value()});
    }
    Hasher setlist;
    setlist.add(quint64(store.Setlist.size()));
    for (const SongRef &ref : store.Setlist) {
        setlist.add(ref ? ref->Id : qint64(-1));
        setlist.add(positionOf(store, ref.get()));
    }
    s.m_records.push_back({SetlistKind, 0, setlist.value()});
    Hasher menu;
    for (const qint64 value : store.GlobalMenu.values())
        menu.add(value);
    s.m_records.push_back({MenuKind, 0, menu.value()});
    for (std::size_t i = 0; i < store.MidiMessageLibrary.size(); ++i) {
        const MidiMessage &m = store.MidiMessageLibrary[i];
        Hasher h;
        h.add(m.Typey);
        h.add(m.Message);
        h.add(m.Value);
        h.add(m.Manufacturer);
        h.add(m.Device);
        h.add(m.Action);
        s.m_records.push_back({LibraryKind, i, h.value()});
    }
    for (std::size_t k = 0; k < store.MidiStackList.size(); ++k) {
        const MidiStack &stack = store.MidiStackList[k];
        Hasher h;
        h.add(stack.ID);
        h.add(stack.Name);
        h.add(quint64(stack.MidiStackMessageList.size()));
        for (const MidiStackMessage &m : stack.MidiStackMessageList) {
            h.add(m.Typey);
            h.add(m.Channel);
            h.add(m.Message);
            h.add(m.Value);
            h.add(m.Name);
        }
        s.m_records.push_back({StackKind, k, h.value()});
    }
    return s;
}

QString StoreSnapshot::difference(const StoreSnapshot &before, const StoreSnapshot &after)
{
    if (before == after)
        return QString();
    const auto name = [](const Record &r) {
        switch (r.kind) {
        case SongKind: return QStringLiteral("the song at position %1").arg(r.index);
        case SetlistKind: return QStringLiteral("the setlist");
        case MenuKind: return QStringLiteral("the global settings");
        case LibraryKind: return QStringLiteral("library entry %1").arg(r.index + 1);
        default: return QStringLiteral("the stack at position %1").arg(r.index);
        }
    };
    const std::size_t common = std::min(before.m_records.size(), after.m_records.size());
    for (std::size_t i = 0; i < common; ++i) {
        const Record &a = before.m_records[i];
        const Record &b = after.m_records[i];
        if (a == b)
            continue;
        if (a.kind != b.kind || a.index != b.index)
            return QStringLiteral("%1 became %2").arg(name(a), name(b));
        return name(a) + QStringLiteral(" changed");
    }
    return QStringLiteral("the number of records changed from %1 to %2 (library entries)")
        .arg(before.m_records.size())
        .arg(after.m_records.size());
}

QString StoreSnapshot::shapeProblem(const DataHandler &store)
{
    if (store.SongList.size() != size_t(DataHandler::SongCount))
        return QStringLiteral("%1 songs").arg(store.SongList.size());
    for (size_t p = 0; p < store.SongList.size(); ++p) {
        if (!store.SongList[p])
            return QStringLiteral("song %1 is missing").arg(p + 1);
        if (store.SongList[p]->Id != qint64(p) + 1)
            return QStringLiteral("the song at position %1 has the Id %2").arg(p).arg(store.SongList[p]->Id);
    }
    if (store.Setlist.size() > size_t(DataHandler::SongCount))
        return QStringLiteral("a setlist of %1 entries").arg(store.Setlist.size());
    for (size_t i = 0; i < store.Setlist.size(); ++i)
        if (positionOf(store, store.Setlist[i].get()) < 0)
            return QStringLiteral("setlist entry %1 is not a song of SongList").arg(i + 1);
    if (store.MidiStackList.size() != size_t(DataHandler::StackCount))
        return QStringLiteral("%1 stacks").arg(store.MidiStackList.size());
    for (size_t s = 0; s < store.MidiStackList.size(); ++s) {
        const MidiStack &stack = store.MidiStackList[s];
        if (stack.ID != qint64(s))
            return QStringLiteral("the stack at position %1 has the ID %2").arg(s).arg(stack.ID);
        if (stack.MidiStackMessageList.size() != size_t(MidiStack::MessageCount))
            return QStringLiteral("stack %1 holds %2 messages").arg(s).arg(stack.MidiStackMessageList.size());
    }
    return QString();
}
