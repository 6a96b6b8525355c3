// The session file reader: keys, values, names and numbers read back, partial files,
// the older single-line layout, and reading from files.
#include "RandomSession.h"

#include "format/SessionJson.h"
#include "model/Normaliser.h"
#include "format_test_util.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

const QString kLegacyText = QStringLiteral("The session you are trying to load is not fully supported\n"
                                           "If this is a session from the Revade App,\n"
                                           "only names, tempos, and colours will be loaded.");

// A line of the older layout: 128 names, tempos, foreground and background colours.
QString legacyLine(const QStringList &names, const QList<int> &tempos, const QList<int> &fg, const QList<int> &bg)
{
    QString text;
    for (int i = 0; i < 128; ++i) {
        const QString name = i < names.size() ? names[i] : QString();
        text += name + QString(30 - name.size(), QLatin1Char('`'));
    }
    for (int i = 0; i < 128; ++i)
        text += QStringLiteral("%1").arg(i < tempos.size() ? tempos[i] : 120, 3, 10, QLatin1Char('0'));
    for (int i = 0; i < 128; ++i)
        text += QStringLiteral("%1").arg(i < fg.size() ? fg[i] : 2, 2, 10, QLatin1Char('0'));
    for (int i = 0; i < 128; ++i)
        text += QStringLiteral("%1").arg(i < bg.size() ? bg[i] : 1, 2, 10, QLatin1Char('0'));
    return text;
}

} // namespace

TEST(Reader, AFileOfOnlyTemposChangesOnlyTempos)
{
    DataHandler store;
    RandomSession(3).fill(store);
    QJsonObject expected = SessionJson::toJson(store);
    QString tempos;
    for (int i = 0; i < 128; ++i)
        tempos += QStringLiteral("%1").arg(40 + i, 3, 10, QLatin1Char('0'));
    readInto(store, line("Tempos", tempos));

    QJsonArray songs = expected[QStringLiteral("SongList")].toArray();
    for (int i = 0; i < 128; ++i) {
        QJsonObject s = songs[i].toObject();
        s[QStringLiteral("Tempo")] = 40 + i;
        s[QStringLiteral("TempoInMs")] = 60000 / (40 + i);
        songs[i] = s;
    }
    expected[QStringLiteral("SongList")] = songs;
    EXPECT_EQ(SessionJson::toJson(store), expected);
}

TEST(Reader, LibraryEntriesAreAddedAfterThoseThere)
{
    DataHandler source;
    RandomSession(4).fill(source, {7, true, false});
    DataHandler store;
    store.MidiMessageLibrary.emplace_back(QStringLiteral("Own"), QStringLiteral("Entry"), QStringLiteral("Kept"), 1, 2,
                                          3);
    readInto(store, SessionWriter::writeKeys(source, {69, 70, 71, 72, 73, 74}));
    ASSERT_EQ(store.MidiMessageLibrary.size(), 8u);
    EXPECT_EQ(store.MidiMessageLibrary[0].Manufacturer, QStringLiteral("Own"));
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(store.MidiMessageLibrary[i + 1], source.MidiMessageLibrary[i]) << i;
    // Opening the same file again adds the entries once more.
    readInto(store, SessionWriter::writeKeys(source, {69, 70, 71, 72, 73, 74}));
    EXPECT_EQ(store.MidiMessageLibrary.size(), 15u);
}

TEST(Reader, LibraryNeedsAllSixKeys)
{
    DataHandler source;
    RandomSession(4).fill(source, {3, false, false});
    DataHandler store;
    readInto(store, SessionWriter::writeKeys(source, {69, 70, 71, 72, 73}));
    EXPECT_TRUE(store.MidiMessageLibrary.empty());
}

