// pedal-session run as a process: one table of command lines, walked in order, with their
// exit status (usage errors 2), output or file written, and sessions through the virtual pedal.
#include "FlashTool.h"
#include "RandomSession.h"
#include "Snapshot.h"
#include "vpedal_support.h"

#include "PedalVersion.h"
#include "model/CodePoints.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace vpedal;

// The input files of the command lines, in a scratch folder: a session whose values need
// the normalisation of Open, a damaged copy, a file with other line ends, a legacy
// single-line session, the golden random session changed, unknown keys, an image, a file
// cut inside its last key.
struct ToolFiles
{
    TempFiles temp;
    const QString d = temp.dir.path(), g = QStringLiteral(PEDAL_SOURCE_DIR "/tests/data/golden");
    DataHandler session, random, next;

    ToolFiles()
    {
        DataHandler source;
        RandomSession(606).fill(source, {6, true, true});
        source.SongList[0]->UpdateName(QStringLiteral("Intro\nwith spaces"));
        source.SongList[1]->UpdateTempo(299);
        const QByteArray form = fileForm(source).toUtf8();
        EXPECT_TRUE(openSessionFile(session, temp.write("session.txt", form)));
        temp.write("same.txt", form);
        EXPECT_TRUE(openSessionFile(random, g + "/random.txt"));
        EXPECT_TRUE(openSessionFile(next, g + "/random.txt"));
        next.SongList[7]->UpdateTempo(next.SongList[7]->Tempo == 97 ? 98 : 97);
        temp.write("next.txt", fileForm(next).toUtf8());
        QByteArray damaged = form;
        damaged.replace(damaged.indexOf("\r\nTempos]") + 15, 3, "000"); // song 3
        temp.write("damaged.txt", damaged);
        temp.write("keep.txt", "precious");
        temp.write("lf.txt", "Tempos]" + QByteArray(3 * 127, '1') + "\nFractions]0\r\n");
        const QByteArray legacyLine =
            "Old" + QByteArray(27 + 127 * 30, '`') + QByteArray("090").repeated(128) + QByteArray("03").repeated(256);
        temp.write("legacy.txt", legacyLine);
        temp.write("unknown.txt", form + "Tempoz]1\r\nFutureKey]2\r\n");
        temp.write("image", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16).repeated(50));
        temp.write("cut.txt", form.left(form.indexOf("LibraryValues]") + 8));
        // Changes of each kind: a name, a global setting, a stack row, the setlist.
        DataHandler changed;
        EXPECT_TRUE(openSessionFile(changed, d + "/session.txt"));
        changed.SongList[2]->UpdateName(QStringLiteral("Intro Riff"));
        changed.GlobalMenu.MidiChannelOut = session.GlobalMenu.MidiChannelOut == 5 ? 6 : 5;
        changed.MidiStackList[3].MidiStackMessageList[0].Value = 64;
        changed.insertSongIntoSetlist(4, 1);
        temp.write("other.txt", fileForm(changed).toUtf8());
        temp.write("empty.bin", {});
    }
};

