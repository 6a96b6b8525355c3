#include "SessionReader.h"

#include "Encodings.h"

#include "model/CodePoints.h"
#include "model/Diagnostics.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

namespace {

const QString kTooShort = QStringLiteral("**STRING TOO SHORT");

// Characters (code points) from position `first`, `count` long; a range past the end
// gives the legacy layout's "too short" text. `starts` holds where each code point of
// `line` starts, and the end of the line.
QString legacyRange(const QString &line, const std::vector<qsizetype> &starts, qsizetype first, qsizetype count)
{
    if (first + count >= qsizetype(starts.size()))
        return kTooShort;
    return line.mid(starts[size_t(first)], starts[size_t(first + count)] - starts[size_t(first)]);
}

// The lines of a text: split at "\r\n", "\n" or "\r" alike (files written by the editor
// end their lines in "\r\n"; editors and version control tools may leave either of the
// others).
QList<QStringView> splitLines(const QString &text)
{
    QList<QStringView> lines;
    const QStringView all(text);
    const qsizetype size = all.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = all[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(all.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < size && all[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    lines.append(all.mid(start));
    return lines;
}

// See the header: a text without keys is taken for the older layout only when it is text.
bool looksLikeText(QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && (u < u'\t' || u > u'\r')) || (u >= 0x7f && u <= 0x9f) || u == 0xfffd)
            return false;
    }
    return true;
}

bool isNameKey(KeyKind kind)
{
    return kind == KeyKind::SongName || kind == KeyKind::StackNames || kind == KeyKind::StackMessageNames
        || kind == KeyKind::LibraryText;
}

// Whether `line` is the beginning (or the whole) of some key's name.
bool startsAKey(QStringView line)
{
    for (const SessionKey &key : SessionKeys::all())
        if (QLatin1String(key.key).startsWith(line))
            return true;
    return false;
}

// When `value`, the last of a text that stops inside it, ends inside a field: the number
// of that field (counted from 1), else 0. Numbers are cut by UTF-16 units, names by code
// points, as the codec cuts them; the global block is checked by its length alone.
qsizetype cutField(int keyIndex, QStringView value)
{
    const SessionKey &key = SessionKeys::at(keyIndex);
    if (key.kind == KeyKind::Global)
        return 0;
    const qsizetype units = isNameKey(key.kind) ? CodePoints::length(value) : value.size();
    return units % key.width == 0 ? 0 : units / key.width + 1;
}

// A key as a warning shows it: on one line, at most 30 code points.
QString shownKey(QStringView key)
{
    const qsizetype end = CodePoints::advance(key, 0, 30);
    const QString out = Encodings::escaped(key.left(end));
    return end < key.size() ? out + QStringLiteral("…") : out;
}

const QString kCutShort = QStringLiteral(": it looks cut short");

} // namespace

QString SessionReader::decodeBytes(const QByteArray &bytes)
{
    const auto encoding = QStringConverter::encodingForData(bytes);
    if (encoding && *encoding != QStringConverter::Utf8) {
        QStringDecoder withBom(*encoding);
        return withBom.decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // Older files may hold single-byte text.
    return QString::fromLatin1(bytes);
}

SessionReader::Status SessionReader::fail(const QString &key, const QString &what)
{
    QString text;
    if (!m_path.isEmpty())
        text = m_path + QStringLiteral(": ");
    if (!key.isEmpty())
        text += key + QStringLiteral(": ");
    m_problem = text + what;
    m_keys.clear();
    m_library.clear();
    m_warnings.clear();
    m_hasLibrary = false;
    return Status::Failed;
}

SessionReader::Status SessionReader::readFile(const QString &path, const DataHandler &store)
{
    m_path = path;
    QFile file(path);
    const QFileInfo info(path);
    if (info.exists() && info.isFile() && info.size() > MaxFileSize)
        return fail(QString(), QStringLiteral("the file is larger than 16 MiB and is not a session file"));
    if (!file.open(QIODevice::ReadOnly))
        return fail(QString(), QStringLiteral("the file cannot be read: %1").arg(file.errorString()));
    // A regular file is read at its own size (its size was checked above); anything else
    // up to one byte more than allowed. Reading a fixed 16 MiB would allocate that much on
    // every open.
    const QByteArray bytes = info.isFile() ? file.readAll() : file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize)
        return fail(QString(), QStringLiteral("the file is larger than 16 MiB and is not a session file"));
    const QString keep = m_path;
    const Status status = readText(decodeBytes(bytes), store);
    m_path = keep;
    if (status == Status::Failed && !m_problem.startsWith(keep))
        m_problem = keep + QStringLiteral(": ") + m_problem;
    return status;
}