TEST(Reader, SetlistSlotsNameSongsByPosition)
{
    DataHandler store;
    readInto(store, line("Setlist", QStringLiteral("005255002") + repeat(QStringLiteral("255"), 125)));
    ASSERT_EQ(store.Setlist.size(), 2u);
    EXPECT_EQ(store.Setlist[0]->Id, 5);
    EXPECT_EQ(store.Setlist[1]->Id, 2);
    EXPECT_EQ(store.Setlist[0].get(), store.SongList[4].get());
    // A setlist of no songs is kept as the file says.
    readInto(store, line("Setlist", repeat(QStringLiteral("255"), 128)));
    EXPECT_TRUE(store.Setlist.empty());
}

TEST(Reader, StackMessagesFromStatusNumbers)
{
    DataHandler store;
    store.MidiStackList[0].MidiStackMessageList[0] = MidiStackMessage(5, 5, 5, 5, QStringLiteral("x"));
    QString channels = QStringLiteral("000207145191") + repeat(QStringLiteral("000"), 1276);
    QString messages = QStringLiteral("001002003004") + repeat(QStringLiteral("000"), 1276);
    readInto(store, line("MidiStackMessageChannels", channels) + line("MidiStackMessageMessages", messages));
    const auto &m = store.MidiStackList[0].MidiStackMessageList;
    EXPECT_EQ(m[0], MidiStackMessage(0, 0, 1, 5, QStringLiteral("x"))); // value and name untouched
    EXPECT_EQ(m[1].Typey, 1);
    EXPECT_EQ(m[1].Channel, 16);
    EXPECT_EQ(m[2].Typey, 3);
    EXPECT_EQ(m[2].Channel, 2);
    EXPECT_EQ(m[3].Typey, 0);
    EXPECT_EQ(m[3].Channel, 16);
    EXPECT_EQ(m[3].Message, 4);
}

TEST(Reader, StackStatusWithoutAChannelStillOpens)
{
    // A Note Off left on channel 0 is written as 127: the file opens, the message reads
    // as channel 127 of type 0, and normalising brings the channel to 16.
    DataHandler source;
    source.MidiStackList[2].MidiStackMessageList[4] = MidiStackMessage(2, 0, 10, 20, QStringLiteral("off"));
    DataHandler store;
    readInto(store, fileForm(source));
    const MidiStackMessage &m = store.MidiStackList[2].MidiStackMessageList[4];
    EXPECT_EQ(m.Typey, 0);
    EXPECT_EQ(m.Channel, 127);
    EXPECT_EQ(m.Message, 10);
    EXPECT_EQ(m.Name, QStringLiteral("off"));
    Normaliser::normalise(store);
    EXPECT_EQ(m.Channel, 16);
}

TEST(Reader, JackCodesStartFromStaticZeroAndFivePulses)
{
    DataHandler store;
    for (const SongRef &s : store.SongList) {
        s->JackFour = 3;
        s->JackFourStatic = 9;
        s->JackFourPulses = 9;
    }
    readInto(store, line("NumPulsesFours", QStringLiteral("36320012") + repeat(QStringLiteral("99"), 124)));
    const struct
    {
        qint64 mode, level, pulses;
    } expected[] = {{2, 0, 5}, {0, 1, 5}, {0, 0, 5}, {1, 0, 11}, {0, 0, 5}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(store.SongList[i]->JackFour, expected[i].mode) << i;
        EXPECT_EQ(store.SongList[i]->JackFourStatic, expected[i].level) << i;
        EXPECT_EQ(store.SongList[i]->JackFourPulses, expected[i].pulses) << i;
    }
}

TEST(Reader, LastLineOfAKeyWinsAndAValueEndsAtTheNextBracket)
{
    DataHandler store;
    const QString first = repeat(QStringLiteral("1"), 128);
    const QString second = repeat(QStringLiteral("2"), 128);
    const QString text = line("Fractions", first) + line("Fractions", second + QStringLiteral("]junk"))
        + QStringLiteral("  FontSizes]") + repeat(QStringLiteral("3"), 128) + QStringLiteral("  \t\r\n")
        + QStringLiteral("Unknown]zzz\r\n") + QStringLiteral("\r\n");
    readInto(store, text);
    EXPECT_EQ(store.SongList[0]->Fraction, 2);
    EXPECT_EQ(store.SongList[127]->Fraction, 2);
    EXPECT_EQ(store.SongList[64]->FontSize, 3);
}