// What pedal-session prints, for each command line of a table, compared with the reviewed
// transcripts under tests/data/transcripts/: its help, every usage error, the session in
// each form, refused and damaged input, and diff in both forms. Run in the scratch folder;
// its path reads "{d}". Lines of over 200 characters show their first 100 and a hash.
TEST(SessionTool, PrintsWhatWasReviewed)
{
    const ToolFiles files;
    const struct
    {
        const char *transcript;
        QStringList args;
    } rows[] = {
        {"help", {"--help"}},
        {"help", {"--version"}},
        {"help", {"new", "-h"}},
        {"help", {"open", "--help"}},
        {"help", {"json", "--help"}},
        {"help", {"upload", "--help"}},
        {"help", {"send", "--help"}},
        {"help", {"receive", "--help"}},
        {"help", {"flash", "--help"}},
        {"help", {"diff", "--help"}},
        {"usage", {}},
        {"usage", {"frobnicate"}},
        {"usage", {"new", "extra"}},
        {"usage", {"new", "-o"}},
        {"usage", {"open"}},
        {"usage", {"open", "session.txt", "session.txt"}},
        {"usage", {"open", "session.txt", "--bogus"}},
        {"usage", {"json"}},
        {"usage", {"upload", "session.txt"}},
        {"usage", {"upload", "session.txt", "--page", "bogus"}},
        {"usage", {"upload", "--page", "all"}},
        {"usage", {"diff"}},
        {"usage", {"diff", "session.txt"}},
        {"usage", {"diff", "session.txt", "session.txt", "session.txt"}},
        {"usage", {"diff", "session.txt", "session.txt", "--bogus"}},
        {"usage", {"send", "session.txt", "--port", "none", "--changes-from", "session.txt", "--page", "all"}},
        {"usage", {"send", "session.txt", "--port", "none", "--changes-from"}},
        {"usage", {"send", "session.txt", "--page", "all"}},
        {"usage", {"receive", "--port", "none", "--page", "everything"}},
        // "nan" passes a test written as "<= 0 or > 3600".
        {"usage", {"receive", "--port", "none", "--page", "all", "--timeout", "nan"}},
        {"usage", {"receive", "--port", "none", "--page", "all", "--timeout", "0"}},
        {"usage", {"flash", "pedal.bin"}},
        // The file, JSON and upload forms, of the golden sessions and of the older layout.
        {"output", {"new"}},
        {"output", {"open", "{g}/random.txt"}},
        {"output", {"json", "{g}/random.txt"}},
        {"output", {"upload", "{g}/random.txt", "--page", "songs"}},
        {"output", {"upload", "{g}/random.txt", "--page", "setjacks"}},
        {"output", {"upload", "{g}/random.txt", "--page", "setlist"}},
        {"output", {"upload", "{g}/random.txt", "--page", "midi"}},
        {"output", {"upload", "{g}/random.txt", "--page", "global"}},
        {"output", {"upload", "{g}/random.txt", "--page", "all"}},
        {"output", {"json", "legacy.txt", "--accept-legacy"}},
        {"output", {"upload", "legacy.txt", "--page", "all", "--accept-legacy"}},
        // Unknown keys are told, one line each, and the file is read.
        {"output", {"open", "unknown.txt"}},
        // Refused input: one line that says why, nothing on standard output.
        {"input", {"open", "lf.txt"}},
        {"input", {"open", "{d}/missing.txt"}},
        {"input", {"upload", "damaged.txt", "--page", "all"}},
        {"input", {"upload", "legacy.txt", "--page", "all"}},
        {"input", {"open", "image"}},
        {"input", {"open", "cut.txt"}},
        {"input", {"json", "cut.txt"}},
        {"input", {"receive", "--port", "keep.txt", "--page", "global"}},
        {"input", {"send", "{g}/random.txt", "--port", "none", "--page", "songs"}},
        {"input", {"flash", "empty.bin", "--port", "none"}},
        // diff exits as diff(1) does: 0 the same, 1 different, 2 trouble.
        {"diff", {"diff", "session.txt", "same.txt"}},
        {"diff", {"diff", "session.txt", "other.txt"}},
        {"diff", {"diff", "other.txt", "session.txt"}},
        {"diff", {"diff", "--json", "session.txt", "other.txt"}},
        {"diff", {"diff", "session.txt", "{g}/random.txt"}},
        {"diff", {"diff", "--json", "session.txt", "{g}/random.txt"}},
        {"diff", {"diff", "session.txt", "unknown.txt"}},
        {"diff", {"diff", "session.txt", "cut.txt"}},
        {"diff", {"diff", "session.txt", "missing.txt"}},
        {"diff", {"diff", "{d}", "session.txt"}},
        {"diff", {"diff", "legacy.txt", "session.txt"}},
        {"diff", {"diff", "legacy.txt", "legacy.txt", "--accept-legacy"}},
    };
    const QString here = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(files.d));
    QMap<QString, QString> transcripts;
    for (const auto &row : rows) {
        QStringList args;
        for (QString arg : row.args)
            args << arg.replace("{d}", files.d).replace("{g}", files.g);
        const ToolResult r = runTool(args);
        QString &text = transcripts[QLatin1String(row.transcript)];
        text += QStringList{"$ pedal-session", row.args.join(' ')}.join(' ').trimmed() + '\n';
        for (const auto &[stream, bytes] : {std::pair{"out", r.out}, std::pair{"err", r.err}})
            for (QString line :
                 Snapshot::shortened(QString::fromUtf8(bytes).split('\n', Qt::SkipEmptyParts), 40, 20, 10)) {
                line.replace('\r', "\\r");
                if (line.size() > 200)
                    line = Snapshot::shortened(CodePoints::split(line, 100), 2, 1, 0).join(QString());
                text += QStringLiteral("%1: %2\n").arg(QLatin1String(stream), line);
            }
        text += QStringLiteral("exit %1\n\n").arg(r.exitCode);
    }
    QDir::setCurrent(here);
    for (auto [name, text] : transcripts.asKeyValueRange()) {
        text.replace(files.d, "{d}").replace(files.g, "{g}").replace(PEDAL_VERSION, "{version}");
        EXPECT_TRUE(Snapshot::matches("transcripts/pedal-session-" + name + ".txt", text));
    }
}

