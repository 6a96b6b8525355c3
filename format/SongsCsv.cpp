#include "SongsCsv.h"

#include "Encodings.h"
#include "SessionKeys.h"

#include "model/DataHandler.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>

#include <algorithm>

namespace {

using List = ItemTexts::List;

// One column of the spreadsheet besides Number: a song field with its label and values.
struct Column
{
    enum Kind { Name, Tempo, Field };
    QString label;
    Kind kind = Field;
    qint64 Song::*field = nullptr;
    List items = List::None;
    QStringList words; // the items of a fixed list
    qint64 lowest = 0; // the numbers taken
    qint64 highest = 0;
};

const QString kNumber = QStringLiteral("Number");

Column fieldColumn(qint64 Song::*field, List items, int jack, const SessionKey &key)
{
    Column c{SessionKeys::fieldLabel(field), Column::Field, field,      items,
             ItemTexts::items(items, jack),  key.lowest,    key.highest};
    if (items == List::Songs || items == List::Stacks) {
        c.lowest = 1;
        c.highest = items == List::Songs ? DataHandler::SongCount : DataHandler::StackCount;
    } else if (key.kind != KeyKind::SongNumber) {
        // A jack's parts and the options have a meaning only for their items.
        c.lowest = 0;
        c.highest = c.words.size() - 1;
    } else if (items != List::None && key.highest == 0) {
        // A session file carries any number of the field's width, items or not; a value no
        // item stands for is written as its number.
        c.lowest = 0;
        c.highest = 1;
        for (int digit = 0; digit < key.width; ++digit)
            c.highest *= 10;
        c.highest -= 1;
    }
    return c;
}

// The columns in the order of the key table.
const std::vector<Column> &columns()
{
    static const std::vector<Column> all = [] {
        std::vector<Column> out;
        for (const SessionKey &key : SessionKeys::all()) {
            switch (key.kind) {
            case KeyKind::SongName:
                out.push_back({QLatin1String(key.label), Column::Name, nullptr, List::None, {}, 0, 0});
                break;
            case KeyKind::SongTempo:
                out.push_back(
                    {QLatin1String(key.label), Column::Tempo, &Song::Tempo, List::None, {}, key.lowest, key.highest});
                break;
            case KeyKind::SongNumber: out.push_back(fieldColumn(key.songField, key.items, 0, key)); break;
            case KeyKind::JackCode:
                for (const SessionKeys::JackPart &part : SessionKeys::jackParts)
                    out.push_back(fieldColumn(songJacks()[size_t(key.jack)].*(part.field), part.items, key.jack, key));
                break;
            case KeyKind::PresetOptions:
                for (const SessionKeys::OptionBit &option : SessionKeys::optionBits)
                    out.push_back(fieldColumn(option.field, option.items, 0, key));
                break;
            default: break;
            }
        }
        return out;
    }();
    return all;
}

// "5: Bass" for a song or stack a field points to; just the number when it has no name.
QString numbered(qint64 number, const QString &name)
{
    return name.isEmpty() ? QString::number(number) : QStringLiteral("%1: %2").arg(number).arg(name);
}

QString cellText(const Column &c, const DataHandler &store, const Song &song)
{
    if (c.kind == Column::Name) {
        QString name = song.FullName;
        name.remove(QLatin1Char('\r'));
        return name.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    }
    // A value no item stands for is written as its number, which reading then refuses.
    const qint64 v = song.*(c.field);
    switch (c.items) {
    case List::None: return QString::number(v);
    case List::Songs:
        return v >= 0 && size_t(v) < store.SongList.size()
            ? numbered(store.SongList[size_t(v)]->Id, store.SongList[size_t(v)]->NameWithoutBreaks)
            : QString::number(v + 1);
    case List::Stacks:
        return v >= 0 && size_t(v) < store.MidiStackList.size() ? numbered(v + 1, store.MidiStackList[size_t(v)].Name)
                                                                : QString::number(v + 1);
    default: return v >= 0 && v < c.words.size() ? c.words[qsizetype(v)] : QString::number(v);
    }
}

// A value as one CSV field: quoted when it holds a comma, a quote, a line break or
// spaces at either end, its quotes doubled.
QString field(const QString &value)
{
    const bool quote = value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('"'))
        || value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r'))
        || (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()));
    if (!quote)
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Splits RFC 4180 text into records of fields. Line ends may be CRLF, LF or CR; a quoted
// field may hold commas, doubled quotes and line breaks. A quote left open, or text after
// a closing quote, makes the text no CSV: false with the problem.
bool parse(QStringView text, std::vector<QStringList> &records, QString &problem)
{
    QStringList record;
    QString value;
    bool fieldStarted = false; // something of the current field has been read
    const qsizetype n = text.size();
    const auto endRecord = [&] {
        record.append(value);
        records.push_back(record);
        record.clear();
        value.clear();
        fieldStarted = false;
    };
    for (qsizetype i = 0; i < n;) {
        const QChar c = text[i];
        if (c == QLatin1Char('"') && !fieldStarted) {
            const int row = int(records.size()) + 1;
            for (++i;; ++i) {
                if (i >= n) {
                    problem = QStringLiteral("row %1: a quoted value is not closed").arg(row);
                    return false;
                }
                if (text[i] == QLatin1Char('"')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                        value += QLatin1Char('"');
                        ++i;
                        continue;
                    }
                    break;
                }
                value += text[i];
            }
            ++i; // past the closing quote
            if (i < n && text[i] != QLatin1Char(',') && text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n')) {
                problem = QStringLiteral("row %1: text follows the closing quote of a value").arg(records.size() + 1);
                return false;
            }
            fieldStarted = true;
        } else if (c == QLatin1Char(',')) {
            record.append(value);
            value.clear();
            fieldStarted = false;
            ++i;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            endRecord();
            i += c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n') ? 2 : 1;
        } else {
            value += c;
            fieldStarted = true;
            ++i;
        }
    }
    if (fieldStarted || !record.isEmpty())
        endRecord();
    return true;
}

