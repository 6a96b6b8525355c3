#include "SessionDiff.h"

#include "Encodings.h"
#include "SessionCodec.h"
#include "SessionWriter.h"

#include "model/MessageType.h"

#include <algorithm>
#include <iterator>

namespace {

using Record = SessionChange::Record;

const QString kNone = QStringLiteral("(none)");

QString quotedName(QString name)
{
    // A line break of a name is one "\n".
    name.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return QLatin1Char('"') + Encodings::escaped(name) + QLatin1Char('"');
}

QString statusWords(qint64 status)
{
    if (status == 0)
        return QStringLiteral("none");
    qint64 type = 0, channel = 0;
    Encodings::decodeStatus(status, type, channel);
    const QString name = MessageType::name(type);
    return QStringLiteral("%1, channel %2").arg(name.isEmpty() ? QString::number(type) : name).arg(channel);
}

QString jackWords(int jack, qint64 code)
{
    qint64 mode = 0, level = 0, pulses = 0;
    Encodings::decodeJackCode(jack, code, mode, level, pulses);
    if (mode == 0)
        return level == 1 ? QStringLiteral("static high")
            : level == 0  ? QStringLiteral("static low")
                          : QStringLiteral("static");
    if (mode == 1)
        return pulses == 0 ? QStringLiteral("tap output, 1 pulse")
                           : QStringLiteral("tap output, %1 pulses").arg(pulses + 1);
    return QStringLiteral("mode %1").arg(mode);
}

QString optionWords(qint64 bits)
{
    QStringList on;
    for (const SessionKeys::OptionBit &option : SessionKeys::optionBits)
        if ((bits & option.bit) != 0)
            on << QLatin1String(option.onText);
    return on.isEmpty() ? QStringLiteral("none") : on.join(QStringLiteral(", "));
}

// A number of a key as words, by the key's kind.
QString numberWords(const SessionKey &key, qint64 v)
{
    switch (key.kind) {
    case KeyKind::JackCode: return jackWords(key.jack, v);
    case KeyKind::PresetOptions: return optionWords(v);
    case KeyKind::StackChannels: return statusWords(v);
    case KeyKind::LibraryNumber:
        if (key.libraryNumber == &MidiMessage::Typey && !MessageType::name(v).isEmpty())
            return QStringLiteral("%1 (%2)").arg(v).arg(MessageType::name(v));
        return QString::number(v);
    default: return QString::number(v);
    }
}

// The song numbers of a setlist's slots, the empty slots left out.
std::vector<qint64> setlistSongs(const std::vector<qint64> &slotValues)
{
    std::vector<qint64> songs;
    std::copy_if(slotValues.begin(), slotValues.end(), std::back_inserter(songs), [](qint64 n) { return n != 255; });
    return songs;
}

// At most eight song numbers of a setlist from `first` on, "(none)" for none.
QString setlistWords(const std::vector<qint64> &songs, size_t first)
{
    QStringList numbers;
    for (size_t i = first; i < songs.size() && numbers.size() < 8; ++i)
        numbers << QString::number(songs[i]);
    if (first + 8 < songs.size())
        numbers << QStringLiteral("…");
    return numbers.isEmpty() ? kNone : numbers.join(QLatin1Char(' '));
}

QJsonArray jsonNumbers(const std::vector<qint64> &numbers, size_t first = 0)
{
    QJsonArray out;
    for (size_t i = first; i < numbers.size(); ++i)
        out.append(numbers[i]);
    return out;
}

Record recordOf(KeyKind kind)
{
    switch (kind) {
    case KeyKind::Setlist: return Record::Setlist;
    case KeyKind::Global: return Record::Global;
    case KeyKind::StackNames:
    case KeyKind::StackMessageNames:
    case KeyKind::StackChannels:
    case KeyKind::StackMessages:
    case KeyKind::StackValues: return Record::Stack;
    case KeyKind::LibraryText:
    case KeyKind::LibraryNumber: return Record::Library;
    default: return Record::Song;
    }
}

class Comparison
{
public:
    Comparison(const DataHandler &a, const DataHandler &b, std::vector<SessionChange> &out) : m_a(a), m_b(b), m_out(out)
    {}