TEST(SessionTool, CommandLines)
{
    const ToolFiles files;
    const QString &d = files.d, &g = files.g;
    const TempFiles &temp = files.temp;
    const DataHandler &session = files.session, &random = files.random, &next = files.next;
    const auto golden = [&g](const char *name) { return readFile(g + '/' + name).toUtf8(); };
    // Firmware images and the stand-in flashing tool first on PATH.
    for (const char *name : {"pedal.bin", "bad.bin"})
        temp.write(name, firmwareImage());
    writeFlashTool(d + "/bossac");
    qputenv("PATH", d.toLocal8Bit() + ':' + qgetenv("PATH"));
    qputenv("PEDAL_RESOURCES_DIR", (d + "/no-resources").toLocal8Bit());

    // A pedal, and one that answers two requests and then no more.
    PedalProcess pedal, tired;
    ASSERT_TRUE(pedal.start({"--log", d + "/pedal.log"}));
    ASSERT_TRUE(tired.start({"--answer-limit", "2"}));
    const QString here = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(d) && QFile::link(pedal.device(), "mypedal"));

    const QByteArray sessionForm = fileForm(session).toUtf8();
    const char *pieceLog = "  transfer  send of the Global Settings page started: 214 characters in 1 piece\n";
    const struct
    {
        QStringList args; // {d} the scratch and current folder, {g} the golden files, {p} and {t} the pedals
        int exit;
        std::optional<QByteArray> out;
        const char *has = nullptr;         // a part of the messages
        QString file = {};                 // a file the command writes, or must not write
        const DataHandler *same = nullptr; // the store the file holds, as far as the pedal carries it
        std::optional<QByteArray> fileIs = {};
    } rows[] = {
        {{"new", "-o", "new.txt"}, 0, "", nullptr, "new.txt", nullptr, golden("factory.txt")},
        {{"open", "{d}/session.txt", "-o", "open.txt"}, 0, "", nullptr, "open.txt", nullptr, sessionForm},
        // Refused input: one line, nothing written, nothing replaced.
        {{"open", "damaged.txt", "-o", "keep.txt"}, 1, {}, "song 3 has the tempo 0", "keep.txt", nullptr, "precious"},
        {{"open", "{d}/legacy.txt", "-o", "l.txt"}, 1, {}, "--accept-legacy", "l.txt"},
        {{"open", "cut.txt", "-o", "x"}, 1, {}, ": cut.txt: the file ends in the middle of the key LibraryV", "x"},
        {{"json", "{d}/session.txt", "-o", "x.json"}, 2, {}, nullptr, "x.json"},
        // Through the pedals: a port that cannot be opened, each page sent and received
        // on its own onto the one before, loads that time out, Send Changes, firmware.
        {{"receive", "--port", "{d}/none", "--page", "songs", "-o", "x"}, 1, {}, "{d}/none", "x"},
        // A port is the path given (here a link in the current folder).
        {{"send", "{g}/random.txt", "--port", "mypedal", "--page", "setlist"}, 0, "", "in 1 piece\n"},
        // The pedal log on standard error; a log that cannot be written stops before the port.
        {{"send", "{g}/random.txt", "--port", "{p}", "--page", "global", "--log", "-"}, 0, "", pieceLog},
        {{"send", "{g}/random.txt", "--port", "{p}", "--page", "setlist", "--log", "{d}/no/x.log"}, 1, {}, "the log"},
        // The time-out counts beyond the seconds the paced pieces take.
        {{"send", "{g}/random.txt", "--port", "{p}", "--page", "songs", "--timeout", "2"}, 0, ""},
        {{"send", "{g}/random.txt", "--port", "{p}", "--page", "setjacks"}, 0, ""},
        {{"send", "{g}/random.txt", "--port", "{p}", "--page", "midi"}, 0, ""},
        {{"receive", "--port", "{p}", "--page", "setlist", "-o", "1"}, 0, ""},
        {{"receive", "--port", "{p}", "--page", "global", "--base", "1", "-o", "2"}, 0, ""},
        {{"receive", "--port", "{p}", "--page", "songs", "--base", "2", "-o", "3"}, 0, ""},
        {{"receive", "--port", "{p}", "--page", "setjacks", "--base", "3", "-o", "4"}, 0, ""},
        {{"receive", "--port", "{p}", "--page", "midi", "--base", "4", "-o", "5"}, 0, "", nullptr, "5", &random},
        {{"receive", "--port", "{t}", "--page", "all", "-o", "x", "--timeout", "1.5"}, 1, {}, "in 1.5 seconds", "x"},
        {{"receive", "--port", "{t}", "--page", "setlist", "-o", "x", "--timeout", "1"}, 1, {}, nullptr, "x"},
        {{"send", "{d}/next.txt", "--port", "{p}", "--changes-from", "{g}/random.txt"}, 0, "", "(Tempos)"},
        {{"send", "{d}/next.txt", "--port", "{p}", "--changes-from", "{d}/next.txt"}, 0, "", "nothing to send"},
        {{"receive", "--port", "{p}", "--page", "all", "-o", "back.txt"}, 0, "", nullptr, "back.txt", &next},
        {{"flash", "{d}/pedal.bin", "--port", "{p}"}, 0, "", "the firmware was written to the pedal on {p}"},
        // One line that says why, then the tool's last lines.
        {{"flash", "{d}/bad.bin", "--port", "{p}"}, 1, {}, "on {p} failed: bossac ended with exit status 1.\nErase"},
        {{"flash", "{d}/pedal.bin", "--port", "{d}/no"}, 1, {}, "failed: the pedal could not be restarted into its"},
    };
    const auto expand = [&](QString text) {
        return text.replace("{d}", d).replace("{g}", g).replace("{p}", pedal.device()).replace("{t}", tired.device());
    };
    for (const auto &row : rows) {
        QStringList args;
        for (const QString &arg : row.args)
            args << expand(arg);
        SCOPED_TRACE(args.join(' ').toStdString());
        const ToolResult r = runTool(args);
        EXPECT_EQ(r.exitCode, row.exit) << r.err.constData();
        if (row.out) {
            EXPECT_EQ(r.out, *row.out);
        }
        if (row.has) {
            EXPECT_TRUE((r.out + r.err).contains(expand(QString::fromUtf8(row.has)).toUtf8())) << r.err.constData();
        }
        const bool trouble = row.exit != 0;
        if (trouble) {
            EXPECT_TRUE(r.out.isEmpty());
        }
        EXPECT_FALSE(r.err.contains("touch of")) << "a pseudo-terminal takes the 1200-baud touch";
        EXPECT_FALSE(r.err.contains("load again")) << "the first line of a reason, not the window's advice";
        // One line for a failure and for a finished send, none for the rest (no port notes), besides
        // the warnings.
        if (row.exit != 2 && row.args.value(0) != "flash" && !row.args.contains("-")) {
            EXPECT_EQ(r.err.count('\n') - r.err.count(": warning: "),
                      trouble || (row.args.contains("--port") && row.args[0] == "send" && !row.exit) ? 1 : 0)
                << r.err.constData();
        }
        EXPECT_TRUE(r.err.isEmpty() || r.err.startsWith("pedal-session: ") || row.args.contains("-")
                    || row.args.isEmpty());
        if (row.file.isEmpty())
            continue;
        const QString file = expand(row.file);
        if (row.fileIs) {
            EXPECT_EQ(readFile(file).toUtf8(), *row.fileIs);
        }
        DataHandler back;
        if (row.same && openSessionFile(back, file)) {
            EXPECT_EQ(differingKeys(*row.same, back), QStringList());
        } else if (!row.fileIs) {
            EXPECT_FALSE(QFileInfo::exists(file)) << qPrintable(file);
        }
    }
    QDir::setCurrent(here);
    // Each command's help names the options of its synopsis in the manual page.
    static const QRegularExpression option("-(-[a-z-]+|o\\b)");
    const auto options = [](const QString &text) {
        QStringList out;
        for (auto m = option.globalMatch(text); m.hasNext();)
            out << m.next().captured();
        out.removeDuplicates(), out.sort();
        return out.join(' ');
    };
    const QString man = readFile(PEDAL_SOURCE_DIR "/docs/man/pedal-session.1.in").replace("\\-", "-");
    for (const char *name : {"new", "open", "json", "upload", "send", "receive", "flash", "diff"}) {
        QStringList manForms, helpForms; // the options of each form
        for (const QString &entry : man.section(".SH SYNOPSIS", 1).section(".SH", 0, 0).split(".br"))
            if (entry.trimmed().startsWith(".B pedal-session " + QString(name) + "\n"))
                manForms << options(entry);
        for (const QString &line : QString::fromUtf8(runTool({name, "--help"}).out).split('\n'))
            if (line.contains("pedal-session "))
                helpForms << options(line);
        EXPECT_EQ(manForms.join('|').toStdString(), helpForms.join('|').toStdString()) << name;
    }
    static const QRegularExpression kept(QStringLiteral("^\\w+(\\.(txt|bin|log))?$")); // no temporary files left
    for (const QString &name : QDir(d).entryList(QDir::Files | QDir::Hidden))
        EXPECT_TRUE(kept.match(name).hasMatch()) << qPrintable(name);
    const QByteArray log = readFile(d + "/pedal.log").toUtf8();
    EXPECT_EQ(log.count("upload applied: 1 key: Tempos"), 1);
    EXPECT_EQ(log.count("1200-baud touch"), 2);

    // What the pedal holds beyond the file's ranges (a stack row on channel 127) is
    // written as Save writes it, normalised, and named in one line.
    QByteArray channels = "]3;MidiStackMessageChannels]";
    for (int s = 0; s < DataHandler::StackCount; ++s)
        channels += QByteArray::number(s).rightJustified(3, '0') + (s ? "000" : "127") + QByteArray(27, '0');
    ASSERT_TRUE(writeFile(pedal.device(), channels + "\r\n;"));
    const ToolResult midi = runTool({"receive", "--port", pedal.device(), "--page", "midi", "-o", d + "/n.txt"});
    EXPECT_TRUE(midi.exitCode == 0 && midi.err.startsWith("pedal-session: normalised as Save does: Stack 1 (")
                && midi.err.count('\n') == 1);
    DataHandler saved;
    EXPECT_TRUE(openSessionFile(saved, d + "/n.txt") && fileForm(saved) == readFile(d + "/n.txt"));

    // A port held by another program (a pedal that no longer answers), by its name or a link.
    QProcess holder;
    startTool(holder, {"receive", "--port", tired.device(), "--page", "all", "--timeout", "60", "--log", d + "/held"});
    for (int i = 0; i < 300 && !readFile(d + "/held").contains("  opened "); ++i)
        QThread::msleep(50);
    ASSERT_TRUE(QFile::link(tired.device(), d + "/tired"));
    for (const QString &port : {tired.device(), d + "/tired"})
        EXPECT_EQ(runTool({"receive", "--port", port, "--page", "setlist"}).err,
                  "pedal-session: " + port.toUtf8() + ": the port is in use by another program\n");
    holder.terminate();
    EXPECT_EQ(finishTool(holder).exitCode, 143);
    EXPECT_EQ(pedal.stop(), 0);

    // A write that the system stops halfway (a full disk; here the file size limit) names
    // the system's reason and leaves no file.
    QProcess limited;
    limited.setChildProcessModifier([] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &size);
    });
    startTool(limited, {"new", "-o", d + "/limited.txt"});
    const ToolResult full = finishTool(limited);
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.err.endsWith("limited.txt: cannot be written: File too large\n")) << full.err.constData();
    EXPECT_FALSE(QFileInfo::exists(d + "/limited.txt"));

    // An output that is not a regular file (here a FIFO) is written into, not replaced.
    ASSERT_EQ(::mkfifo(QFile::encodeName(d + "/fifo").constData(), 0600), 0);
    QProcess cat;
    cat.start("cat", {d + "/fifo"});
    ASSERT_TRUE(cat.waitForStarted());
    EXPECT_EQ(runTool({"new", "-o", d + "/fifo"}).exitCode, 0);
    ASSERT_TRUE(cat.waitForFinished(30000));
    EXPECT_EQ(cat.readAllStandardOutput(), golden("factory.txt"));
    struct stat info
    {};
    ASSERT_EQ(::lstat(QFile::encodeName(d + "/fifo").constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}
