// The session text: golden files, writing and reading, randomised round trips, damaged
// input, the older single-line layout, files on disk, atomic saving and backups.
#include "QtPrinters.h"
#include "RandomSession.h"
#include "Snapshot.h"

#include "format/BackupFolder.h"
#include "format/SessionDiff.h"
#include "format/SessionJson.h"
#include "format/TextFileSaver.h"
#include "SessionText.h"
#include "TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

namespace {

// A line of the older layout: 128 names, tempos, foreground and background colours.
QString legacyLine(const QStringList &names, const QList<int> &tempos, const QList<int> &fg, const QList<int> &bg)
{
    QString text;
    for (int i = 0; i < 128; ++i) {
        const QString name = i < names.size() ? names[i] : QString();
        text += name + QString(30 - name.size(), QLatin1Char('`'));
    }
    const auto numbers = [&text](const QList<int> &list, int fallback, int width) {
        for (int i = 0; i < 128; ++i)
            text += QStringLiteral("%1").arg(i < list.size() ? list[i] : fallback, width, 10, QLatin1Char('0'));
    };
    numbers(tempos, 120, 3);
    numbers(fg, 2, 2);
    numbers(bg, 1, 2);
    return text;
}

// `text` with `with` replaced into the value of `key` at `position` (or that value cut to
// `position` characters when `with` is null).
QString at(const QString &text, const char *key, int position, const QString &with = QString())
{
    QStringList lines = text.split(QStringLiteral("\r\n"));
    const QString head = QLatin1String(key) + QLatin1Char(']');
    for (QString &l : lines) {
        if (!l.startsWith(head))
            continue;
        QString v = l.mid(head.size());
        l = head + (with.isNull() ? v.left(position) : v.replace(position, with.size(), with));
    }
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace

// The session text is a contract with the pedal and with every stored file: the writer's
// output is held byte for byte against files kept in tests/data/golden, and the file
// forms read back to the same bytes. (Every number and name goes through the writers of
// format_codec_test, which clamp and cut what does not fit.) A change of the format fails here on purpose.
// UPDATE_SNAPSHOTS=1 writes the files anew (then read the diff before committing it).
TEST(SessionText, GoldenFiles)
{
    using P = SessionKeys::Page;
    DataHandler factory, random;
    RandomSession(2026).fill(random);
    // A song name outside the Basic Multilingual Plane beside stack and library names with such characters.
    random.SongList[0]->UpdateName(QStringLiteral("Gig \U0001F3B8 Night"));
    const struct
    {
        const char *file;
        const DataHandler *store;
        std::optional<P> page; // the upload of that page; none: the file form
    } rows[] = {
        {"factory.txt", &factory, std::nullopt},
        {"factory-pedal-all.txt", &factory, P::All},
        {"random.txt", &random, std::nullopt},
        {"random-pedal-songs.txt", &random, P::Songs},
        {"random-pedal-setjacks.txt", &random, P::SetJacks},
        {"random-pedal-setlist.txt", &random, P::Setlist},
        {"random-pedal-midi.txt", &random, P::Midi},
        {"random-pedal-global.txt", &random, P::Global},
        {"random-pedal-all.txt", &random, P::All},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.file);
        SessionWriter writer;
        writer.selectPage(row.page.value_or(P::All));
        const QString written = row.page ? writer.write(*row.store, SessionWriter::Form::Pedal) : fileForm(*row.store);
        EXPECT_TRUE(Snapshot::matches(QStringLiteral("golden/") + row.file, written));
        if (row.page)
            continue;
        // A file holds every key, and reads back to the same bytes.
        EXPECT_EQ(keysOf(written).size(), SessionKeys::Count);
        DataHandler store;
        readInto(store, written);
        EXPECT_EQ(fileForm(store), written);
    }
}

TEST(SessionText, RandomRoundTrips)
{
    // Randomised stores: write, read into a store of other contents, apply: the whole
    // store comes back, and written again the text is the same.
    CapturedLines diagnostics;
    for (quint32 seed = 100; seed < 112; ++seed) {
        SCOPED_TRACE(seed);
        DataHandler source;
        RandomSession(seed).fill(source);
        const QString text = fileForm(source);
        DataHandler store;
        SessionReader reader;
        ASSERT_EQ(reader.readText(text, store), SessionReader::Status::Read) << reader.problem().toStdString();
        EXPECT_EQ(reader.presentKeys().size(), size_t(SessionKeys::Count));
        reader.apply(store);
        const QJsonObject expected = SessionJson::toJson(source), actual = SessionJson::toJson(store);
        for (const char *part : {"GlobalMenu", "MidiStackList", "MidiMessageLibrary"})
            EXPECT_EQ(actual[QLatin1String(part)], expected[QLatin1String(part)]) << part;
        for (const SongRef &song : store.SongList) {
            SCOPED_TRACE(song->Id);
            EXPECT_EQ(song->TempoInMs, 60000 / song->Tempo);
            EXPECT_EQ(song->NameWithoutBreaks,
                      QString(song->FullName).replace(QStringLiteral("\r\n"), QStringLiteral("_")));
        }
        EXPECT_EQ(fileForm(store), text);
    }
    // Valid stores fit every field: nothing was clamped or left out.
    EXPECT_TRUE(diagnostics.lines.isEmpty()) << diagnostics.lines.join(QLatin1Char('\n')).toStdString();

    // Every line end ends a line; saving writes "\r\n" again.
    DataHandler source;
    RandomSession(200).fill(source, {30, true, false});
    const QString crlf = fileForm(source);
    QString mixed = QString(crlf).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    mixed.replace(mixed.indexOf(QLatin1Char('\n')), 1, QStringLiteral("\r"));
    for (const auto &[what, text] :
         {std::pair{"\"\\r\" line ends", QString(crlf).replace(QStringLiteral("\r\n"), QStringLiteral("\r"))},
          {"mixed line ends", mixed}}) {
        SCOPED_TRACE(what);
        DataHandler other;
        readInto(other, text);
        EXPECT_EQ(fileForm(other), crlf);
    }
}

// What partial and odd texts change, in words (transcripts/session-reader-partial.txt):
// only their keys; library entries only with all six keys, after those there; the last
// line of a key; names with their trailing spaces and a "[" as a line break.
TEST(SessionText, PartialFilesAndOddLines)
{
    DataHandler factory, random, library, spaces;
    RandomSession(4).fill(random, {7, true, false});
    library.MidiMessageLibrary.emplace_back(QStringLiteral("Own"), QStringLiteral("E"), QStringLiteral("K"), 1, 2, 3);
    spaces.SongList[127]->UpdateName(QString(29, QLatin1Char('x')) + QLatin1Char(' '));
    spaces.MidiStackList[127].Name = QStringLiteral("ends in spaces") + QString(16, QLatin1Char(' '));
    spaces.MidiMessageLibrary.emplace_back(QStringLiteral("m"), QStringLiteral("d"), QString(20, QLatin1Char(' ')), 0,
                                           1, 2);
    // Factory values with one field changed near the end of each line.
    const QString f = fileForm(factory);
    const auto changed = [&f](const char *key, int position, const QString &with) {
        return valueOf(f, QLatin1String(key)).replace(position, with.size(), with);
    };
    const QString odd = line("Fractions", QStringLiteral("1").repeated(128))
        + line("Fractions", changed("Fractions", 127, "2") + QStringLiteral("]junk")) + QStringLiteral("  FontSizes]")
        + changed("FontSizes", 64, "3") + QStringLiteral("  \t\r\n") + QStringLiteral("Unknown]zzz\r\n\r\n")
        + line("BankChanges", changed("BankChanges", 381, "007") + QStringLiteral("0071"))
        + line("NumPulsesTwos", changed("NumPulsesTwos", 254, "02") + QStringLiteral("0202"))
        + line("PresetOptions", changed("PresetOptions", 381, "208") + QStringLiteral("208"))
        + line("Setlist", QStringLiteral("005255002") + QStringLiteral("255").repeated(125));
    const struct
    {
        const char *what;
        const DataHandler &base;
        QString text;
    } rows[] = {
        {"only the tempos", random, line("Tempos", QStringLiteral("045").repeated(128))},
        {"five of the six library keys", library, SessionWriter::writeKeys(random, {69, 70, 71, 72, 73})},
        {"the six library keys", library, SessionWriter::writeKeys(random, {69, 70, 71, 72, 73, 74})},
        {"repeated, trimmed, unknown and overlong lines", factory, odd},
        {"names ending in spaces", factory, fileForm(spaces)},
        {"spaces after a full line of stack names", factory,
         line("MidiStackNames", changed("MidiStackNames", 30 * 127, QString(30, QLatin1Char('n'))) + "   ")},
        {"a \"[\" in a stack name", factory,
         line("MidiStackNames", changed("MidiStackNames", 0, "a[b" + QString(27, QLatin1Char('`'))))},
    };
    QString text;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        DataHandler before, after;
        readInto(before, fileForm(row.base));
        readInto(after, fileForm(row.base));
        readInto(after, row.text);
        QStringList changes;
        for (const SessionChange &change : SessionDiff::compare(before, after))
            changes << escaped(change.text());
        text += QStringLiteral("== %1 ==\n%2\n")
                    .arg(QLatin1String(row.what), Snapshot::shortened(changes, 50, 6, 4).join(QLatin1Char('\n')));
    }
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/session-reader-partial.txt"), text));
}

