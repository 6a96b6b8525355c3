#include "SessionCodec.h"

#include "Encodings.h"

#include "model/CodePoints.h"

#include <cstring>

namespace {

// A name field read back: the plain case (no "[", "]" or line end before the first
// backtick) is one copy; the rest goes through the full decoder.
QString decodeField(QStringView field)
{
    const QChar *c = field.constData();
    const qsizetype size = field.size();
    for (qsizetype k = 0; k < size; ++k) {
        const char16_t u = c[k].unicode();
        if (u == u'`')
            return field.left(k).toString();
        if (u == u'[' || u == u']' || u == u'\r' || u == u'\n')
            return Encodings::decodeName(field);
    }
    return field.toString();
}

bool hasSurrogates(QStringView value)
{
    // Four UTF-16 units at a time: a lane of `y` is zero exactly when its unit is a
    // surrogate, and the expression below is non-zero exactly when some lane is zero.
    const char16_t *p = value.utf16();
    const qsizetype n = value.size();
    qsizetype i = 0;
    for (; i + 4 <= n; i += 4) {
        quint64 x;
        std::memcpy(&x, p + i, sizeof x);
        const quint64 y = (x & 0xF800F800F800F800ull) ^ 0xD800D800D800D800ull;
        if (((y - 0x0001000100010001ull) & ~y & 0x8000800080008000ull) != 0)
            return true;
    }
    for (; i < n; ++i)
        if ((p[i] & 0xF800u) == 0xD800u)
            return true;
    return false;
}

// Cuts `value` into fields of `width` code points (the last may be shorter) and decodes
// the names of the first `take` of them (all when `take` is negative). Returns the number
// of fields.
qsizetype decodeNames(QStringView value, int width, qsizetype take, QStringList &out)
{
    const qsizetype size = value.size();
    if (!hasSurrogates(value)) {
        const qsizetype fields = (size + width - 1) / width;
        const qsizetype n = take < 0 ? fields : qMin(take, fields);
        for (qsizetype f = 0; f < n; ++f)
            out.append(decodeField(value.mid(f * width, width)));
        return fields;
    }
    qsizetype fields = 0;
    qsizetype i = 0;
    while (i < size) {
        const qsizetype start = i;
        i = CodePoints::advance(value, i, width);
        if (take < 0 || fields < take)
            out.append(decodeField(value.mid(start, i - start)));
        ++fields;
    }
    return fields;
}

// A field shown in a message. Control characters are spelled out so that the message
// stays on one line.
QString quoted(QStringView text)
{
    QString t = Encodings::escaped(text.left(12));
    if (text.size() > 12)
        t += QStringLiteral("...");
    return QStringLiteral("\"%1\"").arg(t);
}

// Number fields hold only the digits 0-9, so they are cut by UTF-16 units: a value with
// a character outside the Basic Multilingual Plane is refused whichever way it is cut.
qsizetype numberFieldCount(QStringView value, int width)
{
    return (value.size() + width - 1) / width;
}

// Reads the first `count` fields of `width` digits (the last field may be shorter;
// widths are at most 4, and a field holds only the digits 0-9).
bool numbers(QStringView value, int width, qsizetype count, std::vector<qint64> &out, QString &problem)
{
    out.resize(size_t(count));
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype first = i * width;
        if (!Encodings::parseDigits(value.mid(first, width), out[size_t(i)], width)) {
            problem = QStringLiteral("field %1 is not a number: %2").arg(i + 1).arg(quoted(value.mid(first, width)));
            return false;
        }
    }
    return true;
}

bool needFields(qsizetype have, qsizetype need, QString &problem)
{
    if (have >= need)
        return true;
    problem = QStringLiteral("has %1 fields, %2 needed").arg(have).arg(need);
    return false;
}

bool statusChannelOk(qint64 status, QString &problem, const QString &where)
{
    qint64 type = 0, channel = 0;
    Encodings::decodeStatus(status, type, channel);
    if (channel >= 0 && channel <= 16)
        return true;
    problem = QStringLiteral("%1: status number %2 names no MIDI channel").arg(where).arg(status);
    return false;
}