SessionReader::Status SessionReader::readText(const QString &text, const DataHandler &store)
{
    const QString path = m_path;
    m_keys.clear();
    m_library.clear();
    m_warnings.clear();
    m_hasLibrary = false;
    m_legacy = false;
    m_awaitingConsent = false;
    m_problem.clear();
    m_path.clear();

    if (QStringView(text).trimmed().isEmpty())
        return fail(QString(), QStringLiteral("the file is empty"));

    const QList<QStringView> lines = splitLines(text);
    // A text that does not end in a line end stops inside its last line.
    const qsizetype last = lines.size() - 1;
    const bool openEnd = text.back() != QLatin1Char('\r') && text.back() != QLatin1Char('\n');
    // The value of the last line of each key.
    std::array<qsizetype, SessionKeys::Count> lastLine;
    lastLine.fill(-1);
    QSet<QString> unknown; // keys the table does not know
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QStringView line = lines[n].trimmed();
        const qsizetype bracket = line.indexOf(QLatin1Char(']'));
        if (bracket < 0) {
            if (!line.isEmpty() && SessionKeys::indexOf(line) >= 0 && !(openEnd && n == last))
                return fail(line.toString(),
                            QStringLiteral("line %1 holds the key without \"]\" and a value").arg(n + 1));
            continue;
        }
        const QStringView name = line.left(bracket);
        const int key = SessionKeys::indexOf(name);
        if (key >= 0) {
            lastLine[size_t(key)] = n;
        } else if (!name.isEmpty() && !unknown.contains(name.toString())) {
            unknown.insert(name.toString());
            if (unknown.size() <= MaxWarnings)
                m_warnings.append(QStringLiteral("line %1: unknown key %2, ignored").arg(n + 1).arg(shownKey(name)));
        }
    }
    if (unknown.size() > MaxWarnings)
        m_warnings.append(QStringLiteral("and %1 more unknown keys, ignored").arg(unknown.size() - MaxWarnings));
    bool anyKey = false;
    for (qsizetype n : lastLine)
        anyKey = anyKey || n >= 0;
    if (!anyKey && !looksLikeText(text))
        return fail(QString(),
                    (path.isEmpty() ? QStringLiteral("this") : path) + QStringLiteral(" is not a session file"));
    const QStringView lastText = lines[last].trimmed();
    if (openEnd && !lastText.isEmpty() && !lastText.contains(QLatin1Char(']')) && startsAKey(lastText)
        && (anyKey || SessionKeys::indexOf(lastText) >= 0))
        return fail(QString(), QStringLiteral("the file ends in the middle of the key %1").arg(lastText) + kCutShort);
    if (!anyKey) {
        m_warnings.clear();
        const Status status = readLegacy(lines.first().trimmed().toString(), store);
        m_path = path;
        return status;
    }

    // The key of a last line that the text stops inside of (its value not closed by a
    // second "]"), or -1.
    int openKey = -1;
    const qsizetype lastBracket = lastText.indexOf(QLatin1Char(']'));
    if (openEnd && lastBracket >= 0 && lastText.indexOf(QLatin1Char(']'), lastBracket + 1) < 0)
        openKey = SessionKeys::indexOf(lastText.left(lastBracket));
    return readKeys(lines, lastLine, openKey, store);
}

SessionReader::Status SessionReader::readKeys(const QList<QStringView> &lines,
                                              const std::array<qsizetype, SessionKeys::Count> &lastLine, int openKey,
                                              const DataHandler &store)
{
    const SessionCodec::Options options;
    for (int k = 0; k < SessionKeys::Count; ++k) {
        if (lastLine[size_t(k)] < 0)
            continue;
        const QStringView value = SessionCodec::lineValue(lines[lastLine[size_t(k)]], k);
        DecodedKey decoded;
        QString problem;
        bool tooShort = false;
        const bool decodedWell = SessionCodec::decode(k, value, store, options, decoded, problem, &tooShort);
        const QString key = QLatin1String(SessionKeys::at(k).key);
        if (k == openKey && !decodedWell && tooShort)
            return fail(key, problem + kCutShort);
        if (const qsizetype field = k == openKey ? cutField(k, value) : 0)
            return fail(key, QStringLiteral("the file ends in the middle of field %1").arg(field) + kCutShort);
        if (!decodedWell)
            return fail(key, problem);
        m_keys.push_back(std::move(decoded));
    }

    // The library is read only when all six of its keys are there.
    std::array<const DecodedKey *, 6> library{};
    size_t found = 0;
    bool libraryOpen = false;
    for (const DecodedKey &d : m_keys) {
        const KeyKind kind = SessionKeys::at(d.key).kind;
        if (kind == KeyKind::LibraryText || kind == KeyKind::LibraryNumber) {
            library[found++] = &d;
            libraryOpen = libraryOpen || d.key == openKey;
        }
    }
    if (found == library.size()) {
        QString problem;
        if (!SessionCodec::libraryEntries(library, m_library, problem))
            return fail(QStringLiteral("Library"), libraryOpen ? problem + kCutShort : problem);
        m_hasLibrary = true;
    }
    return Status::Read;
}

