#include "SessionDiff.h"

#include "Encodings.h"
#include "SessionCodec.h"
#include "SessionWriter.h"

#include "model/MessageType.h"

namespace {

using Record = SessionChange::Record;

const QString kNone = QStringLiteral("(none)");

QString quotedName(QString name)
{
    name.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    name.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    name.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return QLatin1Char('"') + name + QLatin1Char('"');
}

// "MidiChannelOut" as "Midi Channel Out", "ChannelConvert1Type" as "Channel Convert 1 Type".
QString words(const char *name)
{
    QString out;
    for (const char *c = name; *c; ++c) {
        const bool upper = *c >= 'A' && *c <= 'Z';
        const bool digit = *c >= '0' && *c <= '9';
        if (!out.isEmpty() && (upper || (digit && !out.back().isDigit())))
            out += QLatin1Char(' ');
        out += QLatin1Char(*c);
    }
    return out;
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
    if (bits & 128)
        on << QStringLiteral("Stop Midi Clock");
    if (bits & 64)
        on << QStringLiteral("Stop Repeating Message");
    if (bits & 16)
        on << QStringLiteral("Mimic Footswitch");
    return on.isEmpty() ? QStringLiteral("none") : on.join(QStringLiteral(", "));
}

QString slotWords(qint64 slot)
{
    return slot == 255 ? QStringLiteral("empty") : QStringLiteral("song %1").arg(slot);
}

// A number of a key as words, by the key's kind.
QString numberWords(const SessionKey &key, qint64 v)
{
    switch (key.kind) {
    case KeyKind::JackCode: return jackWords(key.jack, v);
    case KeyKind::PresetOptions: return optionWords(v);
    case KeyKind::Setlist: return slotWords(v);
    case KeyKind::StackChannels: return statusWords(v);
    case KeyKind::LibraryNumber:
        if (key.libraryNumber == &MidiMessage::Typey && !MessageType::name(v).isEmpty())
            return QStringLiteral("%1 (%2)").arg(v).arg(MessageType::name(v));
        return QString::number(v);
    default: return QString::number(v);
    }
}

// A number of a key as it is, for JSON: an empty setlist position is null.
QJsonValue plainNumber(const SessionKey &key, qint64 v)
{
    if (key.kind == KeyKind::Setlist && v == 255)
        return QJsonValue(QJsonValue::Null);
    return QJsonValue(v);
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
        case KeyKind::Global:
            for (const MenuField &f : menuFields()) {
                const qint64 va = (*da.global).*(f.member);
                const qint64 vb = (*db.global).*(f.member);
                if (va == vb)
                    continue;
                SessionChange c = change(k, -1);
                c.setting = f.name;
                c.field = words(f.name);
                c.before = QString::number(va);
                c.after = QString::number(vb);
                c.beforeValue = va;
                c.afterValue = vb;
                m_out.push_back(c);
            }
            break;
        case KeyKind::LibraryText:
        case KeyKind::LibraryNumber: {
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
            break;
        }
        default: {
            // Names and numbers: one per song, per stack, per stack message or per slot.
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
                if (key.kind == KeyKind::Setlist)
                    c.field = QStringLiteral("Position %1").arg(i + 1);
                c.before = names ? quotedName(da.names[qsizetype(i)]) : numberWords(key, da.numbers[i]);
                c.after = names ? quotedName(db.names[qsizetype(i)]) : numberWords(key, db.numbers[i]);
                c.beforeValue = names ? QJsonValue(da.names[qsizetype(i)]) : plainNumber(key, da.numbers[i]);
                c.afterValue = names ? QJsonValue(db.names[qsizetype(i)]) : plainNumber(key, db.numbers[i]);
                m_out.push_back(c);
            }
            break;
        }
        }
    }

private:
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
        return size_t(index) < songs.size() ? songs[size_t(index)]->NameWithoutBreaks : QString();
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
    if (record == Record::Setlist && index >= 0)
        return QStringLiteral("Setlist: position %1 is now %2").arg(index + 1).arg(after);
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
    return o;
}

std::vector<SessionChange> SessionDiff::compare(const DataHandler &a, const DataHandler &b)
{
    std::vector<SessionChange> changes;
    Comparison comparison(a, b, changes);
    for (int k = 0; k < SessionKeys::Count; ++k) {
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