// Damaged input is refused whole, with one line naming the key (or the whole file), and
// changes nothing; a text that stops inside its last line is refused unless that line is a
// whole key line; a text without keys that is not text is no session file; unknown keys are
// named once each, with their line. The status, problem and warnings of each text are
// compared with tests/data/transcripts/session-reader-damaged.txt. (The digits a number
// takes are tested with Encodings::parseDigits; what pedal-session says of a cut file, an
// image or a missing one is in its transcripts.)
TEST(SessionText, DamagedOrCutInputIsRefusedWholeAndUnknownKeysNamed)
{
    DataHandler source;
    RandomSession(77).fill(source, {4, true, true});
    const QString good = fileForm(source), factory = fileForm(DataHandler());
    const QString legacy = legacyLine({QStringLiteral("Song")}, {}, {3}, {3});
    // `text` up to `offset` characters after the start of `marker`.
    const auto cut = [](const QString &text, const char *marker, int offset) {
        return text.left(text.indexOf(QLatin1String(marker)) + offset);
    };
    QString unknown = good, many = good;
    for (const char *l : {"Tempoz]1", "FutureKey]1", "Tempoz]2", "]3", "\x01long key of thirty-five characters]1"})
        unknown += QLatin1String(l) + QStringLiteral("\r\n");
    for (int i = 0; i < 22; ++i)
        many += QStringLiteral("K%1]1\r\n").arg(i);
    using S = SessionReader::Status;
    const char *statusNames[] = {"Read", "NeedsConsent", "Declined", "Failed"};
    struct Row
    {
        QString what;
        QString text;
        bool ask = false; // the older layout's question not answered beforehand
    };
    std::vector<Row> rows = {
        {"colon in a number", at(good, "Fractions", 7, ":")},
        {"character outside the plane in a number", at(good, "Fractions", 100, kClef)},
        {"per-song list short", at(good, "Fractions", 127)},
        {"per-song names short", at(good, "Name", 30 * 127)},
        // 3,811 UTF-16 units, but 3,809 code points: 127 names.
        {"stack names short in code points",
         good + line("MidiStackNames", QString(3808, QLatin1Char('n')) + kClef + QLatin1Char('z'))},
        {"stack key short", at(good, "MidiStackMessageValues", 3 * 1279)},
        {"stack names short", at(good, "MidiStackMessageNames", 30 * 1279)},
        {"Global short", at(good, "Global", 204)},
        {"Global not a number", at(good, "Global", 192, "00x0")},
        {"Global status number without a channel", at(good, "Global", 61, "100")},
        {"converter to no channel", at(good, "Global", 47, "1192000")},
        {"tempo 0", at(good, "Tempos", 381, "000")},
        {"setlist slot 0", at(good, "Setlist", 0, "000")},
        {"setlist slot 129", at(good, "Setlist", 381, "129")},
        {"setlist slot 254", at(good, "Setlist", 3, "254")},
        {"setlist slot 256", at(good, "Setlist", 3, "256")},
        {"setlist short", at(good, "Setlist", 381)},
        {"library lists of different lengths", at(good, "LibraryValues", 9)},
        {"library number not a number", at(good, "LibraryMessages", 0, "x")},
        {"key without bracket", good + "MidiStackMessageMessages\r\n"},
        {"empty value", at(good, "BankChanges", 0)},
        {"empty text", QString()},
        {"blank text", " \r\n\n"},
        // Texts without keys are read as the older layout only when they fit it; no question is asked.
        {"older layout one character short", legacy.left(4735)},
        {"older layout without colours", legacy.left(4224)},
        {"older layout of names only", legacy.left(3839)},
        {"older layout tempo with a colon", QString(legacy).replace(3843, 3, "1:0")},
        {"older layout tempo 0", QString(legacy).replace(3843, 3, "000")},
        {"the undamaged older layout", legacy},
        {"after a library field", cut(good, "LibraryValues]", 20)},
        {"a short list", cut(good, "Tempos]", 7 + 93)},
        {"inside the last number", cut(good, "Tempos]", 7 + 383)},
        {"inside the last of enough names", cut(factory, "MidiStackMessageNames]", 22 + 1279 * 30 + 10)},
        {"inside the global block", cut(good, "Global]", 7 + 100)},
        {"a letter, not a cut",
         cut(QString(factory).replace(QStringLiteral("Tempos]120"), QStringLiteral("Tempos]1a0")), "Tempos]", 7 + 384)},
        {"no last line end", good.chopped(2)},
        {"cut inside the last line end", good.chopped(1)},
        {"a value closed by \"]\"", good + "Fractions]" + QString(128, QLatin1Char('2')) + "]ju"},
        {"a last line of no key", good + "hello"},
        {"unknown keys", unknown},
        {"unknown keys beyond the first ones are counted", many},
        {"unknown keys in a damaged file", at(unknown, "Tempos", 3)},
        // Consent not given beforehand: the question.
        {"an older line with \"]\"", QString(legacy).replace(1, 1, QLatin1Char(']')), true},
        {"an older line and a line end", legacy + "\r\n", true},
    };
    // A text without keys is text unless it holds control characters other than the white
    // space ones, or the replacement character.
    for (const char16_t c : {0x00, 0x08, 0x09, 0x0b, 0x0c, 0x0e, 0x1f, 0x7e, 0x7f, 0x80, 0x9f, 0xa0, 0xe9, 0xfffd})
        rows.push_back({QStringLiteral("an older line holding U+%1").arg(int(c), 4, 16, QLatin1Char('0')),
                        QString(legacy).replace(5, 1, QChar(c)), true});
    QString text; // each row's status, problem and warnings
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what.toStdString());
        DataHandler store;
        RandomSession(78).fill(store);
        const QJsonObject before = SessionJson::toJson(store);
        SessionReader reader;
        reader.setLegacyAccepted(!row.ask);
        ASSERT_EQ(reader.readText(good, store), S::Read); // forgotten by what follows
        const S status = reader.readText(row.text, store);
        const QString problem = reader.problem();
        // (as a file holds it: half a surrogate pair reads "?")
        text += QStringLiteral("== %1 ==\n%2\n")
                    .arg(row.what, QString::fromUtf8((statusNames[int(status)] + (' ' + problem)).trimmed().toUtf8()));
        for (const QString &warning : reader.warnings())
            text += QStringLiteral("warning: %1\n").arg(warning);
        EXPECT_FALSE(problem.contains(QLatin1Char('\n')));
        if (status == S::Failed) {
            EXPECT_TRUE(reader.presentKeys().empty()) << "a refused text reads no key";
        }
        reader.apply(store);
        if (status != S::Read) {
            EXPECT_EQ(SessionJson::toJson(store), before);
        }
    }
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/session-reader-damaged.txt"), text));
    // The whole file without its last line end reads as the file.
    DataHandler whole;
    readInto(whole, good.chopped(2));
    EXPECT_EQ(fileForm(whole), good);
}