    void key(int k, QStringView textA, QStringView textB)
    {
        const SessionKey &key = SessionKeys::at(k);
        const SessionCodec::Options options; // as session files are read
        DecodedKey da, db;
        QString problem;
        if (!SessionCodec::decode(k, textA, m_a, options, da, problem)
            || !SessionCodec::decode(k, textB, m_b, options, db, problem)) {
            // Values the text cannot carry were clamped by the writer; compare the texts.
            SessionChange c = change(k, -1);
            c.before = textA.left(60).toString();
            c.after = textB.left(60).toString();
            c.beforeValue = c.before;
            c.afterValue = c.after;
            m_out.push_back(c);
            return;
        }
        switch (key.kind) {
        case KeyKind::Global: global(k, *da.global, *db.global); break;
        case KeyKind::LibraryText:
        case KeyKind::LibraryNumber: library(k, da, db); break;
        case KeyKind::Setlist: setlist(k, setlistSongs(da.numbers), setlistSongs(db.numbers)); break;
        default: perRecord(k, da, db); break;
        }
    }

private:
    void global(int k, const Menu &a, const Menu &b)
    {
        for (const MenuField &f : menuFields()) {
            const qint64 va = a.*(f.member);
            const qint64 vb = b.*(f.member);
            if (va == vb)
                continue;
            SessionChange c = change(k, -1);
            c.setting = f.name;
            c.field = f.title();
            c.before = QString::number(va);
            c.after = QString::number(vb);
            c.beforeValue = va;
            c.afterValue = vb;
            m_out.push_back(c);
        }
    }

    // Library lists may differ in length: a missing entry is "(none)", null in JSON.
    void library(int k, const DecodedKey &da, const DecodedKey &db)
    {
        const SessionKey &key = SessionKeys::at(k);
        const bool text = key.kind == KeyKind::LibraryText;
        const qsizetype na = text ? da.names.size() : qsizetype(da.numbers.size());
        const qsizetype nb = text ? db.names.size() : qsizetype(db.numbers.size());
        for (qsizetype i = 0; i < qMax(na, nb); ++i) {
            const auto side = [&](const DecodedKey &d, qsizetype n) {
                if (i >= n)
                    return kNone;
                return text ? quotedName(d.names[i]) : numberWords(key, d.numbers[size_t(i)]);
            };
            const auto plain = [&](const DecodedKey &d, qsizetype n) {
                if (i >= n)
                    return QJsonValue(QJsonValue::Null);
                return text ? QJsonValue(d.names[i]) : QJsonValue(d.numbers[size_t(i)]);
            };
            const QString va = side(da, na);
            const QString vb = side(db, nb);
            if (va == vb)
                continue;
            SessionChange c = change(k, int(i));
            c.before = va;
            c.after = vb;
            c.beforeValue = plain(da, na);
            c.afterValue = plain(db, nb);
            m_out.push_back(c);
        }
    }

