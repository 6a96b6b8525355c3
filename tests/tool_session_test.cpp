// pedal-session run as a process: one table of command lines, walked in order, with their
// exit status (usage errors 2), output or file written, and sessions through the virtual pedal.
#include "QtPrinters.h"
#include "FlashTool.h"
#include "RandomSession.h"
#include "SetlistPdf.h"
#include "ScopedEnvironment.h"
#include "Snapshot.h"
#include "ToolProcesses.h"

#include "PedalVersion.h"
#include "model/CodePoints.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
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
        // Setlist steps: a song appended, Move Down (two positions swapped).
        DataHandler appended, swapped;
        EXPECT_TRUE(openSessionFile(appended, d + "/session.txt"));
        EXPECT_TRUE(openSessionFile(swapped, d + "/session.txt"));
        appended.insertSongIntoSetlist(0, DataHandler::SongCount);
        swapped.moveSetlistEntryDown(2);
        temp.write("appended.txt", fileForm(appended).toUtf8());
        temp.write("swapped.txt", fileForm(swapped).toUtf8());
        temp.write("empty.bin", {});
        // A setlist of three entries (one song twice): a name with a line break and a comma,
        // one with the signs Markdown marks up with, a stack name with quotes and a comma,
        // every jack mode of the last column.
        DataHandler planted;
        Song &riff = *planted.SongList[2], &signs = *planted.SongList[4];
        riff.UpdateName(QStringLiteral("Intro\nVerse, Chorus"));
        riff.UpdateTempo(87);
        signs.UpdateName(QStringLiteral("|a*b~c| <x> #1"));
        signs.UpdateTempo(300);
        signs.JackOne = signs.JackTwo = signs.JackThree = 3;
        signs.JackFour = 2;
        planted.MidiStackList[2].Name = QStringLiteral("Say \"Hi\", all | *b_d*");
        planted.Setlist = {planted.SongList[2], planted.SongList[4], planted.SongList[2]};
        temp.write("planted.txt", fileForm(planted).toUtf8());
        temp.write("nolist.txt", "Setlist]" + QByteArray("255").repeated(128) + "\r\n");
        // For check: four named songs in the setlist, nothing to mend; then a fault of each
        // kind; then no setlist at all.
        DataHandler clean;
        clean.Setlist.clear();
        for (int p = 0; p < 4; ++p) {
            clean.SongList[size_t(p)]->UpdateName(QStringLiteral("Tune %1").arg(p + 1));
            clean.SongList[size_t(p)]->UpdateTempo(100 + p);
            clean.Setlist.push_back(clean.SongList[size_t(p)]);
        }
        temp.write("clean.txt", fileForm(clean).toUtf8());
        Song &one = *clean.SongList[0], &two = *clean.SongList[1], &three = *clean.SongList[2];
        clean.Setlist.push_back(clean.SongList[1]);
        clean.Setlist.push_back(clean.SongList[6]);
        clean.SongList[3]->UpdateName(QStringLiteral("tune\n1"));
        three.FootTAPFunction = 11;
        three.FootTAPStack = 9;
        one.JackOne = 3;
        two.JackTwo = 2;
        two.Jack2TipHOLDFunction = 9;
        two.Jack2TipHOLDPreset = 49;
        clean.SongList[4]->UpdateName(QStringLiteral("Spare"));
        temp.write("faults.txt", fileForm(clean).toUtf8());
        clean.Setlist.clear();
        temp.write("nosetlist.txt", fileForm(clean).toUtf8());
        // Songs as CSV: a value refused, a name refused, a column ignored; no Number column.
        temp.write("songs.csv", "Number,Tempo,Name,Notes\r\n3,305,Fine,x\r\n4,97,Bad_name,y\r\n");
        temp.write("nonumber.csv", "Name\nA\n");
    }
};