// The question, the keys read and the songs they give are compared with
// tests/data/transcripts/session-reader-older-layout.txt.
TEST(SessionText, OlderLayoutIsReadOnlyWithConsent)
{
    const QString text = legacyLine({QStringLiteral("Old[Song"), QString(), QStringLiteral("Third")}, {90, 300, 45},
                                    {1, 20, 5, 0}, {2, 1, 10, 0})
        + QStringLiteral("and the rest of the old line");
    DataHandler store;
    RandomSession(9).fill(store, {2, true, false});
    const QJsonObject before = SessionJson::toJson(store);

    SessionReader reader;
    ASSERT_EQ(reader.readText(text, store), SessionReader::Status::NeedsConsent);
    EXPECT_TRUE(reader.wasLegacy());
    const Alert q = reader.legacyQuestion();
    QString shown = QStringLiteral("%1: %2|%3 [%4]").arg(q.title, q.message, q.informative, q.buttons.join(", "));
    shown.replace('\n', " / ").append('\n');
    reader.apply(store); // not before the answer
    EXPECT_EQ(SessionJson::toJson(store), before);
    // "Cancel": declined, with nothing to apply.
    EXPECT_EQ(reader.answerLegacy(false), SessionReader::Status::Declined);
    EXPECT_TRUE(reader.presentKeys().empty());
    reader.apply(store);
    EXPECT_EQ(SessionJson::toJson(store), before);

    // "Ok" (or consent given beforehand) reads names, tempos and colours only; the colours of
    // that layout count from 1 (a colour 0 stays 0).
    ASSERT_EQ(reader.readText(text, store), SessionReader::Status::NeedsConsent);
    ASSERT_EQ(reader.answerLegacy(true), SessionReader::Status::Read);
    reader.apply(store);
    shown += "keys read:";
    for (int k : reader.presentKeys())
        shown += QLatin1Char(' ') + QLatin1String(SessionKeys::at(k).key);
    // Names are cut by code points: 30 characters outside the plane, the fields after in place.
    DataHandler clefs;
    readInto(clefs, legacyLine({}, {}, {}, {}).replace(0, 30, kClef.repeated(30)), true);
    for (const DataHandler *read : {&store, &clefs})
        for (int i : {0, 1, 2, 3, 127}) {
            const Song &song = *read->SongList[i];
            shown += QString::asprintf("\nsong %d: \"%s\", %lld bpm, %lld ms, colours %lld on %lld", i + 1,
                                       qPrintable(QString(song.FullName).replace("\r\n", "|").replace(kClef, "{clef}")),
                                       song.Tempo, song.TempoInMs, song.ForegroundColour, song.BackgroundColour);
        }
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/session-reader-older-layout.txt"), shown + '\n'));
}