    // One change that says what was done to the setlist: a song inserted, a position
    // removed, two positions swapped; anything else as the two lists from the first
    // position that differs.
    void setlist(int k, const std::vector<qint64> &a, const std::vector<qint64> &b)
    {
        using Edit = SessionChange::Edit;
        size_t first = 0;
        while (first < a.size() && first < b.size() && a[first] == b[first])
            ++first;
        std::vector<size_t> differ;
        for (size_t i = first; i < qMin(a.size(), b.size()); ++i)
            if (a[i] != b[i])
                differ.push_back(i);
        SessionChange c = change(k, int(first));
        c.field = QStringLiteral("Position %1").arg(first + 1);
        if (b.size() == a.size() + 1
            && std::equal(a.begin() + qsizetype(first), a.end(), b.begin() + qsizetype(first) + 1)) {
            c.edit = Edit::Inserted;
            c.recordName = name(m_b.SongList, int(b[first]) - 1);
            c.after = c.recordName.isEmpty() ? QStringLiteral("Song %1").arg(b[first])
                                             : QStringLiteral("Song %1 (%2)").arg(b[first]).arg(c.recordName);
            c.afterValue = b[first];
        } else if (a.size() == b.size() + 1
                   && std::equal(b.begin() + qsizetype(first), b.end(), a.begin() + qsizetype(first) + 1)) {
            c.edit = Edit::Removed;
            c.recordName = name(m_a.SongList, int(a[first]) - 1);
            c.before = QStringLiteral("Song %1").arg(a[first]);
            c.beforeValue = a[first];
        } else if (a.size() == b.size() && differ.size() == 2 && a[differ[0]] == b[differ[1]]
                   && a[differ[1]] == b[differ[0]]) {
            c.edit = Edit::Swapped;
            c.other = int(differ[1]);
            c.field = QStringLiteral("Positions %1 and %2").arg(first + 1).arg(differ[1] + 1);
            c.beforeValue = jsonNumbers({a[differ[0]], a[differ[1]]});
            c.afterValue = jsonNumbers({b[differ[0]], b[differ[1]]});
        } else {
            c.edit = Edit::Replaced;
            c.before = setlistWords(a, first);
            c.after = setlistWords(b, first);
            c.beforeValue = jsonNumbers(a, first);
            c.afterValue = jsonNumbers(b, first);
        }
        m_out.push_back(c);
    }

    // Names and numbers: one per song, per stack or per stack message.
    void perRecord(int k, const DecodedKey &da, const DecodedKey &db)
    {
        const SessionKey &key = SessionKeys::at(k);
        const bool names = !da.names.isEmpty() || !db.names.isEmpty();
        const size_t n =
            names ? size_t(qMin(da.names.size(), db.names.size())) : qMin(da.numbers.size(), db.numbers.size());
        const bool perMessage = key.kind == KeyKind::StackMessageNames || key.kind == KeyKind::StackChannels
            || key.kind == KeyKind::StackMessages || key.kind == KeyKind::StackValues;
        for (size_t i = 0; i < n; ++i) {
            if (names ? da.names[qsizetype(i)] == db.names[qsizetype(i)] : da.numbers[i] == db.numbers[i])
                continue;
            const int index = perMessage ? int(i) / MidiStack::MessageCount : int(i);
            SessionChange c = change(k, index);
            if (perMessage) {
                c.message = int(i) % MidiStack::MessageCount;
                c.field = QStringLiteral("Row %1 %2").arg(c.message + 1).arg(QLatin1String(key.label));
            }
            c.before = names ? quotedName(da.names[qsizetype(i)]) : numberWords(key, da.numbers[i]);
            c.after = names ? quotedName(db.names[qsizetype(i)]) : numberWords(key, db.numbers[i]);
            c.beforeValue = names ? QJsonValue(da.names[qsizetype(i)]) : QJsonValue(da.numbers[i]);
            c.afterValue = names ? QJsonValue(db.names[qsizetype(i)]) : QJsonValue(db.numbers[i]);
            m_out.push_back(c);
        }
    }

    SessionChange change(int k, int index) const
    {
        const SessionKey &key = SessionKeys::at(k);
        SessionChange c;
        c.key = k;
        c.page = key.page;
        c.record = recordOf(key.kind);
        c.index = index;
        c.field = QLatin1String(key.label);
        if (index >= 0 && c.record == Record::Song) {
            c.recordName = name(m_a.SongList, index);
            if (c.recordName.isEmpty())
                c.recordName = name(m_b.SongList, index);
        } else if (index >= 0 && c.record == Record::Stack) {
            c.recordName = stackName(m_a, index);
            if (c.recordName.isEmpty())
                c.recordName = stackName(m_b, index);
        }
        return c;
    }