namespace {

// Runs pedal-session with each command line of `rows` ("|" between them, " " between the
// arguments; "# ..." a heading) with the `names` put in, and returns what each printed
// (lines of over 200 characters as their first 100 and a hash) and its exit status, with
// the names put back. `also` adds what a command line left behind.
QString run(const QString &rows, QList<std::pair<QString, QString>> names,
            const std::function<QString(const QStringList &)> &also = {})
{
    std::sort(names.begin(), names.end(), [](auto &a, auto &b) { return a.second.size() > b.second.size(); });
    QString text;
    for (const QString &row : rows.split('|')) {
        if (row.startsWith('#')) {
            text += "== " + row.mid(2) + " ==\n";
            continue;
        }
        QString line = row;
        for (const auto &[name, path] : names)
            line.replace(name, path);
        const QStringList args = line.split(' ', Qt::SkipEmptyParts);
        const ToolResult r = runTool(args);
        text += (row.startsWith("virtual-pedal") ? "$ " + row : "$ pedal-session " + row).trimmed() + '\n';
        for (const auto &[stream, bytes] : {std::pair{"out", r.out}, std::pair{"err", r.err}})
            for (QString l :
                 Snapshot::shortened(QString::fromUtf8(bytes).split('\n', Qt::SkipEmptyParts), 40, 20, 10)) {
                l.replace('\r', "\\r");
                if (l.size() > 200)
                    l = Snapshot::shortened(CodePoints::split(l, 100), 2, 1, 0).join(QString());
                text += QStringLiteral("%1: %2\n").arg(QLatin1String(stream), l);
            }
        text += QStringLiteral("exit %1\n").arg(r.exitCode) + (also ? also(args) : QString()) + '\n';
    }
    for (const auto &[name, path] : names)
        text.replace(path, name);
    return text;
}

} // namespace

// What pedal-session prints, for each command line, compared with the reviewed transcripts
// under tests/data/transcripts/: its help, every usage error, the session in each form,
// refused and damaged input, and diff in both forms. Run in the scratch folder "{d}".
TEST(SessionTool, PrintsWhatWasReviewed)
{
    const ToolFiles files;
    const std::pair<const char *, QString> transcripts[] = {
        {"pedal-session-help",
         "--help|--version|new -h|open --help|json --help|upload --help|send --help|receive --help|"
         "watch --help|flash --help|diff --help|setlist --help|check --help"},
        {"pedal-session-usage",
         "|frobnicate|new extra|new -o|open|open session.txt session.txt|open session.txt --bogus|json|"
         "upload session.txt|upload session.txt --page bogus|upload --page all|diff|diff session.txt|"
         "diff session.txt session.txt session.txt|diff session.txt session.txt --bogus|"
         "send session.txt --port none --changes-from session.txt --page all|"
         "send session.txt --port none --changes-from|send session.txt --page all|"
         "receive --port none --page everything|"
         // "nan" passes a test written as "<= 0 or > 3600".
         "receive --port none --page all --timeout nan|receive --port none --page all --timeout 0|"
         "flash pedal.bin|watch|watch session.txt|watch session.txt --port none --page all"},
        // The file, JSON and upload forms, of the golden sessions and of the older layout;
        // unknown keys are told, one line each, and the file is read.
        {"pedal-session-output",
         "new|open {g}/random.txt|json {g}/random.txt|upload {g}/random.txt --page songs|"
         "upload {g}/random.txt --page setjacks|upload {g}/random.txt --page setlist|"
         "upload {g}/random.txt --page midi|upload {g}/random.txt --page global|"
         "upload {g}/random.txt --page all|json legacy.txt --accept-legacy|"
         "upload legacy.txt --page all --accept-legacy|open unknown.txt"},
        // Refused input: one line that says why, nothing on standard output.
        {"pedal-session-input",
         "open lf.txt|open {d}/missing.txt|upload damaged.txt --page all|upload legacy.txt --page all|"
         "open image|open cut.txt|json cut.txt|receive --port keep.txt --page global|"
         "send {g}/random.txt --port none --page songs|flash empty.bin --port none|"
         "watch damaged.txt --port none|watch session.txt --port none --base cut.txt|watch session.txt --port none"},
        // diff exits as diff(1) does: 0 the same, 1 different, 2 trouble. The setlist: a
        // song inserted, removed, appended, two positions swapped, anything else.
        {"pedal-session-diff",
         "diff session.txt same.txt|diff session.txt other.txt|diff other.txt session.txt|"
         "diff --json session.txt other.txt|diff session.txt {g}/random.txt|"
         "diff --json session.txt {g}/random.txt|diff session.txt unknown.txt|diff session.txt cut.txt|"
         "diff session.txt missing.txt|diff {d} session.txt|diff legacy.txt session.txt|"
         "diff legacy.txt legacy.txt --accept-legacy|diff session.txt appended.txt|diff session.txt swapped.txt|"
         "diff --json session.txt swapped.txt|diff swapped.txt appended.txt"},
        // The setlist in each form; its usage errors (2) and files it cannot read or write (1).
        {"pedal-session-setlist",
         "setlist {g}/factory.txt|setlist planted.txt|setlist planted.txt --format csv|"
         "setlist planted.txt --format markdown|setlist {g}/random.txt --format csv|setlist {g}/random.txt|"
         "setlist {g}/random.txt --format markdown|setlist nolist.txt|setlist nolist.txt --format csv|setlist|"
         "setlist planted.txt --format bogus|setlist planted.txt --format pdf|setlist planted.txt --layout compact|"
         "setlist planted.txt --format pdf -o x.pdf --layout bogus|setlist missing.txt|"
         "setlist damaged.txt --format csv|setlist planted.txt --format markdown -o {d}/no/x.md|"
         "setlist planted.txt --format pdf -o {d}/no/x.pdf"},
        // check: a fault of each kind, in words and as JSON; 0 clean, 1 findings, 2 trouble.
        {"pedal-session-check",
         "check clean.txt|check faults.txt|check --json faults.txt|check nosetlist.txt|check {g}/factory.txt|"
         "check {g}/random.txt|check damaged.txt|check missing.txt|check|check clean.txt faults.txt|"
         "check clean.txt --bogus"},
        // The songs as CSV and back: status 1 when values are refused, OUT written with the rest.
        {"pedal-session-songs",
         "songs --help|import-songs --help|songs|songs session.txt --tsv|import-songs session.txt|"
         "songs session.txt|songs session.txt --csv -o s.csv|import-songs session.txt s.csv -o back.txt|"
         "diff session.txt back.txt|import-songs session.txt songs.csv -o out.txt|diff session.txt out.txt|"
         "import-songs session.txt nonumber.csv -o keep.txt|import-songs session.txt missing.csv|"
         "import-songs damaged.txt songs.csv"},
        // The virtual pedal's help and every option it refuses, before it opens a terminal
        // (2) or after (1).
        {"virtual-pedal",
         "virtual-pedal --help|virtual-pedal --help-all|virtual-pedal --version|virtual-pedal extra|virtual-pedal "
         "--bogus|"
         "virtual-pedal --chunk-size 0|virtual-pedal --chunk-size x|virtual-pedal --random-chunks --seed x|"
         "virtual-pedal --random-chunks --seed 99999999999|virtual-pedal --answer-limit -1|"
         "virtual-pedal --log {d}/no/x.log|virtual-pedal --session missing.txt|virtual-pedal --session image|"
         "virtual-pedal --session damaged.txt|virtual-pedal --link keep.txt"},
    };
    const QString here = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(files.d));
    for (const auto &[name, rows] : transcripts) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(Snapshot::matches(
            QStringLiteral("transcripts/%1.txt").arg(name),
            run(rows,
                {{"{d}", files.d}, {"{g}", files.g}, {"{version}", PEDAL_VERSION}, {"{bin}", PEDAL_BINARY_DIR}})));
    }
    QDir::setCurrent(here);
}