TEST(SessionText, ReadingFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString names = QString(30 * 127, QLatin1Char('`'));
    const auto stackName = [&names](const QString &first) {
        return line("MidiStackNames", first + QString(30 - first.size(), QLatin1Char('`')) + names);
    };
    const struct
    {
        const char *what;
        QByteArray bytes;
        qint64 size = 0; // > 0: a sparse file of that size
    } rows[] = {
        {"over 16 MiB", "", qint64(16) * 1024 * 1024 + 1},
        {"16 MiB of nothing", "", qint64(16) * 1024 * 1024},
        {"UTF-8 with a byte order mark", "\xEF\xBB\xBF" + stackName(QStringLiteral("Caf\u00e9")).toUtf8()},
        {"Latin-1", stackName(QStringLiteral("Caf\u00e9")).toLatin1()},
        {"UTF-16 with a byte order mark",
         QByteArray("\xFF\xFE")
             + QByteArray(reinterpret_cast<const char *>(stackName(kClef).utf16()), stackName(kClef).size() * 2)},
    };
    QString text; // each file's status, problem and first stack name
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        const QString path = dir.filePath(QString::fromLatin1(row.what));
        ASSERT_TRUE(writeFile(path, row.bytes));
        if (row.size > 0) {
            ASSERT_TRUE(QFile::resize(path, row.size));
        }
        DataHandler store;
        const QJsonObject before = SessionJson::toJson(store);
        SessionReader reader;
        const bool read = reader.readFile(path, store) == SessionReader::Status::Read;
        reader.apply(store);
        if (read) {
            EXPECT_EQ(reader.path(), path);
        } else {
            EXPECT_EQ(SessionJson::toJson(store), before);
        }
        const QString problem = reader.problem().replace(dir.path(), QStringLiteral("{d}"));
        text += QStringLiteral("== %1 ==\n%2\nstack 1: %3\n")
                    .arg(row.what, read ? QStringLiteral("Read") : "Failed " + problem, store.MidiStackList[0].Name);
    }
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/session-reader-files.txt"), text));
}