bool decodeGlobal(QStringView value, const Menu &base, bool typeFromSecond, Menu &out, QString &problem)
{
    if (value.size() < SessionKeys::GlobalBlockLength) {
        problem =
            QStringLiteral("is %1 characters long, %2 needed").arg(value.size()).arg(SessionKeys::GlobalBlockLength);
        return false;
    }
    Menu menu = base;
    for (const GlobalBlockField &f : globalBlockFields()) {
        qint64 v = 0;
        const QStringView piece = value.mid(f.offset, f.width);
        if (!Encodings::parseDigits(piece, v)) {
            problem = QStringLiteral("character %1 is not a number: %2").arg(f.offset + 1).arg(quoted(piece));
            return false;
        }
        switch (f.kind) {
        case GlobalBlockField::Bits:
            for (int b = 0; b < 8; ++b)
                if (f.members[size_t(b)])
                    menu.*(f.members[size_t(b)]) = (v >> (7 - b)) & 1;
            break;
        case GlobalBlockField::Number: menu.*(f.members[0]) = v; break;
        case GlobalBlockField::Offset: menu.*(f.members[0]) = Encodings::decodeOffset(v); break;
        case GlobalBlockField::Status:
        case GlobalBlockField::ConverterTo: {
            if (!statusChannelOk(v, problem, QStringLiteral("character %1").arg(f.offset + 1)))
                return false;
            qint64 type = 0, channel = 0;
            Encodings::decodeStatus(v, type, channel);
            menu.*(f.members[1]) = channel;
            if (f.kind == GlobalBlockField::Status || typeFromSecond)
                menu.*(f.members[0]) = type;
            break;
        }
        }
    }
    // A converter of a message type other than 0 converts between MIDI channels 1-16:
    // that type on channel 0 has no status number of its own (it would be written as the
    // last channel of the type before it) and would not survive saving and opening.
    const struct
    {
        qint64 Menu::*type;
        qint64 Menu::*from;
        qint64 Menu::*to;
    } converters[] = {
        {&Menu::ChannelConvert1Type, &Menu::ChannelConvert1ChannelFrom, &Menu::ChannelConvert1ChannelTo},
        {&Menu::ChannelConvert2Type, &Menu::ChannelConvert2ChannelFrom, &Menu::ChannelConvert2ChannelTo},
    };
    for (size_t c = 0; c < 2; ++c) {
        const auto &k = converters[c];
        if (menu.*(k.type) != 0 && (menu.*(k.from) == 0 || menu.*(k.to) == 0)) {
            problem = QStringLiteral("channel converter %1 converts messages of type %2 from channel %3 to channel %4")
                          .arg(c + 1)
                          .arg(menu.*(k.type))
                          .arg(menu.*(k.from))
                          .arg(menu.*(k.to));
            return false;
        }
    }
    out = menu;
    return true;
}

bool isNameKey(KeyKind kind)
{
    return kind == KeyKind::SongName || kind == KeyKind::StackNames || kind == KeyKind::StackMessageNames
        || kind == KeyKind::LibraryText;
}

// Trimming a line also takes the spaces at the end of a last name that fills its whole
// field ("Intro " written without padding). Gives back as much of the white space as
// completes whole fields, and never less than the trimmed value.
QStringView withTrailingSpaces(QStringView value, QStringView raw, int width)
{
    const qsizetype start = value.constData() - raw.constData();
    // Only the white space right after the value, up to a stray line end.
    qsizetype rawEnd = start + value.size();
    while (rawEnd < raw.size() && raw.at(rawEnd) != QLatin1Char('\r') && raw.at(rawEnd) != QLatin1Char('\n'))
        ++rawEnd;
    const qsizetype extra = rawEnd - (start + value.size());
    if (extra <= 0)
        return value;
    const qsizetype points = CodePoints::length(value);
    // The trimmed characters are white space, one code point each.
    const qsizetype whole = (points + extra) / width * width;
    if (whole <= points)
        return value;
    return raw.mid(start, value.size() + (whole - points));
}

// A tempo of 0 and a setlist slot that names no song are refused.
bool songNumbersOk(KeyKind kind, const std::vector<qint64> &values, const DataHandler &store, QString &problem)
{
    if (kind == KeyKind::SongTempo) {
        for (size_t i = 0; i < values.size(); ++i) {
            if (values[i] == 0) {
                problem = QStringLiteral("song %1 has the tempo 0").arg(i + 1);
                return false;
            }
        }
    }
    std::vector<SongRef> unused;
    return kind != KeyKind::Setlist || store.setlistFromSongNumbers(values, unused, &problem);
}