// The setlist as a PDF from the command line, with no display and no platform given: each
// layout of the planted and of a randomised session holds every entry in order, on A4, or
// on Letter in a locale that measures in US units; an empty setlist has its one page.
TEST(SessionTool, SetlistPdfNeedsNoDisplay)
{
    const ToolFiles files;
    const struct
    {
        QString file;
        const char *layout, *locale, *pageSize;
    } rows[] = {{files.d + "/planted.txt", "stage", "C", "A4"},
                {files.d + "/planted.txt", "compact", "en_US", "letter"},
                {files.g + "/random.txt", "stage", "en_US", "letter"},
                {files.g + "/random.txt", "compact", "C", "A4"},
                {files.d + "/nolist.txt", "compact", "C", "A4"}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.layout);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANG", "LC_MEASUREMENT"})
            env.remove(name);
        env.insert("LC_ALL", row.locale);
        QProcess tool;
        tool.setProcessEnvironment(env);
        const QString out = files.d + "/out.pdf";
        startTool(tool, {"setlist", row.file, "--format", "pdf", "--layout", row.layout, "-o", out});
        const ToolResult r = finishTool(tool);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.err, "");
        DataHandler store;
        ASSERT_TRUE(openSessionFile(store, row.file));
        EXPECT_TRUE(holdsSetlist(out, SetlistSheet::rows(store), QFileInfo(row.file).fileName(),
                                 row.layout == QLatin1String("stage"), row.pageSize));
    }
}