TEST(Reader, ExtraFieldsAreIgnored)
{
    DataHandler store;
    readInto(store, line("BankChanges", repeat(QStringLiteral("007"), 130) + QStringLiteral("1")));
    EXPECT_EQ(store.SongList[127]->BankChange, 7);
}

TEST(Reader, EveryLineEndEndsALine)
{
    // Editors and version control tools may leave "\n" or "\r" alone: every key of the
    // file is read all the same, and saving writes "\r\n" again.
    DataHandler source;
    RandomSession(31).fill(source, {3, true, true});
    const QString crlf = fileForm(source);
    DataHandler expected;
    readInto(expected, crlf);
    const QString lf = QString(crlf).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QString cr = QString(crlf).replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    QString mixed = lf;
    mixed.replace(mixed.indexOf(QLatin1Char('\n')), 1, QStringLiteral("\r"));
    mixed.replace(mixed.lastIndexOf(QLatin1Char('\n')), 1, QStringLiteral("\r\n"));
    const std::pair<const char *, QString> texts[] = {{"LF", lf}, {"CR", cr}, {"mixed", mixed}};
    for (const auto &t : texts) {
        SCOPED_TRACE(t.first);
        DataHandler store;
        ScriptedDialogs dialogs;
        SessionReader reader;
        ASSERT_EQ(reader.readText(t.second, dialogs, store), SessionReader::Status::Read)
            << reader.problem().toStdString();
        EXPECT_EQ(reader.presentKeys().size(), size_t(SessionKeys::Count));
        reader.apply(store);
        EXPECT_EQ(fileForm(store), fileForm(expected));
        EXPECT_TRUE(dialogs.shown.isEmpty());
    }
    const QString saved = fileForm(expected);
    EXPECT_EQ(saved.count(QLatin1Char('\n')), saved.count(QStringLiteral("\r\n")));
}

TEST(Reader, TrailingSpacesOfAFullLastNameSurvive)
{
    // Lines are trimmed, but a last name that fills its field keeps its own spaces.
    DataHandler source;
    source.SongList[127]->UpdateName(QString(29, QLatin1Char('x')) + QLatin1Char(' '));
    source.MidiStackList[127].Name = QStringLiteral("ends in spaces") + QString(16, QLatin1Char(' '));
    source.MidiMessageLibrary.emplace_back(QStringLiteral("m"), QStringLiteral("d"),
                                           QStringLiteral("   action") + QString(11, QLatin1Char(' ')), 0, 1, 2);
    source.MidiMessageLibrary.emplace_back(QStringLiteral("m"), QStringLiteral("d"), QString(20, QLatin1Char(' ')), 0,
                                           1, 2);
    ASSERT_EQ(source.MidiStackList[127].Name.size(), 30);
    ASSERT_EQ(source.MidiMessageLibrary[0].Action.size(), 20);
    DataHandler store;
    readInto(store, fileForm(source));
    EXPECT_EQ(store.SongList[127]->FullName, source.SongList[127]->FullName);
    EXPECT_EQ(store.MidiStackList[127].Name, source.MidiStackList[127].Name);
    ASSERT_EQ(store.MidiMessageLibrary.size(), 2u);
    EXPECT_EQ(store.MidiMessageLibrary[0].Action, source.MidiMessageLibrary[0].Action);
    EXPECT_EQ(store.MidiMessageLibrary[1].Action, QString(20, QLatin1Char(' ')));

    // White space after a full line is still trimmed away.
    DataHandler other;
    readInto(other, line("MidiStackNames", QString(30 * 128, QLatin1Char('n')) + QStringLiteral("   ")));
    EXPECT_EQ(other.MidiStackList[127].Name, QString(30, QLatin1Char('n')));
}