    static QString name(const std::vector<SongRef> &songs, int index)
    {
        return index >= 0 && size_t(index) < songs.size() ? songs[size_t(index)]->NameWithoutBreaks : QString();
    }
    static QString stackName(const DataHandler &store, int index)
    {
        return size_t(index) < store.MidiStackList.size() ? store.MidiStackList[size_t(index)].Name : QString();
    }

    const DataHandler &m_a;
    const DataHandler &m_b;
    std::vector<SessionChange> &m_out;
};

} // namespace

QString SessionChange::recordTitle() const
{
    const auto named = [this](const char *what) {
        const QString title = QStringLiteral("%1 %2").arg(QLatin1String(what)).arg(index + 1);
        return recordName.isEmpty() ? title : QStringLiteral("%1 (%2)").arg(title, recordName);
    };
    switch (record) {
    case Record::Song: return named("Song");
    case Record::Stack: return named("Stack");
    case Record::Library: return QStringLiteral("Library entry %1").arg(index + 1);
    case Record::Setlist: return QStringLiteral("Setlist");
    case Record::Global: return QStringLiteral("Global");
    }
    return QString();
}

QString SessionChange::text() const
{
    switch (edit) {
    case Edit::Changed: break;
    case Edit::Inserted: return QStringLiteral("Setlist: %1 inserted at position %2").arg(after).arg(index + 1);
    case Edit::Removed: return QStringLiteral("Setlist: position %1 removed").arg(index + 1);
    case Edit::Swapped: return QStringLiteral("Setlist: positions %1 and %2 swapped").arg(index + 1).arg(other + 1);
    case Edit::Replaced:
        return index > 0 ? QStringLiteral("Setlist from position %1: %2 → %3").arg(index + 1).arg(before, after)
                         : QStringLiteral("Setlist: %1 → %2").arg(before, after);
    }
    return QStringLiteral("%1: %2 %3 → %4").arg(recordTitle(), field, before, after);
}

QJsonObject SessionChange::toJson() const
{
    static const char *const records[] = {"song", "setlist", "global", "stack", "library"};
    QJsonObject o{{QStringLiteral("page"), SessionKeys::pageTitle(page)},
                  {QStringLiteral("record"), QLatin1String(records[int(record)])},
                  {QStringLiteral("key"), QLatin1String(SessionKeys::at(key).key)},
                  {QStringLiteral("field"), field},
                  {QStringLiteral("before"), beforeValue},
                  {QStringLiteral("after"), afterValue},
                  {QStringLiteral("text"), text()}};
    if (index >= 0)
        o.insert(QStringLiteral("number"), index + 1);
    if (!recordName.isEmpty())
        o.insert(QStringLiteral("name"), recordName);
    if (message >= 0)
        o.insert(QStringLiteral("row"), message + 1);
    if (setting)
        o.insert(QStringLiteral("setting"), QLatin1String(setting));
    static const char *const edits[] = {"", "inserted", "removed", "swapped", "replaced"};
    if (edit != Edit::Changed)
        o.insert(QStringLiteral("edit"), QLatin1String(edits[int(edit)]));
    if (other >= 0)
        o.insert(QStringLiteral("other"), other + 1);
    return o;
}

std::vector<SessionChange> SessionDiff::compare(const DataHandler &a, const DataHandler &b, Keys keys)
{
    std::vector<SessionChange> changes;
    Comparison comparison(a, b, changes);
    for (int k = 0; k < SessionKeys::Count; ++k) {
        if (keys == Keys::Pedal && !SessionKeys::at(k).gated)
            continue;
        const QString textA = SessionWriter::value(a, k, SessionWriter::Form::File);
        const QString textB = SessionWriter::value(b, k, SessionWriter::Form::File);
        if (textA != textB)
            comparison.key(k, textA, textB);
    }
    return changes;
}

std::vector<int> SessionDiff::changedKeys(const DataHandler &a, const DataHandler &b)
{
    std::vector<int> keys;
    for (int k = 0; k < SessionKeys::Count; ++k)
        if (SessionWriter::value(a, k, SessionWriter::Form::File)
            != SessionWriter::value(b, k, SessionWriter::Form::File))
            keys.push_back(k);
    return keys;
}