// A value in a message: on one line, and cut when long.
QString shown(const QString &value)
{
    const QString line = Encodings::escaped(value);
    return QLatin1Char('"') + (line.size() > 40 ? line.left(40) + QStringLiteral("…") : line) + QLatin1Char('"');
}

// The songs and stacks of the session as they were before the import, for the values
// that name them.
struct Lookup
{
    QHash<qint64, int> positionOfId;
    QStringList songNames;
    QStringList stackNames;

    explicit Lookup(const DataHandler &store)
    {
        for (size_t p = 0; p < store.SongList.size(); ++p) {
            positionOfId.insert(store.SongList[p]->Id, int(p));
            songNames.append(store.SongList[p]->NameWithoutBreaks);
        }
        for (const MidiStack &stack : store.MidiStackList)
            stackNames.append(stack.Name);
    }
};

// The position of the one name equal to `text` in any case, or -1 with the reason.
int named(const QStringList &names, const QString &text, const char *what, QString &reason)
{
    int found = -1;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].isEmpty() || names[i].compare(text, Qt::CaseInsensitive) != 0)
            continue;
        if (found >= 0) {
            reason = QStringLiteral("more than one %1 is named %2").arg(QLatin1String(what), shown(text));
            return -1;
        }
        found = int(i);
    }
    if (found < 0)
        reason = QStringLiteral("no %1 is named %2").arg(QLatin1String(what), shown(text));
    return found;
}

// A whole number, possibly negative; false for anything else.
bool wholeNumber(QStringView text, qint64 &value)
{
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (!Encodings::parseDigits(negative ? text.mid(1) : text, value))
        return false;
    value = negative ? -value : value;
    return true;
}