// What each write gives and leaves, and the backups listed, compared with
// tests/data/transcripts/saving-and-backups.txt.
TEST(SessionText, SavingAndBackups)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Why a write failed: Qt's own words when they say more than its generic text, else the
    // system's; nothing when there was no error.
    const QString generic = QFile().errorString();
    EXPECT_EQ(TextFileSaver::reason("Disk full", ENOSPC), "Disk full");
    EXPECT_EQ(TextFileSaver::reason(generic, ENOSPC), QString::fromLocal8Bit(std::strerror(ENOSPC)));
    EXPECT_EQ(TextFileSaver::reason(generic, 0), generic);
    EXPECT_EQ(TextFileSaver::reason(QString(), 0), QString());
    // Writes are atomic: a failed one is an error text and leaves the old file whole.
    const QString kept = dir.filePath(QStringLiteral("kept.txt"));
    QString shown;
    for (const auto &[path, text] : {std::pair{kept, QStringLiteral("old")},
                                     {kept, "Name]Caf\u00e9 " + kClef},
                                     {dir.filePath(QStringLiteral("no/such/dir/x.txt")), QStringLiteral("x")},
                                     {dir.path(), QStringLiteral("x")}}) {
        const QString error = TextFileSaver::writeAtomically(path, text);
        const QString held = readFile(path);
        shown += path + ": " + (error.isEmpty() ? QStringLiteral("written") : error) + "; holds "
            + (held.isEmpty() ? QStringLiteral("<missing>") : held) + '\n';
    }
    shown += "files: " + QDir(dir.path()).entryList(QDir::Files).join(' ') + '\n';

    // Backups: whole session files named by time, reason and session, newest first; the
    // newest Keep are kept and other files left alone.
    const QString folder = dir.filePath(QStringLiteral("backups"));
    BackupFolder backups(folder);
    DataHandler store;
    store.SongList[4]->UpdateTempo(133);
    const QDateTime start(QDate(2024, 5, 1), QTime(14, 3, 7, 412));
    QString first;
    shown += backups.write(store, QStringLiteral("Send All"), QStringLiteral("tempos (live).txt"), &first, start);
    shown += QFileInfo(first).fileName() + '\n';
    EXPECT_EQ(readFile(first), fileForm(store));
    ASSERT_TRUE(writeFile(folder + QStringLiteral("/notes.txt"), "mine"));
    const auto listed = [&backups] {
        QStringList entries;
        for (const BackupFolder::Entry &e : backups.list())
            entries << e.time.toString(Qt::ISODateWithMs) + ' ' + e.reason + " (" + e.sessionName + ')';
        return "listed: " + Snapshot::shortened(entries, 4, 2, 1).join(", ") + '\n';
    };
    shown += backups.write(store, QStringLiteral("Send (Changes)"), QStringLiteral("a/b\nc.txt"), nullptr,
                           start.addMSecs(1));
    shown += listed();
    for (int i = 0; i < BackupFolder::Keep; ++i)
        shown += backups.write(store, QStringLiteral("Send All"), QString(), nullptr, start.addSecs(60 + i));
    shown += listed();
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/notes.txt")));
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/saving-and-backups.txt"),
                                  shown.replace(dir.path(), QStringLiteral("{d}"))));
}
