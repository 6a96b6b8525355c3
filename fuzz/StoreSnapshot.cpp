#include "StoreSnapshot.h"

#include "model/DataHandler.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace {

// Record kinds, in image order.
enum Kind : char { SongKind = 'S', SetlistKind = 'L', MenuKind = 'G', LibraryKind = 'B', StackKind = 'K' };

std::size_t mix(std::size_t seed, std::size_t h)
{
    return seed ^ (h + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

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

template <std::size_t N>
std::size_t hashNumbers(const std::array<qint64, N> &numbers, std::size_t count)
{
    return qHashBits(numbers.data(), count * sizeof(qint64));
}

} // namespace

StoreSnapshot StoreSnapshot::of(const DataHandler &store)
{
    StoreSnapshot s;
    s.m_records.reserve(store.SongList.size() + store.MidiStackList.size() + store.MidiMessageLibrary.size() + 2);
    const auto &fields = songNumberFields();
    for (std::size_t p = 0; p < store.SongList.size(); ++p) {
        const Song &song = *store.SongList[p];
        std::array<qint64, 3 + Song::NumberFieldCount> numbers{};
        std::size_t n = 0;
        numbers[n++] = song.Id;
        numbers[n++] = song.Tempo;
        numbers[n++] = song.TempoInMs;
        for (const SongNumberField &f : fields)
            numbers[n++] = song.*(f.member);
        std::size_t h = hashNumbers(numbers, n);
        h = mix(h, qHash(song.FullName));
        h = mix(h, qHash(song.NameWithoutBreaks));
        s.m_records.push_back({SongKind, p, h});
    }
    std::size_t setlist = qHash(qint64(store.Setlist.size()));
    for (const SongRef &ref : store.Setlist) {
        setlist = mix(setlist, qHash(ref ? ref->Id : -1));
        setlist = mix(setlist, qHash(positionOf(store, ref.get())));
    }
    s.m_records.push_back({SetlistKind, 0, setlist});
    const Menu::Values menu = store.GlobalMenu.values();
    s.m_records.push_back({MenuKind, 0, hashNumbers(menu, menu.size())});
    for (std::size_t i = 0; i < store.MidiMessageLibrary.size(); ++i) {
        const MidiMessage &m = store.MidiMessageLibrary[i];
        const std::array<qint64, 3> numbers{m.Typey, m.Message, m.Value};
        std::size_t h = hashNumbers(numbers, numbers.size());
        h = mix(h, qHash(m.Manufacturer));
        h = mix(h, qHash(m.Device));
        h = mix(h, qHash(m.Action));
        s.m_records.push_back({LibraryKind, i, h});
    }
    for (std::size_t k = 0; k < store.MidiStackList.size(); ++k) {
        const MidiStack &stack = store.MidiStackList[k];
        std::size_t h = mix(qHash(stack.ID), qHash(stack.Name));
        h = mix(h, qHash(qint64(stack.MidiStackMessageList.size())));
        for (const MidiStackMessage &m : stack.MidiStackMessageList) {
            const std::array<qint64, 4> numbers{m.Typey, m.Channel, m.Message, m.Value};
            h = mix(h, hashNumbers(numbers, numbers.size()));
            h = mix(h, qHash(m.Name));
        }
        s.m_records.push_back({StackKind, k, h});
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