// The stored value of a cell of a Tempo or Field column, or false with the reason.
bool valueOf(const Column &c, const QString &cell, const Lookup &lookup, qint64 &value, QString &reason)
{
    const QString text = cell.trimmed();
    if (text.isEmpty()) {
        reason = QStringLiteral("the value is empty");
        return false;
    }
    const bool reference = c.items == List::Songs || c.items == List::Stacks;
    // A song or stack is also "N: name", as it is written.
    const qsizetype colon = reference ? text.indexOf(QLatin1Char(':')) : -1;
    const QStringView number = colon > 0 ? QStringView(text).left(colon).trimmed() : QStringView(text);
    qint64 v = 0;
    if (wholeNumber(number, v)) {
        if (v > c.highest || v < c.lowest) {
            reason = v > c.highest ? QStringLiteral("%1 is over %2").arg(v).arg(c.highest)
                                   : QStringLiteral("%1 is under %2").arg(v).arg(c.lowest);
            return false;
        }
        if (c.items == List::Songs) {
            value = lookup.positionOfId.value(v, -1);
            if (value < 0)
                reason = QStringLiteral("there is no song %1").arg(v);
            return value >= 0;
        }
        value = c.items == List::Stacks ? v - 1 : v;
        return true;
    }
    if (c.items == List::None) {
        reason = QStringLiteral("%1 is not a number").arg(shown(text));
        return false;
    }
    if (reference) {
        value = c.items == List::Songs ? named(lookup.songNames, text, "song", reason)
                                       : named(lookup.stackNames, text, "stack", reason);
        return value >= 0;
    }
    for (qsizetype i = 0; i < c.words.size(); ++i) {
        if (c.words[i].compare(text, Qt::CaseInsensitive) == 0) {
            value = i;
            return true;
        }
    }
    reason = QStringLiteral("%1 is not one of its words or numbers").arg(shown(text));
    return false;
}

// Takes one cell into the song; false with the reason when it is refused.
bool take(const Column &c, const QString &cell, const Lookup &lookup, Song &song, QString &reason)
{
    if (c.kind == Column::Name) {
        QString name = cell;
        name.replace(QLatin1String("\\n"), QLatin1String("\n"));
        name.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        name.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        reason = Song::nameProblem(name);
        if (!reason.isEmpty())
            return false;
        song.UpdateName(name);
        return true;
    }
    qint64 value = 0;
    if (!valueOf(c, cell, lookup, value, reason))
        return false;
    if (c.kind == Column::Tempo)
        song.UpdateTempo(value);
    else
        song.*(c.field) = value;
    return true;
}

bool blank(const QStringList &record)
{
    for (const QString &value : record)
        if (!value.trimmed().isEmpty())
            return false;
    return true;
}

// Where each column of the header goes: -2 Number, -1 ignored, else the column.
std::vector<int> readHeader(const QStringList &header, SongsCsv::Result &result)
{
    std::vector<int> target;
    std::vector<bool> seen(columns().size() + 1, false); // the last one: Number
    for (qsizetype i = 0; i < header.size(); ++i) {
        const QString label = header[i].trimmed();
        int k = -1;
        if (label.compare(kNumber, Qt::CaseInsensitive) == 0)
            k = int(columns().size());
        for (size_t c = 0; c < columns().size() && k < 0; ++c)
            if (columns()[c].label.compare(label, Qt::CaseInsensitive) == 0)
                k = int(c);
        if (label.isEmpty())
            result.ignored << QStringLiteral("column %1 has no title; ignored").arg(i + 1);
        else if (k < 0)
            result.ignored << QStringLiteral("column %1 is not a song field; ignored").arg(label);
        else if (seen[size_t(k)])
            result.ignored << QStringLiteral("column %1 is given twice; the second is ignored").arg(label);
        const bool taken = k >= 0 && !seen[size_t(k)];
        if (taken)
            seen[size_t(k)] = true;
        target.push_back(!taken ? -1 : k == int(columns().size()) ? -2 : k);
    }
    return target;
}

} // namespace

QString SongsCsv::Refusal::text() const
{
    if (row <= 0)
        return reason;
    return column.isEmpty() ? QStringLiteral("row %1: %2").arg(row).arg(reason)
                            : QStringLiteral("row %1, %2: %3").arg(row).arg(column, reason);
}

QString SongsCsv::write(const DataHandler &store)
{
    QStringList header{kNumber};
    for (const Column &c : columns())
        header << field(c.label);
    QString out = header.join(QLatin1Char(',')) + QLatin1String("\r\n");
    for (const SongRef &song : store.SongList) {
        QStringList cells{QString::number(song->Id)};
        for (const Column &c : columns())
            cells << field(cellText(c, store, *song));
        out += cells.join(QLatin1Char(',')) + QLatin1String("\r\n");
    }
    return out;
}