TEST(LegacyLayout, QuestionAndCancel)
{
    DataHandler store;
    const QJsonObject before = SessionJson::toJson(store);
    ScriptedDialogs dialogs;
    dialogs.answers = {1};
    SessionReader reader;
    ASSERT_EQ(reader.readText(legacyLine({QStringLiteral("Old")}, {90}, {3}, {4}), dialogs, store),
              SessionReader::Status::Read);
    EXPECT_TRUE(reader.wasLegacy());
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Opening"));
    EXPECT_EQ(dialogs.shown[0].message + dialogs.shown[0].informative, kLegacyText);
    EXPECT_EQ(dialogs.shown[0].buttons, QStringList({QStringLiteral("Ok"), QStringLiteral("Cancel")}));
    EXPECT_TRUE(reader.presentKeys().empty());
    reader.apply(store);
    EXPECT_EQ(SessionJson::toJson(store), before);
}

TEST(LegacyLayout, OkReadsNamesTemposAndColours)
{
    DataHandler store;
    RandomSession(9).fill(store, {2, true, false});
    QJsonObject expected = SessionJson::toJson(store);
    ScriptedDialogs dialogs;
    dialogs.answers = {0};
    readInto(store,
             legacyLine({QStringLiteral("Old[Song"), QString(), QStringLiteral("Third")}, {90, 300, 45}, {1, 20, 5, 0},
                        {2, 1, 10, 0})
                 + QStringLiteral("and the rest of the old line"),
             &dialogs);
    ASSERT_EQ(dialogs.shown.size(), 1);

    EXPECT_EQ(store.SongList[0]->FullName, QStringLiteral("Old\r\nSong"));
    EXPECT_EQ(store.SongList[0]->NameWithoutBreaks, QStringLiteral("Old_Song"));
    EXPECT_EQ(store.SongList[1]->FullName, QString());
    EXPECT_EQ(store.SongList[2]->FullName, QStringLiteral("Third"));
    EXPECT_EQ(store.SongList[0]->Tempo, 90);
    EXPECT_EQ(store.SongList[0]->TempoInMs, 666);
    EXPECT_EQ(store.SongList[1]->Tempo, 300);
    EXPECT_EQ(store.SongList[127]->Tempo, 120);
    // The colours of that layout count from 1.
    EXPECT_EQ(store.SongList[0]->ForegroundColour, 0);
    EXPECT_EQ(store.SongList[1]->ForegroundColour, 19);
    EXPECT_EQ(store.SongList[2]->ForegroundColour, 4);
    EXPECT_EQ(store.SongList[0]->BackgroundColour, 1);
    EXPECT_EQ(store.SongList[2]->BackgroundColour, 9);
    // A colour 0 has no colour below it and stays 0.
    EXPECT_EQ(store.SongList[3]->ForegroundColour, 0);
    EXPECT_EQ(store.SongList[3]->BackgroundColour, 0);
    EXPECT_EQ(store.SongList[127]->ForegroundColour, 1);
    EXPECT_EQ(store.SongList[127]->BackgroundColour, 0);

    // Nothing else changes.
    QJsonArray songs = expected[QStringLiteral("SongList")].toArray();
    const QJsonArray now = SessionJson::toJson(store)[QStringLiteral("SongList")].toArray();
    for (int i = 0; i < 128; ++i) {
        QJsonObject s = songs[i].toObject();
        for (const char *f :
             {"FullName", "NameWithoutBreaks", "Tempo", "TempoInMs", "ForegroundColour", "BackgroundColour"})
            s[QLatin1String(f)] = now[i][QLatin1String(f)];
        songs[i] = s;
    }
    expected[QStringLiteral("SongList")] = songs;
    EXPECT_EQ(SessionJson::toJson(store), expected);
}