int SessionDiff::selectChangedKeys(SessionWriter &writer, const DataHandler &a, const DataHandler &b)
{
    int selected = 0;
    for (int k : changedKeys(a, b)) {
        if (SessionKeys::at(k).gated) {
            writer.setKeyFlag(k, true);
            ++selected;
        }
    }
    return selected;
}

QJsonArray SessionDiff::toJson(const std::vector<SessionChange> &changes)
{
    QJsonArray array;
    for (const SessionChange &c : changes)
        array.append(c.toJson());
    return array;
}

namespace {

// The library entries of `to` after taking the chosen changes of one library key.
void takeLibrary(const SessionKey &key, const std::vector<const SessionChange *> &chosen,
                 const std::vector<MidiMessage> &from, std::vector<MidiMessage> &to)
{
    // Only one of the two can happen: entries are added when `to` has fewer, removed when
    // it has more. Removing goes from the last so that the positions still hold.
    std::vector<size_t> removed;
    for (const SessionChange *c : chosen) {
        const size_t i = size_t(c->index);
        if (i < from.size() && i < to.size()) {
            if (key.libraryText)
                to[i].*(key.libraryText) = from[i].*(key.libraryText);
            else
                to[i].*(key.libraryNumber) = from[i].*(key.libraryNumber);
        } else if (i < from.size()) {
            to.insert(to.end(), from.begin() + qsizetype(to.size()), from.begin() + qsizetype(i) + 1);
        } else if (i < to.size()) {
            removed.push_back(i);
        }
    }
    std::sort(removed.rbegin(), removed.rend());
    removed.erase(std::unique(removed.begin(), removed.end()), removed.end());
    for (size_t i : removed)
        to.erase(to.begin() + qsizetype(i));
}

} // namespace

void SessionDiff::apply(const std::vector<SessionChange> &chosen, const DataHandler &from, DataHandler &to)
{
    const SessionCodec::Options options; // as session files are read
    for (int k = 0; k < SessionKeys::Count; ++k) {
        std::vector<const SessionChange *> ofKey;
        for (const SessionChange &c : chosen)
            if (c.key == k)
                ofKey.push_back(&c);
        if (ofKey.empty())
            continue;
        const SessionKey &key = SessionKeys::at(k);
        if (key.kind == KeyKind::LibraryText || key.kind == KeyKind::LibraryNumber) {
            takeLibrary(key, ofKey, from.MidiMessageLibrary, to.MidiMessageLibrary);
            continue;
        }
        DecodedKey mine, theirs;
        QString problem;
        if (!SessionCodec::decode(k, SessionWriter::value(from, k, SessionWriter::Form::File), to, options, theirs,
                                  problem))
            continue; // a value no session file could hold is not taken
        // compare() lists a key whose own value does not decode as one change of the whole key.
        if (key.kind == KeyKind::Setlist
            || !SessionCodec::decode(k, SessionWriter::value(to, k, SessionWriter::Form::File), to, options, mine,
                                     problem)) {
            SessionCodec::store(to, theirs);
            continue;
        }
        for (const SessionChange *c : ofKey) {
            if (key.kind == KeyKind::Global) {
                for (const MenuField &f : menuFields())
                    if (c->setting && qstrcmp(f.name, c->setting) == 0)
                        (*mine.global).*(f.member) = (*theirs.global).*(f.member);
                continue;
            }
            const size_t i =
                c->message >= 0 ? size_t(c->index) * MidiStack::MessageCount + size_t(c->message) : size_t(c->index);
            if (i < size_t(mine.names.size()) && i < size_t(theirs.names.size()))
                mine.names[qsizetype(i)] = theirs.names[qsizetype(i)];
            else if (i < mine.numbers.size() && i < theirs.numbers.size())
                mine.numbers[i] = theirs.numbers[i];
        }
        SessionCodec::store(to, mine);
    }
}