SessionReader::Status SessionReader::readLegacy(const QString &line, const DataHandler &store)
{
    // The question is asked only about a text that reads in this layout; anything else
    // (a binary file, a text of some other kind) is refused without it.
    const qsizetype songs = qsizetype(store.SongList.size());
    std::vector<qsizetype> starts;
    for (qsizetype i = 0; i < line.size(); i = CodePoints::next(line, i))
        starts.push_back(i);
    starts.push_back(line.size());
    const qsizetype length = qsizetype(starts.size()) - 1;
    struct Range
    {
        const char *key;
        qsizetype first;
        int width;
    };
    const Range ranges[] = {
        {"Name", 0, 30}, {"Tempos", 3840, 3}, {"ForegroundColours", 4224, 2}, {"BackgroundColours", 4480, 2}};
    const QString notSession = QStringLiteral("the file holds no session keys, and as a single-line session of the "
                                              "older layout ");
    for (const Range &r : ranges) {
        DecodedKey d;
        d.key = SessionKeys::indexOf(QString::fromLatin1(r.key));
        for (qsizetype i = 0; i < songs; ++i) {
            const QString field = legacyRange(line, starts, r.first + i * r.width, r.width);
            if (field == kTooShort)
                return fail(QLatin1String(r.key),
                            notSession
                                + QStringLiteral("it is too short (%1 characters) for song %2").arg(length).arg(i + 1));
            if (d.key == 0) {
                d.names.append(Encodings::decodeName(field));
                continue;
            }
            qint64 v = 0;
            if (!Encodings::parseDigits(field, v))
                return fail(QLatin1String(r.key),
                            notSession
                                + QStringLiteral("song %1 holds \"%2\", which is not a number")
                                      .arg(i + 1)
                                      .arg(Encodings::escaped(field)));
            if (d.key == 1 && v == 0)
                return fail(QLatin1String(r.key), notSession + QStringLiteral("song %1 has the tempo 0").arg(i + 1));
            // Colours of this layout count from 1.
            if (d.key != 1)
                v = std::max<qint64>(0, v - 1);
            d.numbers.push_back(v);
        }
        m_keys.push_back(std::move(d));
    }

    m_legacy = true;
    m_awaitingConsent = !m_legacyAccepted;
    return m_awaitingConsent ? Status::NeedsConsent : Status::Read;
}

Alert SessionReader::legacyQuestion() const
{
    return Alert::question(QString(),
                           QStringLiteral("The session you are trying to load is not fully supported\n"
                                          "If this is a session from the Revade App,\n"
                                          "only names, tempos, and colours will be loaded."),
                           QStringLiteral("Opening"));
}

SessionReader::Status SessionReader::answerLegacy(bool accepted)
{
    if (!m_awaitingConsent)
        return m_problem.isEmpty() ? Status::Read : Status::Failed;
    m_awaitingConsent = false;
    if (accepted)
        return Status::Read;
    m_keys.clear(); // nothing read: applying changes nothing
    return Status::Declined;
}

void SessionReader::apply(DataHandler &store) const
{
    if (m_awaitingConsent)
        return;
    for (const DecodedKey &d : m_keys)
        SessionCodec::store(store, d);
    if (m_hasLibrary)
        store.MidiMessageLibrary.insert(store.MidiMessageLibrary.end(), m_library.begin(), m_library.end());
}

std::vector<int> SessionReader::presentKeys() const
{
    std::vector<int> keys;
    for (const DecodedKey &d : m_keys)
        keys.push_back(d.key);
    return keys;
}
