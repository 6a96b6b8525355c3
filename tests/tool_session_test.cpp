// pedal-session, run as a separate process: exit codes, messages, the file form, JSON
// and the bytes of an upload.
#include "RandomSession.h"

#include "format/SessionJson.h"
#include "format_test_util.h"
#include "model/Normaliser.h"

#include "PedalVersion.h"

#include <QFile>
#include <QJsonArray>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun run(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(PEDAL_SESSION_TOOL), args);
    ToolRun r;
    if (!process.waitForFinished(60000)) {
        ADD_FAILURE() << "pedal-session did not finish";
        process.kill();
        process.waitForFinished();
        return r;
    }
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    r.exitCode = process.exitCode();
    r.out = process.readAllStandardOutput();
    r.err = process.readAllStandardError();
    return r;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// The editor's Open, in this process: read, apply, normalise.
void openInto(DataHandler &store, const QString &path)
{
    SessionReader reader;
    ASSERT_EQ(reader.readFile(path, store), SessionReader::Status::Read) << reader.problem().toStdString();
    reader.apply(store);
    Normaliser::normalise(store);
}

class SessionToolTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        DataHandler source;
        RandomSession(606).fill(source, {6, true, true});
        // Values that need the normalisation of Open, and blanks for the upload.
        source.SongList[0]->UpdateName(QStringLiteral("Intro\nwith spaces"));
        source.SongList[1]->UpdateTempo(299);
        source.MidiStackList[0].Name = QStringLiteral("Stack with spaces");
        sessionPath = dir.filePath(QStringLiteral("session.txt"));
        writeFile(sessionPath, fileForm(source).toUtf8());
    }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    QString sessionPath;
};

} // namespace