TEST(LegacyLayout, NamesAreCutByCodePoints)
{
    // A name of the old layout with characters outside the Basic Multilingual Plane
    // fills its 30 characters with 30 code points; the fields after it stay in place.
    const QString clef = QString::fromUcs4(U"\U0001D11E", 1);
    QString text = legacyLine({}, {}, {}, {});
    text.replace(0, 30, repeat(clef, 30));
    DataHandler store;
    ScriptedDialogs dialogs;
    readInto(store, text, &dialogs);
    EXPECT_EQ(store.SongList[0]->FullName, repeat(clef, 30));
    EXPECT_EQ(store.SongList[1]->FullName, QString());
    EXPECT_EQ(store.SongList[127]->Tempo, 120);
    EXPECT_EQ(store.SongList[127]->BackgroundColour, 0);
}

TEST(ReadingFiles, PanelCancelFileErrorsAndEncodings)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    DataHandler store;
    ScriptedDialogs dialogs;
    SessionReader reader;

    {
        CapturedLines captured;
        EXPECT_EQ(reader.chooseAndRead(dialogs, store), SessionReader::Status::Cancelled);
        EXPECT_EQ(captured.lines, QStringList({QStringLiteral("file selection was canceled")}));
    }
    EXPECT_EQ(dialogs.openTitles, QStringList({QStringLiteral("Open Session")}));

    const QString missing = dir.filePath(QStringLiteral("missing.txt"));
    EXPECT_EQ(reader.readFile(missing, dialogs, store), SessionReader::Status::Failed);
    EXPECT_TRUE(reader.problem().startsWith(missing)) << reader.problem().toStdString();

    // A byte order mark is not part of the first key; UTF-8 names read as such.
    const QString path = dir.filePath(QStringLiteral("bom.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QString names =
        QStringLiteral("Caf\u00e9") + QString(26, QLatin1Char('`')) + repeat(QString(30, QLatin1Char('`')), 127);
    file.write(QByteArray("\xEF\xBB\xBF") + line("MidiStackNames", names).toUtf8());
    file.close();
    dialogs.openPaths = {path};
    ASSERT_EQ(reader.chooseAndRead(dialogs, store), SessionReader::Status::Read) << reader.problem().toStdString();
    reader.apply(store);
    EXPECT_EQ(store.MidiStackList[0].Name, QStringLiteral("Caf\u00e9"));
}

TEST(Reader, ACharacterOutsideTheBasicPlaneAnywhereKeepsTheFieldsInPlace)
{
    // Wherever the pair stands in the value, fields are cut by code points.
    const QString clef = QString::fromUcs4(U"\U0001D11E", 1);
    for (int at = 0; at < 9; ++at) {
        SCOPED_TRACE(at);
        DataHandler source;
        const int stack = 127 - at % 3;
        source.MidiStackList[size_t(stack)].Name =
            QString(at, QLatin1Char('a')) + clef + QString(29 - at, QLatin1Char('b'));
        DataHandler store;
        readInto(store, SessionWriter::writeKeys(source, {SessionKeys::indexOf(u"MidiStackNames")}));
        for (int s = 0; s < 128; ++s)
            EXPECT_EQ(store.MidiStackList[size_t(s)].Name, source.MidiStackList[size_t(s)].Name) << s;
    }
    // Number fields with such a character are refused.
    DataHandler store;
    ScriptedDialogs dialogs;
    SessionReader reader;
    EXPECT_EQ(reader.readText(line("Fractions", QString(100, QLatin1Char('1')) + clef + QString(30, QLatin1Char('1'))),
                              dialogs, store),
              SessionReader::Status::Failed);
    EXPECT_TRUE(reader.problem().startsWith(QStringLiteral("Fractions: field 101"))) << reader.problem().toStdString();
}