// A pedal that goes away in the middle of a send: one line that says so, status 1.
TEST(SessionTool, APedalLostHalfwayIsToldInOneLine)
{
    PedalProcess pedal;
    TempFiles temp;
    ASSERT_TRUE(pedal.start({"--log", temp.path("pedal.log")}));
    QProcess send;
    startTool(send,
              {"send", PEDAL_SOURCE_DIR "/tests/data/golden/random.txt", "--port", pedal.device(), "--page", "all"});
    for (int i = 0; i < 300 && !readFile(temp.path("pedal.log")).contains("upload piece"); ++i)
        QThread::msleep(20);
    pedal.stop();
    const ToolResult r = finishTool(send);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(
        QString::fromUtf8(r.err),
        QStringLiteral("pedal-session: The pedal was disconnected (%1): the send to %1 was not finished: the pedal "
                       "did not get everything; send again\n")
            .arg(pedal.device()));
}

TEST(SessionTool, CommandLines)
{
    const ToolFiles files;
    const QString &d = files.d, &g = files.g;
    const DataHandler &session = files.session, &random = files.random, &next = files.next;
    const auto golden = [&g](const char *name) { return readFile(g + '/' + name).toUtf8(); };
    // Firmware images and the stand-in flashing tool first on PATH.
    for (const char *name : {"pedal.bin", "bad.bin"})
        files.temp.write(name, firmwareImage());
    writeFlashTool(d + "/bossac");
    const ScopedEnvironment path("PATH", d.toLocal8Bit() + ':' + qgetenv("PATH"));
    const ScopedEnvironment resources("PEDAL_RESOURCES_DIR", (d + "/no-resources").toLocal8Bit());

    // A pedal, and one that answers two requests and then no more.
    PedalProcess pedal, tired;
    ASSERT_TRUE(pedal.start({"--log", d + "/pedal.log"}));
    ASSERT_TRUE(tired.start({"--answer-limit", "2"}));
    const QString here = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(d));
    ASSERT_TRUE(QFile::link(pedal.device(), "mypedal"));

    // Command lines ("|" between them; "#" a heading) with what each prints, its exit status
    // and what the file after "-o" holds. {d} is the scratch and current folder, {g} the golden
    // files, {p} and {t} the pedals.
    const QString rows = QStringLiteral(
        "# written|new -o new.txt|open {d}/session.txt -o open.txt|"
        "# refused input: one line, nothing written, nothing replaced|open damaged.txt -o keep.txt|"
        "open {d}/legacy.txt -o l.txt|open cut.txt -o x|json {d}/session.txt -o x.json|"
        "# a port that cannot be opened; a port is the path given (here a link)|"
        "receive --port {d}/none --page songs -o x|send {g}/random.txt --port mypedal --page setlist|"
        "# the log on standard error; a log that cannot be written stops before the port|"
        "send {g}/random.txt --port {p} --page global --log -|"
        "send {g}/random.txt --port {p} --page setlist --log {d}/no/x.log|"
        "# each page sent, then received onto the one before (the time-out counts beyond the paced "
        "pieces)|send {g}/random.txt --port {p} --page songs --timeout 2|"
        "send {g}/random.txt --port {p} --page setjacks|send {g}/random.txt --port {p} --page midi|"
        "receive --port {p} --page setlist -o 1|receive --port {p} --page global --base 1 -o 2|"
        "receive --port {p} --page songs --base 2 -o 3|receive --port {p} --page setjacks --base 3 -o 4|"
        "receive --port {p} --page midi --base 4 -o 5|# loads that time out|"
        "receive --port {t} --page all -o x --timeout 1.5|receive --port {t} --page setlist -o x --timeout 1|"
        "# send changes|send {d}/next.txt --port {p} --changes-from {g}/random.txt|"
        "send {d}/next.txt --port {p} --changes-from {d}/next.txt|receive --port {p} --page all -o back.txt|"
        "# firmware; a failure says why, then the tool's last lines|flash {d}/pedal.bin --port {p}|"
        "flash {d}/bad.bin --port {p}|flash {d}/pedal.bin --port {d}/no");
    // A file written is shown as the file it equals, or as the keys its data for the pedal
    // differs in from the random session and from its changed copy.
    const std::pair<const char *, QByteArray> forms[] = {{"the golden factory.txt", golden("factory.txt")},
                                                         {"session.txt opened", fileForm(session).toUtf8()},
                                                         {"untouched", "precious"}};
    const auto describe = [&](const QString &file) -> QString {
        const auto differing = [](const DataHandler &a, const DataHandler &b) {
            return Snapshot::shortened(keyNames(differingKeys(a, b)), 6, 3, 2).join(' ');
        };
        DataHandler back;
        for (const auto &[name, bytes] : forms)
            if (QFileInfo::exists(file) && readFile(file).toUtf8() == bytes)
                return name;
        if (!QFileInfo::exists(file) || !openSessionFile(back, file))
            return QFileInfo::exists(file) ? "unreadable" : "not written";
        return "differs from random.txt in: " + differing(random, back)
            + "; from next.txt in: " + differing(next, back);
    };
    const QList<std::pair<QString, QString>> names = {
        {"{d}", d}, {"{g}", g}, {"{p}", pedal.device()}, {"{t}", tired.device()}};
    QString text = run(rows, names, [&](const QStringList &args) {
        const QString file = args.value(args.indexOf("-o") + 1);
        return args.contains("-o") ? file + ": " + describe(file) + '\n' : QString();
    });
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
    for (const char *name : {"new", "open", "json", "upload", "send", "receive", "watch", "flash", "diff", "setlist",
                             "check", "songs", "import-songs"}) {
        SCOPED_TRACE(name);
        QStringList manForms, helpForms; // the options of each form
        for (const QString &entry : man.section(".SH SYNOPSIS", 1).section(".SH", 0, 0).split(".br"))
            if (entry.trimmed().startsWith(".B pedal-session " + QString(name) + "\n"))
                manForms << options(entry);
        for (const QString &line : QString::fromUtf8(runTool({name, "--help"}).out).split('\n'))
            if (line.contains("pedal-session "))
                helpForms << options(line);
        EXPECT_EQ(manForms.join('|').toStdString(), helpForms.join('|').toStdString());
    }
    static const QRegularExpression kept(QStringLiteral("^\\w+(\\.(txt|bin|log|csv))?$")); // no temporary files left
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
    text += run("# normalised as Save does|receive --port {p} --page midi -o {d}/n.txt", names);
    DataHandler saved;
    EXPECT_TRUE(openSessionFile(saved, d + "/n.txt"));
    EXPECT_EQ(fileForm(saved), readFile(d + "/n.txt"));

    // A port held by another program (a pedal that no longer answers), by its name or a link.
    QProcess holder;
    startTool(holder, {"receive", "--port", tired.device(), "--page", "all", "--timeout", "60", "--log", d + "/held"});
    for (int i = 0; i < 300 && !readFile(d + "/held").contains("  opened "); ++i)
        QThread::msleep(50);
    ASSERT_TRUE(QFile::link(tired.device(), d + "/tired"));
    text += run("# held by another program|receive --port {t} --page setlist|receive --port {d}/tired --page setlist",
                names);
    text.replace(QRegularExpression("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}"), "{time}");
    EXPECT_TRUE(Snapshot::matches("transcripts/pedal-session-commands.txt", text));
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