TEST_F(SessionToolTest, NewWritesTheFactorySession)
{
    DataHandler factory;
    const ToolRun r = run({QStringLiteral("new")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(r.out), fileForm(factory));
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();

    const ToolRun toFile = run({QStringLiteral("new"), QStringLiteral("-o"), path("new.txt")});
    EXPECT_EQ(toFile.exitCode, 0);
    EXPECT_TRUE(toFile.out.isEmpty());
    EXPECT_EQ(QString::fromUtf8(readFile(path("new.txt"))), fileForm(factory));
}

TEST_F(SessionToolTest, OpenWritesWhatTheEditorWouldSave)
{
    DataHandler expected;
    openInto(expected, sessionPath);
    const ToolRun r = run({QStringLiteral("open"), sessionPath, QStringLiteral("-o"), path("out.txt")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const QByteArray written = readFile(path("out.txt"));
    EXPECT_EQ(QString::fromUtf8(written), fileForm(expected));
    EXPECT_TRUE(written.contains("Name]Intro[with spaces`"));

    // Opening its own output gives the same text again.
    const ToolRun again = run({QStringLiteral("open"), path("out.txt")});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, written);
}

TEST_F(SessionToolTest, ADamagedFileIsRefusedWithOneLineAndNothingWritten)
{
    QByteArray text = readFile(sessionPath);
    const int tempos = text.indexOf("\r\nTempos]") + 9;
    text.replace(tempos + 6, 3, "000"); // song 3 has the tempo 0
    const QString damaged = path("damaged.txt");
    writeFile(damaged, text);
    writeFile(path("keep.txt"), "precious");

    const ToolRun r = run({QStringLiteral("open"), damaged, QStringLiteral("-o"), path("keep.txt")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    const QString err = QString::fromUtf8(r.err);
    EXPECT_EQ(err.count(QLatin1Char('\n')), 1) << err.toStdString();
    EXPECT_TRUE(err.endsWith(QLatin1Char('\n')));
    EXPECT_TRUE(err.contains(damaged)) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("Tempos"))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("song 3 has the tempo 0"))) << err.toStdString();
    EXPECT_EQ(readFile(path("keep.txt")), QByteArray("precious"));

    const ToolRun notThere = run({QStringLiteral("open"), damaged, QStringLiteral("-o"), path("none.txt")});
    EXPECT_EQ(notThere.exitCode, 1);
    EXPECT_FALSE(QFile::exists(path("none.txt")));
    EXPECT_TRUE(dir.path().size() > 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3); // no temporary files left

    for (const char *command : {"json", "upload"}) {
        QStringList args{QString::fromLatin1(command), damaged};
        if (QByteArray(command) == "upload")
            args << QStringLiteral("--page") << QStringLiteral("all");
        const ToolRun other = run(args);
        EXPECT_EQ(other.exitCode, 1) << command;
        EXPECT_TRUE(other.out.isEmpty()) << command;
        EXPECT_EQ(other.err.count('\n'), 1) << command;
    }
}

TEST_F(SessionToolTest, MessagesStayOnOneLine)
{
    // A value with a line feed inside (a file with other line ends) is quoted in the
    // message without breaking it.
    QString text = QStringLiteral("Tempos]") + QString(3 * 127, QLatin1Char('1')) + QStringLiteral("\nFractions]0\r\n");
    writeFile(path("lf.txt"), text.toUtf8());
    const ToolRun r = run({QStringLiteral("open"), path("lf.txt")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Tempos")) << r.err.toStdString();

    const ToolRun missing = run({QStringLiteral("open"), path("missing.txt")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err.count('\n'), 1) << missing.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(missing.err).contains(path("missing.txt")));
}

TEST_F(SessionToolTest, AResultThatCannotBeWrittenIsAFailure)
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    QProcess process;
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start(QStringLiteral(PEDAL_SESSION_TOOL), {QStringLiteral("json"), sessionPath});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 1);
    const QByteArray err = process.readAllStandardError();
    EXPECT_EQ(err.count('\n'), 1);
    EXPECT_TRUE(err.contains("No space left on device")) << err.constData();
}

// An output that is not a regular file (here a FIFO) is written into, not replaced.
TEST_F(SessionToolTest, AnOutputThatIsNotARegularFileIsWrittenInto)
{
    const QString fifo = path("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess reader;
    reader.start(QStringLiteral("cat"), {fifo});
    ASSERT_TRUE(reader.waitForStarted());
    const ToolRun r = run({QStringLiteral("new"), QStringLiteral("-o"), fifo});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_TRUE(reader.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()), fileForm(DataHandler()));
    struct stat info
    {};
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(SessionToolTest, UsageErrors)
{
    const QList<QStringList> usage = {
        {},
        {QStringLiteral("frobnicate")},
        {QStringLiteral("new"), QStringLiteral("extra")},
        {QStringLiteral("new"), QStringLiteral("-o")},
        {QStringLiteral("open")},
        {QStringLiteral("open"), sessionPath, sessionPath},
        {QStringLiteral("open"), sessionPath, QStringLiteral("--bogus")},
        {QStringLiteral("json")},
        {QStringLiteral("json"), sessionPath, QStringLiteral("-o"), path("x.json")},
        {QStringLiteral("upload"), sessionPath},
        {QStringLiteral("upload"), sessionPath, QStringLiteral("--page"), QStringLiteral("bogus")},
        {QStringLiteral("upload"), QStringLiteral("--page"), QStringLiteral("all")},
        {QStringLiteral("diff")},
        {QStringLiteral("diff"), sessionPath},
        {QStringLiteral("diff"), sessionPath, sessionPath, sessionPath},
        {QStringLiteral("diff"), sessionPath, sessionPath, QStringLiteral("--bogus")},
        // diff, like diff(1), says 2 for any trouble: here files that cannot be read.
        {QStringLiteral("diff"), sessionPath, path("missing.txt")},
        {QStringLiteral("diff"), dir.path(), sessionPath},
        // Send Changes sends what differs from BASE: no page as well, BASE needs a value.
        {QStringLiteral("send"), sessionPath, QStringLiteral("--port"), path("none"), QStringLiteral("--changes-from"),
         sessionPath, QStringLiteral("--page"), QStringLiteral("all")},
        {QStringLiteral("send"), sessionPath, QStringLiteral("--port"), path("none"), QStringLiteral("--changes-from")},
        // Refused before the port is tried: "nan" passes a test written as "<= 0 or > 3600".
        {QStringLiteral("receive"), QStringLiteral("--port"), path("none"), QStringLiteral("--page"),
         QStringLiteral("all"), QStringLiteral("--timeout"), QStringLiteral("nan")},
    };
    for (const QStringList &args : usage) {
        const ToolRun r = run(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << args.join(QLatin1Char(' ')).toStdString();
    }
    EXPECT_FALSE(QFile::exists(path("x.json")));
    const ToolRun version = run({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QByteArray("pedal-session " PEDAL_VERSION "\n"));
}

TEST_F(SessionToolTest, LegacyFilesNeedTheirQuestionAnswered)
{
    QString line;
    for (int i = 0; i < 128; ++i)
        line += (i == 0 ? QStringLiteral("Old") + QString(27, QLatin1Char('`')) : QString(30, QLatin1Char('`')));
    for (int i = 0; i < 128; ++i)
        line += QStringLiteral("090");
    for (int i = 0; i < 256; ++i)
        line += QStringLiteral("03");
    writeFile(path("legacy.txt"), line.toUtf8());

    const ToolRun refused = run({QStringLiteral("open"), path("legacy.txt"), QStringLiteral("-o"), path("l.txt")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err.count('\n'), 1) << refused.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(refused.err).contains(QStringLiteral("--accept-legacy")));
    EXPECT_FALSE(QFile::exists(path("l.txt")));

    const ToolRun accepted = run({QStringLiteral("json"), path("legacy.txt"), QStringLiteral("--accept-legacy")});
    EXPECT_EQ(accepted.exitCode, 0) << accepted.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(accepted.out).object();
    const QJsonObject first = json[QStringLiteral("SongList")].toArray()[0].toObject();
    EXPECT_EQ(first[QStringLiteral("FullName")].toString(), QStringLiteral("Old"));
    EXPECT_EQ(first[QStringLiteral("Tempo")].toInteger(), 90);
    EXPECT_EQ(first[QStringLiteral("ForegroundColour")].toInteger(), 2);
    EXPECT_EQ(first[QStringLiteral("BackgroundColour")].toInteger(), 2);
    EXPECT_EQ(first[QStringLiteral("ProgramChange")].toInteger(), 1);
}

TEST_F(SessionToolTest, JsonShowsTheWholeStore)
{
    DataHandler expected;
    openInto(expected, sessionPath);
    const ToolRun r = run({QStringLiteral("json"), sessionPath});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonObject json = doc.object();
    EXPECT_EQ(json.keys(), QStringList({"GlobalMenu", "MidiMessageLibrary", "MidiStackList", "Setlist", "SongList"}));
    EXPECT_EQ(json, SessionJson::toJson(expected));
    EXPECT_EQ(json[QStringLiteral("SongList")][0][QStringLiteral("FullName")].toString(),
              QStringLiteral("Intro\nwith spaces"));
}

TEST_F(SessionToolTest, UploadPrintsTheBytesOfEachPageSend)
{
    DataHandler store;
    openInto(store, sessionPath);
    const struct
    {
        const char *page;
        SessionKeys::Page selection;
        int lines;
    } pages[] = {{"songs", SessionKeys::Page::Songs, 21},    {"setjacks", SessionKeys::Page::SetJacks, 41},
                 {"setlist", SessionKeys::Page::Setlist, 1}, {"midi", SessionKeys::Page::Midi, 3},
                 {"global", SessionKeys::Page::Global, 1},   {"all", SessionKeys::Page::All, 67}};
    for (const auto &p : pages) {
        SCOPED_TRACE(p.page);
        const ToolRun r =
            run({QStringLiteral("upload"), sessionPath, QStringLiteral("--page"), QString::fromLatin1(p.page)});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty());
        const QString out = QString::fromUtf8(r.out);
        ASSERT_TRUE(out.startsWith(QStringLiteral("]3;")));
        ASSERT_TRUE(out.endsWith(QStringLiteral("\r\n;")));
        EXPECT_FALSE(out.contains(QLatin1Char(' ')));
        const QString body = out.mid(3, out.size() - 4);
        EXPECT_EQ(body.count(QStringLiteral("\r\n")), p.lines);

        SessionWriter writer;
        writer.selectPage(p.selection);
        QString expected = writer.write(store, SessionWriter::Form::Pedal);
        expected.replace(QLatin1Char(' '), QLatin1Char('_'));
        EXPECT_EQ(body, expected);
    }
}

TEST_F(SessionToolTest, DiffSaysWhatChangedAndExitsAsDiffDoes)
{
    const QString same = path("same.txt");
    writeFile(same, readFile(sessionPath));
    DataHandler changed;
    openInto(changed, sessionPath);
    changed.SongList[2]->UpdateName(QStringLiteral("Intro Riff"));
    changed.GlobalMenu.MidiChannelOut = 5;
    changed.MidiStackList[3].MidiStackMessageList[0].Value = 64;
    const QString other = path("other.txt");
    writeFile(other, fileForm(changed).toUtf8());
    DataHandler before;
    openInto(before, sessionPath);
    const QString name = before.SongList[2]->NameWithoutBreaks;
    const QString stack = before.MidiStackList[3].Name;
    const qint64 channel = before.GlobalMenu.MidiChannelOut;
    const qint64 value = before.MidiStackList[3].MidiStackMessageList[0].Value;

    // A damaged file and a legacy file without --accept-legacy are trouble.
    QByteArray damaged = readFile(sessionPath);
    damaged.replace("\r\nTempos]", "\r\nTempos]000");
    writeFile(path("damaged.txt"), damaged);
    QString legacy;
    for (int i = 0; i < 128; ++i)
        legacy += QString(30, QLatin1Char('`'));
    legacy += QString(3 * 128, QLatin1Char('1')) + QString(2 * 256, QLatin1Char('1'));
    writeFile(path("legacy.txt"), legacy.toUtf8());

    const struct
    {
        QStringList args;
        int exitCode;
        QStringList lines; // standard output
    } rows[] = {
        {{sessionPath, same}, 0, {}},
        {{sessionPath, same, QStringLiteral("--json")}, 0, {QStringLiteral("[")}},
        {{sessionPath, other},
         1,
         {QStringLiteral("Song 3 (%1): Name \"%1\" → \"Intro Riff\"").arg(name),
          QStringLiteral("Global: Midi Channel Out %1 → 5").arg(channel),
          QStringLiteral("Stack 4 (%1): Row 1 Value %2 → 64").arg(stack).arg(value)}},
        {{sessionPath, path("damaged.txt")}, 2, {}},
        {{path("legacy.txt"), sessionPath}, 2, {}},
        {{path("legacy.txt"), path("legacy.txt"), QStringLiteral("--accept-legacy")}, 0, {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.args.join(QLatin1Char(' ')).toStdString());
        const ToolRun r = run(QStringList{QStringLiteral("diff")} + row.args);
        EXPECT_EQ(r.exitCode, row.exitCode) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), row.exitCode == 2 ? 1 : 0) << r.err.toStdString();
        const QStringList lines = QString::fromUtf8(r.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        EXPECT_EQ(row.args.contains(QStringLiteral("--json")) ? lines.mid(0, 1) : lines, row.lines);
    }

    const ToolRun json = run({QStringLiteral("diff"), QStringLiteral("--json"), sessionPath, other});
    EXPECT_EQ(json.exitCode, 1);
    const QJsonArray changes = QJsonDocument::fromJson(json.out).array();
    ASSERT_EQ(changes.size(), 3);
    const QJsonObject global = changes[1].toObject();
    EXPECT_EQ(global[QStringLiteral("page")].toString(), QStringLiteral("Global Settings"));
    EXPECT_EQ(global[QStringLiteral("key")].toString(), QStringLiteral("Global"));
    EXPECT_EQ(global[QStringLiteral("field")].toString(), QStringLiteral("Midi Channel Out"));
    EXPECT_EQ(global[QStringLiteral("after")].toString(), QStringLiteral("5"));
    EXPECT_EQ(changes[0].toObject()[QStringLiteral("number")].toInt(), 3);
    EXPECT_EQ(changes[2].toObject()[QStringLiteral("row")].toInt(), 1);
}
