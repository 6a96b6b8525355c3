#include "SessionWriter.h"

#include "Encodings.h"

using Encodings::appendName;
using Encodings::appendNumber;

namespace {

bool fileOnly(KeyKind kind)
{
    return kind == KeyKind::StackNames || kind == KeyKind::StackMessageNames || kind == KeyKind::LibraryText
        || kind == KeyKind::LibraryNumber;
}

void appendGlobal(QString &out, const Menu &menu)
{
    for (const GlobalBlockField &f : globalBlockFields()) {
        switch (f.kind) {
        case GlobalBlockField::Bits: {
            qint64 bits = 0;
            for (int b = 0; b < 8; ++b)
                if (f.members[size_t(b)] && (menu.*(f.members[size_t(b)])) != 0)
                    bits |= qint64(1) << (7 - b);
            appendNumber(out, bits, f.width, "Global");
            break;
        }
        case GlobalBlockField::Number: appendNumber(out, menu.*(f.members[0]), f.width, "Global", f.offset); break;
        case GlobalBlockField::Offset:
            appendNumber(out, Encodings::offsetCode(menu.*(f.members[0])), f.width, "Global", f.offset);
            break;
        case GlobalBlockField::Status:
        case GlobalBlockField::ConverterTo:
            appendNumber(out, Encodings::statusNumber(menu.*(f.members[0]), menu.*(f.members[1])), f.width, "Global",
                         f.offset);
            break;
        }
    }
}

// The number a song carries under one of the per-song number keys.
qint64 songNumber(const SessionKey &key, const Song &s)
{
    switch (key.kind) {
    case KeyKind::SongTempo: return s.Tempo;
    case KeyKind::JackCode: {
        const SongJack &jack = songJacks()[size_t(key.jack)];
        return Encodings::jackCode(key.jack, s.*(jack.mode), s.*(jack.level), s.*(jack.pulses));
    }
    case KeyKind::PresetOptions: {
        qint64 bits = 0;
        for (const SessionKeys::OptionBit &option : SessionKeys::optionBits)
            bits += s.*(option.field) != 0 ? option.bit : 0;
        return bits;
    }
    default: return s.*(key.songField);
    }
}

// Each slot holds the song's position in SongList plus 1, 255 for none: the pedal and
// the reader take a slot as a position, and sorting a song table reorders SongList while
// every Id stays.
qint64 setlistSlot(const DataHandler &store, int slot)
{
    if (size_t(slot) >= store.Setlist.size())
        return 255;
    const int position = store.songPosition(store.Setlist[size_t(slot)].get());
    return position >= 0 ? position + 1 : 255;
}

} // namespace

void SessionWriter::setAllKeyFlags(bool on)
{
    if (on) {
        for (int i = 0; i < SessionKeys::Count; ++i)
            m_flags.set(size_t(i), SessionKeys::at(i).gated);
    } else {
        m_flags.reset();
    }
}

void SessionWriter::setKeyFlag(int keyIndex, bool on)
{
    if (keyIndex >= 0 && keyIndex < SessionKeys::Count && SessionKeys::at(keyIndex).gated)
        m_flags.set(size_t(keyIndex), on);
}

void SessionWriter::selectPage(SessionKeys::Page page)
{
    for (int k : SessionKeys::keysOfPage(page))
        setKeyFlag(k, true);
}

QString SessionWriter::value(const DataHandler &store, int keyIndex, Form form)
{
    QString out;
    appendValue(out, store, keyIndex, form);
    return out;
}

void SessionWriter::appendValue(QString &out, const DataHandler &store, int keyIndex, Form form)
{
    const SessionKey &key = SessionKeys::at(keyIndex);
    const auto &songs = store.SongList;
    const auto &stacks = store.MidiStackList;
    const auto &library = store.MidiMessageLibrary;

    switch (key.kind) {
    case KeyKind::SongName:
        out.reserve(out.size() + qsizetype(songs.size()) * key.width);
        for (size_t i = 0; i < songs.size(); ++i)
            appendName(out, songs[i]->FullName, key.width, key.key, int(i));
        break;
    case KeyKind::SongTempo:
    case KeyKind::SongNumber:
    case KeyKind::JackCode:
    case KeyKind::PresetOptions:
        out.reserve(out.size() + qsizetype(songs.size()) * key.width);
        for (size_t i = 0; i < songs.size(); ++i)
            appendNumber(out, songNumber(key, *songs[i]), key.width, key.key, int(i));
        break;
    case KeyKind::Setlist:
        for (int slot = 0; slot < DataHandler::SongCount; ++slot)
            appendNumber(out, setlistSlot(store, slot), key.width, key.key, slot);
        break;
    case KeyKind::Global: appendGlobal(out, store.GlobalMenu); break;
    case KeyKind::StackNames:
        for (size_t s = 0; s < stacks.size(); ++s)
            appendName(out, stacks[s].Name, key.width, key.key, int(s));
        break;
    case KeyKind::StackMessageNames:
        out.reserve(out.size() + qsizetype(stacks.size()) * MidiStack::MessageCount * key.width);
        for (size_t s = 0; s < stacks.size(); ++s)
            for (int m = 0; m < MidiStack::MessageCount; ++m)
                appendName(out, stacks[s].MidiStackMessageList[size_t(m)].Name, key.width, key.key,
                           int(s) * MidiStack::MessageCount + m);
        break;
    case KeyKind::StackChannels:
    case KeyKind::StackMessages:
    case KeyKind::StackValues:
        for (size_t s = 0; s < stacks.size(); ++s) {
            if (form == Form::Pedal)
                appendNumber(out, qint64(s), 3, key.key);
            for (int m = 0; m < MidiStack::MessageCount; ++m) {
                const MidiStackMessage &msg = stacks[s].MidiStackMessageList[size_t(m)];
                const qint64 v = key.kind == KeyKind::StackChannels ? Encodings::statusNumber(msg.Typey, msg.Channel)
                                                                    : msg.*(key.stackField);
                appendNumber(out, v, key.width, key.key, int(s) * MidiStack::MessageCount + m);
            }
        }
        break;
    case KeyKind::LibraryText:
        for (size_t i = 0; i < library.size(); ++i)
            appendName(out, library[i].*(key.libraryText), key.width, key.key, int(i));
        break;
    case KeyKind::LibraryNumber:
        for (size_t i = 0; i < library.size(); ++i)
            appendNumber(out, library[i].*(key.libraryNumber), key.width, key.key, int(i));
        break;
    }
}

QString SessionWriter::write(const DataHandler &store, Form form) const
{
    QString text;
    // A full session is some 80,000 characters and 75 more per library entry.
    text.reserve(qsizetype(90000) + qsizetype(store.MidiMessageLibrary.size()) * 75);
    for (int i = 0; i < SessionKeys::Count; ++i) {
        const SessionKey &key = SessionKeys::at(i);
        const bool selected = key.gated ? m_flags.test(size_t(i)) : (form == Form::File && fileOnly(key.kind));
        if (!selected)
            continue;
        text += QLatin1String(key.key);
        text += QLatin1Char(']');
        appendValue(text, store, i, form);
        text += QLatin1String("\r\n");
    }
    return text;
}

QString SessionWriter::writeKeys(const DataHandler &store, const std::vector<int> &keys)
{
    QString text;
    for (int i = 0; i < SessionKeys::Count; ++i) {
        if (std::find(keys.begin(), keys.end(), i) == keys.end())
            continue;
        text += QLatin1String(SessionKeys::at(i).key);
        text += QLatin1Char(']');
        appendValue(text, store, i, Form::File);
        text += QLatin1String("\r\n");
    }
    return text;
}