// The ten numbers of each of `stacks` stacks, each group led by the stack's position
// when the text carries positions.
bool stackNumbers(QStringView value, int width, qsizetype stacks, bool withPositions, DecodedKey &d, QString &problem)
{
    const int group = MidiStack::MessageCount + (withPositions ? 1 : 0);
    std::vector<qint64> all;
    if (!numbers(value, width, stacks * group, all, problem))
        return false;
    d.numbers.reserve(size_t(stacks * MidiStack::MessageCount));
    for (qsizetype s = 0; s < stacks; ++s) {
        const size_t first = size_t(s * group);
        if (withPositions) {
            const qint64 position = all[first];
            if (position < 0 || position >= stacks) {
                problem = QStringLiteral("stack %1 has the position %2").arg(s + 1).arg(position);
                return false;
            }
            d.stackPositions.push_back(position);
        }
        for (int m = 0; m < MidiStack::MessageCount; ++m)
            d.numbers.push_back(all[first + size_t(group - MidiStack::MessageCount + m)]);
    }
    return true;
}

} // namespace

QStringView SessionCodec::lineValue(QStringView raw, int keyIndex)
{
    const QStringView line = raw.trimmed();
    const QStringView value = line.mid(line.indexOf(QLatin1Char(']')) + 1);
    const qsizetype end = value.indexOf(QLatin1Char(']'));
    if (end >= 0)
        return value.left(end);
    const SessionKey &key = SessionKeys::at(keyIndex);
    if (isNameKey(key.kind))
        return withTrailingSpaces(value, raw, key.width);
    return value;
}

bool SessionCodec::decode(int keyIndex, QStringView value, const DataHandler &store, const Options &options,
                          DecodedKey &out, QString &problem, bool *tooShort)
{
    const auto enoughFields = [tooShort](qsizetype have, qsizetype need, QString &why) {
        const bool enough = needFields(have, need, why);
        if (tooShort)
            *tooShort = !enough;
        return enough;
    };
    const SessionKey &key = SessionKeys::at(keyIndex);
    DecodedKey d;
    d.key = keyIndex;
    const qsizetype songs = qsizetype(store.SongList.size());
    const qsizetype stackFields = qsizetype(store.MidiStackList.size()) * MidiStack::MessageCount;

    switch (key.kind) {
    case KeyKind::SongName:
    case KeyKind::StackNames:
    case KeyKind::StackMessageNames:
    case KeyKind::LibraryText: {
        const qsizetype need = key.kind == KeyKind::SongName ? songs
            : key.kind == KeyKind::StackNames                ? qsizetype(store.MidiStackList.size())
            : key.kind == KeyKind::StackMessageNames         ? stackFields
                                                             : 0;
        d.names.reserve(key.kind == KeyKind::LibraryText ? value.size() / key.width + 1 : need);
        const qsizetype fields = decodeNames(value, key.width, key.kind == KeyKind::LibraryText ? -1 : need, d.names);
        if (!enoughFields(fields, need, problem))
            return false;
        break;
    }
    case KeyKind::SongTempo:
    case KeyKind::SongNumber:
    case KeyKind::JackCode:
    case KeyKind::PresetOptions:
    case KeyKind::Setlist: {
        const qsizetype need = key.kind == KeyKind::Setlist ? DataHandler::SongCount : songs;
        if (!enoughFields(numberFieldCount(value, key.width), need, problem)
            || !numbers(value, key.width, need, d.numbers, problem))
            return false;
        if (!songNumbersOk(key.kind, d.numbers, store, problem))
            return false;
        break;
    }
    case KeyKind::Global: {
        Menu menu = store.GlobalMenu;
        if (tooShort)
            *tooShort = value.size() < SessionKeys::GlobalBlockLength;
        if (!decodeGlobal(value, store.GlobalMenu, options.converterTypeFromSecondStatus, menu, problem))
            return false;
        d.global = menu;
        break;
    }
    case KeyKind::StackChannels:
    case KeyKind::StackMessages:
    case KeyKind::StackValues: {
        const int group = MidiStack::MessageCount + (options.stackPositions ? 1 : 0);
        const qsizetype stacks = qsizetype(store.MidiStackList.size());
        if (!enoughFields(numberFieldCount(value, key.width), stacks * group, problem))
            return false;
        if (!stackNumbers(value, key.width, stacks, options.stackPositions, d, problem))
            return false;
        break;
    }
    case KeyKind::LibraryNumber: {
        if (!numbers(value, key.width, numberFieldCount(value, key.width), d.numbers, problem))
            return false;
        break;
    }
    }
    out = std::move(d);
    return true;
}