// watch: a full send, then each save reaches the pedal as one upload of the keys it
// changed: a stack name only (nothing the pedal keeps) written in place, a tempo renamed
// over the file as the editor saves, a damaged save (told and skipped), a name and a global
// setting, and quick saves in a row. SIGINT ends it; with --base only what differs from BASE
// goes; a pedal that goes away ends it with status 1. The pedal then holds the file.
TEST(SessionTool, WatchSendsWhatEachSaveChanges)
{
    PedalProcess pedal;
    TempFiles temp;
    const QString log = temp.path("pedal.log"), file = temp.path("live.txt");
    ASSERT_TRUE(pedal.start({"--log", log, "--save", temp.path("held.txt")}));
    DataHandler s;
    ASSERT_TRUE(openSessionFile(s, PEDAL_SOURCE_DIR "/tests/data/golden/random.txt"));
    temp.write("live.txt", fileForm(s).toUtf8());
    QProcess watch;
    QString out, err;
    // Waits (generously: the build is slow) until `done` holds for the output so far.
    const auto until = [&](const std::function<bool()> &done) {
        for (int i = 0; i < 600 && !done(); ++i) {
            watch.waitForReadyRead(100);
            out += QString::fromUtf8(watch.readAllStandardOutput());
            err += QString::fromUtf8(watch.readAllStandardError());
        }
        return done();
    };
    const auto printed = [&](int lines) { return until([&] { return out.count('\n') >= lines; }); };
    const auto applied = [&] { return readFile(log).count("upload applied"); };
    // Saves the session: in place, or as a temporary file renamed over the file.
    const auto save = [&](bool rename) {
        QSaveFile f(file);
        if (!rename)
            temp.write("live.txt", fileForm(s).toUtf8());
        else
            EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(fileForm(s).toUtf8()) > 0 && f.commit());
    };
    startTool(watch, {"watch", file, "--port", pedal.device()});
    ASSERT_TRUE(until([&] { return out.count('\n') == 1 && applied() == 1; })) << qPrintable(err);
    s.MidiStackList[5].Name = "Renamed";
    save(false);
    ASSERT_TRUE(printed(2));
    s.SongList[7]->UpdateTempo(s.SongList[7]->Tempo == 97 ? 98 : 97);
    save(true);
    ASSERT_TRUE(printed(3));
    // In place after a rename: the watch follows the file now at the path.
    const QByteArray whole = fileForm(s).toUtf8();
    ASSERT_TRUE(writeFile(file, whole.left(whole.size() / 2)));
    ASSERT_TRUE(until([&] { return err.contains("cut short"); }));
    s.SongList[2]->UpdateName("Live Riff");
    s.GlobalMenu.MidiChannelOut = s.GlobalMenu.MidiChannelOut == 5 ? 6 : 5;
    save(false);
    ASSERT_TRUE(until([&] { return out.count('\n') == 4 && applied() == 3; }));
    // Two saves in a row, and a third while their upload (a name: 1.2 s) goes out: one
    // upload or more, each straight after the one before, each of its own keys only.
    const int uploads = applied();
    s.SongList[4]->UpdateName("Verse");
    save(true);
    s.moveSetlistEntryDown(2);
    save(false);
    ASSERT_TRUE(until([&] { return readFile(log).count("upload begins") > uploads; }));
    s.MidiStackList[3].MidiStackMessageList[0].Value = 64;
    save(false);
    const auto lastUploads = [&] {
        QStringList keys;
        for (const QString &line : readFile(log).split('\n').filter("upload applied").mid(uploads))
            keys << line.section(": ", 2).split(", ");
        return keys;
    };
    ASSERT_TRUE(until([&] { return lastUploads().size() >= 3; }));
    EXPECT_EQ(lastUploads().join(' ').toStdString(), "Name Setlist MidiStackMessageValues") << qPrintable(out);
    ::kill(pid_t(watch.processId()), SIGINT);
    const ToolResult stopped = finishTool(watch);
    EXPECT_EQ(stopped.exitCode, 130);
    out += QString::fromUtf8(stopped.out), err += QString::fromUtf8(stopped.err);
    out.replace(QRegularExpression(" in \\d+\\.\\d s\n"), " in {t} s\n");
    EXPECT_EQ(out.section('\n', 0, 3),
              "sent all pages in {t} s\nno changes to send\nsent 1 key (Tempos) in {t} s\n"
              "sent 2 keys (Name, Global) in {t} s");
    EXPECT_EQ(err.count("pedal-session: " + file + ": "), 1) << qPrintable(err);
    EXPECT_TRUE(
        err.endsWith("pedal-session: stopped by SIGINT: every save of " + file + " that could be read was sent\n"))
        << qPrintable(err);

    // BASE is what the pedal holds: only the tempo it differs in goes.
    temp.write("base.txt", fileForm(s).toUtf8());
    s.SongList[7]->UpdateTempo(s.SongList[7]->Tempo + 1);
    temp.write("live.txt", fileForm(s).toUtf8());
    out.clear(), err.clear();
    startTool(watch, {"watch", file, "--port", pedal.device(), "--base", temp.path("base.txt")});
    ASSERT_TRUE(printed(1));
    EXPECT_EQ(out.section(" in ", 0, 0), "sent 1 key (Tempos)");
    EXPECT_EQ(pedal.stop(), 0);
    const ToolResult lost = finishTool(watch);
    EXPECT_EQ(lost.exitCode, 1);
    EXPECT_EQ(err + QString::fromUtf8(lost.err),
              QStringLiteral("pedal-session: The pedal was disconnected (%1): every save of %2 that could be read was "
                             "sent\n")
                  .arg(pedal.device(), file));
    DataHandler held;
    ASSERT_TRUE(openSessionFile(held, temp.path("held.txt")));
    EXPECT_EQ(keyNames(differingKeys(held, s)), QStringList());
}