SongsCsv::Result SongsCsv::read(const QByteArray &csv, DataHandler &store)
{
    Result result;
    QStringDecoder decoder(QStringDecoder::Utf8); // a byte order mark at the start is dropped
    const QString text = decoder.decode(csv);
    std::vector<QStringList> records;
    if (decoder.hasError()) {
        result.problem = QStringLiteral("the file is not UTF-8 text");
        return result;
    }
    if (!parse(text, records, result.problem))
        return result;
    if (records.empty() || blank(records.front())) {
        result.problem = QStringLiteral("the file has no header row");
        return result;
    }
    const std::vector<int> target = readHeader(records.front(), result);
    const auto numberColumn = std::find(target.begin(), target.end(), -2);
    if (numberColumn == target.end()) {
        result.problem = QStringLiteral("the file has no Number column to match its rows with the songs");
        result.ignored.clear();
        return result;
    }
    const qsizetype numberAt = numberColumn - target.begin();
    const Lookup lookup(store);
    QHash<qint64, int> rowOfSong;
    const auto refuse = [&result](int row, const QString &column, const QString &reason) {
        result.refusals.push_back({row, column, reason});
    };
    for (size_t r = 1; r < records.size(); ++r) {
        const QStringList &record = records[r];
        const int row = int(r) + 1;
        if (blank(record))
            continue;
        const QString cell = numberAt < record.size() ? record[numberAt].trimmed() : QString();
        qint64 id = 0;
        const QString passed = QStringLiteral("; the row is passed over");
        if (!Encodings::parseDigits(cell, id) || id < 1 || id > DataHandler::SongCount) {
            refuse(
                row, kNumber,
                (cell.isEmpty()
                     ? QStringLiteral("the value is empty")
                     : QStringLiteral("%1 is not a song number (1 to %2)").arg(shown(cell)).arg(DataHandler::SongCount))
                    + passed);
            continue;
        }
        if (rowOfSong.contains(id)) {
            refuse(row, kNumber, QStringLiteral("song %1 is also in row %2").arg(id).arg(rowOfSong.value(id)) + passed);
            continue;
        }
        const int position = lookup.positionOfId.value(id, -1);
        if (position < 0) {
            refuse(row, kNumber, QStringLiteral("there is no song %1").arg(id) + passed);
            continue;
        }
        rowOfSong.insert(id, row);
        if (record.size() != qsizetype(target.size()))
            refuse(row, QString(),
                   QStringLiteral("it has %1 values where the header has %2; %3")
                       .arg(record.size())
                       .arg(target.size())
                       .arg(record.size() < qsizetype(target.size()) ? QStringLiteral("the missing ones change nothing")
                                                                     : QStringLiteral("the others are ignored")));
        Song &song = *store.SongList[size_t(position)];
        for (size_t i = 0; i < target.size() && qsizetype(i) < record.size(); ++i) {
            if (target[i] < 0)
                continue;
            const Column &c = columns()[size_t(target[i])];
            QString reason;
            if (!take(c, record[qsizetype(i)], lookup, song, reason))
                refuse(row, c.label, reason);
        }
    }
    return result;
}

SongsCsv::Result SongsCsv::readFile(const QString &path, DataHandler &store)
{
    // A list of 128 songs is far smaller; anything this large is not one.
    constexpr qint64 Limit = 16 * 1024 * 1024;
    Result result;
    QFile file(path);
    if (QFileInfo(path).isDir()) {
        result.problem = QStringLiteral("%1 is a folder").arg(path);
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.problem = QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString());
        return result;
    }
    const QByteArray bytes = file.read(Limit + 1);
    if (file.error() != QFileDevice::NoError) {
        result.problem = QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString());
        return result;
    }
    if (bytes.size() > Limit) {
        result.problem = QStringLiteral("%1 is larger than 16 MiB: it is no list of songs").arg(path);
        return result;
    }
    result = read(bytes, store);
    if (!result.ok())
        result.problem = QStringLiteral("%1: %2").arg(path, result.problem);
    return result;
}

QStringList SongsCsv::lines(const Result &result)
{
    QStringList out = result.ignored;
    for (const Refusal &refusal : result.refusals)
        out << refusal.text();
    return out;
}