void SessionCodec::store(DataHandler &store, const DecodedKey &d)
{
    const SessionKey &key = SessionKeys::at(d.key);
    auto &songs = store.SongList;
    auto stackAt = [&](size_t s) -> MidiStack & {
        const size_t position = d.stackPositions.empty() ? s : size_t(d.stackPositions[s]);
        return store.MidiStackList[position];
    };

    switch (key.kind) {
    case KeyKind::SongName:
        for (size_t i = 0; i < songs.size() && i < size_t(d.names.size()); ++i)
            songs[i]->UpdateName(d.names[qsizetype(i)]);
        break;
    case KeyKind::SongTempo:
        for (size_t i = 0; i < songs.size() && i < d.numbers.size(); ++i)
            songs[i]->UpdateTempo(d.numbers[i]);
        break;
    case KeyKind::SongNumber:
        for (size_t i = 0; i < songs.size() && i < d.numbers.size(); ++i)
            (*songs[i]).*(key.songField) = d.numbers[i];
        break;
    case KeyKind::JackCode: {
        const SongJack &jack = songJacks()[size_t(key.jack)];
        for (size_t i = 0; i < songs.size() && i < d.numbers.size(); ++i) {
            Song &s = *songs[i];
            Encodings::decodeJackCode(key.jack, d.numbers[i], s.*(jack.mode), s.*(jack.level), s.*(jack.pulses));
        }
        break;
    }
    case KeyKind::PresetOptions:
        for (size_t i = 0; i < songs.size() && i < d.numbers.size(); ++i) {
            Song &s = *songs[i];
            for (const SessionKeys::OptionBit &option : SessionKeys::optionBits)
                s.*(option.field) = (d.numbers[i] & option.bit) != 0 ? 1 : 0;
        }
        break;
    case KeyKind::Setlist: {
        std::vector<SongRef> list;
        if (store.setlistFromSongNumbers(d.numbers, list))
            store.Setlist = std::move(list);
        break;
    }
    case KeyKind::Global:
        if (d.global)
            store.GlobalMenu = *d.global;
        break;
    case KeyKind::StackNames:
        for (size_t s = 0; s < store.MidiStackList.size() && s < size_t(d.names.size()); ++s)
            store.MidiStackList[s].Name = d.names[qsizetype(s)];
        break;
    case KeyKind::StackMessageNames:
        for (qsizetype i = 0; i < d.names.size(); ++i) {
            const size_t s = size_t(i / MidiStack::MessageCount);
            if (s >= store.MidiStackList.size())
                break;
            store.MidiStackList[s].MidiStackMessageList[size_t(i % MidiStack::MessageCount)].Name = d.names[i];
        }
        break;
    case KeyKind::StackChannels:
    case KeyKind::StackMessages:
    case KeyKind::StackValues:
        for (size_t i = 0; i < d.numbers.size(); ++i) {
            const size_t s = i / MidiStack::MessageCount;
            if (s >= store.MidiStackList.size())
                break;
            MidiStackMessage &m = stackAt(s).MidiStackMessageList[i % MidiStack::MessageCount];
            if (key.kind == KeyKind::StackChannels)
                Encodings::decodeStatus(d.numbers[i], m.Typey, m.Channel);
            else
                m.*(key.stackField) = d.numbers[i];
        }
        break;
    case KeyKind::LibraryText:
    case KeyKind::LibraryNumber: break;
    }
}

bool SessionCodec::libraryEntries(const std::array<const DecodedKey *, 6> &keys, std::vector<MidiMessage> &out,
                                  QString &problem)
{
    const qsizetype count = keys[0]->names.size();
    for (size_t k = 0; k < 6; ++k) {
        const qsizetype n = k < 3 ? keys[k]->names.size() : qsizetype(keys[k]->numbers.size());
        if (n != count) {
            problem = QStringLiteral("%1 has %2 entries, but %3 has %4")
                          .arg(QLatin1String(SessionKeys::at(keys[k]->key).key))
                          .arg(n)
                          .arg(QLatin1String(SessionKeys::at(keys[0]->key).key))
                          .arg(count);
            return false;
        }
    }
    out.clear();
    out.reserve(size_t(count));
    for (qsizetype i = 0; i < count; ++i)
        out.emplace_back(keys[0]->names[i], keys[1]->names[i], keys[2]->names[i], keys[3]->numbers[size_t(i)],
                         keys[4]->numbers[size_t(i)], keys[5]->numbers[size_t(i)]);
    return true;
}
