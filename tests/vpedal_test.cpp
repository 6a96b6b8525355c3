// The virtual pedal: what it makes of the bytes the editor writes, cut anywhere, and the
// programs end to end over pseudo-terminals.

#include "QtPrinters.h"
#include "tools/virtual-pedal/VirtualPedal.h"
#include "link/PedalCommands.h"
#include "ToolProcesses.h"

#include "RandomSession.h"
#include "Snapshot.h"

#include "model/CodePoints.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using namespace vpedal;

namespace {

struct Outcome
{
    int applied = 0;
    int refused = 0;
    QByteArray replies;
    QStringList changed; // pedal data that differs from the factory session
    QStringList log;     // without the upload pieces, whose cuts follow the chunks

    bool operator==(const Outcome &o) const
    {
        return applied == o.applied && refused == o.refused && replies == o.replies && changed == o.changed
            && log == o.log;
    }
    // Long lines and long replies as their beginnings with a hash of the rest.
    QString text() const
    {
        const auto cut = [](QString l) {
            l.replace('\r', "\\r").replace('\n', "\\n");
            return Snapshot::shortened(CodePoints::split(l, 60), 2, 1, 0).join(QString());
        };
        QStringList lines{
            QStringLiteral("applied %1, refused %2, changed: %3").arg(applied).arg(refused).arg(changed.join(' '))};
        for (const QString &l : QString::fromUtf8(replies).split("\r\n", Qt::SkipEmptyParts))
            lines << "reply: " + cut(l);
        lines = Snapshot::shortened(lines, 40, 20, 10);
        for (const QString &l : log)
            lines << "log: " + cut(l);
        return lines.join('\n') + '\n';
    }
    friend void PrintTo(const Outcome &o, std::ostream *os) { *os << '\n' << o.text().toStdString(); }
};

Outcome feed(const QByteArray &stream, const QList<qsizetype> &cuts)
{
    Outcome out;
    VirtualPedal pedal([&out](const QString &line) {
        if (!line.startsWith(QLatin1String("upload piece")))
            out.log << line;
    });
    qsizetype at = 0;
    for (qsizetype cut : cuts + QList<qsizetype>{stream.size()}) {
        out.replies += pedal.receive(stream.mid(at, cut - at));
        at = cut;
    }
    out.applied = pedal.counters().uploadsApplied;
    out.refused = pedal.counters().uploadsRefused;
    out.changed = keyNames(differingKeys(DataHandler(), pedal.session()));
    return out;
}

} // namespace

TEST(VirtualPedal, InputStreamsCutAnywhere)
{
    const auto digits = [](const char *field, int times) { return QByteArray(field).repeated(times); };
    const QByteArray tempos = "Tempos]" + digits("099", 128);
    const QByteArray upload = "]3;" + tempos + "\r\n;";
    // Stacks last to first, each with its position; message 1 of stack s on channel s % 16 + 1.
    // Then stacks first to last, message 2 of the first with a status number of no channel.
    QByteArray stacks = "MidiStackMessageChannels]", noChannel = stacks;
    for (int s = DataHandler::StackCount - 1; s >= 0; --s) {
        stacks += QByteArray::number(s).rightJustified(3, '0') + QByteArray::number(176 + s % 16) + digits("000", 9);
        noChannel +=
            QByteArray::number(127 - s).rightJustified(3, '0') + (s == 127 ? "000127" : "000000") + digits("000", 8);
    }
    const struct
    {
        const char *what;
        QByteArray stream;
    } rows[] = {
        {"greeting, bracket, unknown command, stray text, a load request", "]0;]12;]42;hello]5;"},
        {"every load request of every page", "]5;]14;]9;]10;]11;]13;]6;]7;]8;]15;"},
        {"stray bytes, blanks and broken codes around commands", "  \r\nxyz]8;\n]x;]1234567;\t]6;"},
        {"a long run of stray bytes, in blocks of 256", QByteArray(256, 'a') + QByteArray(300, 'b') + "]8;"},
        {"an upload with CRLF line ends, then a request", upload + "]5;"},
        {"an upload with LF line ends", "]3;" + tempos + "\n;"},
        {"an upload opened with a line end", "]3;\r\n" + tempos + "\r\n\r\n;"},
        {"a CR alone ends no line", "]3;" + tempos + "\rFontSizes]1\n;"},
        {"a ';' inside a line does not end the upload", "]3;" + tempos.left(20) + ";" + tempos.mid(20) + "\r\n;"},
        {"stack positions choose the stacks; the reply has none", "]3;" + stacks + "\r\n;]7;"},
        {"a stack position of no stack", "]3;" + QByteArray(stacks).replace(25, 3, "128") + "\r\n;"},
        {"a status number of no channel", "]3;" + noChannel + "\r\n;]7;"},
        {"an upload broken off mid-line, then a full one", "]3;Tempos]0990\r\n" + upload},
        {"broken off after a whole line by an empty upload", "]3;" + tempos + "\r\n]3;;"},
        {"the greeting inside a broken-off upload", "]3;Temp]0;\r\n" + upload},
        // A sender killed mid-line: a load is lost in its upload; a new upload abandons it.
        {"a new upload after one cut mid-line", "]3;Tempos]099]12;]6;" + upload},
        {"one field short", "]3;" + tempos + "\r\nFontSizes]" + digits("1", 127) + "\r\n;]8;"},
        {"not a digit", "]3;" + tempos + "\r\nFractions]" + digits("1", 127) + "x\r\n;"},
        {"an unknown key", "]3;" + tempos + "\r\nNoSuchKey]123\r\n;"},
        {"a line without \"]\"", "]3;" + tempos + "\r\njust some words\r\n;"},
        {"not UTF-8", "]3;" + tempos + "\r\nName]\xff\xfe" + digits("`", 3838) + "\r\n;"},
        {"a setlist of no such song", "]3;Setlist]" + digits("200", 128) + "\r\n;]6;"},
        {"a global block too short", "]3;Global]123\r\n;"},
        {"an oversized upload is refused and skipped", "]3;Name]" + QByteArray(5 << 20, 'a') + "\r\n;]8;"},
        {"previews, a name holding \";\"", "]1;007120312Hi;[You" + digits("`", 23) + ";]2;176007100;"},
        {"a name preview at its longest", "]1;007120312" + digits("a", 38) + ";"},
        {"a name preview too long", "]1;007120312" + digits("a", 39) + ";"},
        {"a stack preview", "]2;176007100;"},
        {"previews cut short by commands", "]2;17]6;]1;007]5;"},
        {"a factory reset undoes an upload", upload + "]4;]6;"},
    };
    QRandomGenerator random(5);
    QString text; // applied and refused uploads, changed keys, replies and log of each stream
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        const Outcome whole = feed(row.stream, {});
        text += QStringLiteral("== %1 ==\n").arg(QLatin1String(row.what)) + whole.text();
        // Cut at three random places, and byte by byte: the same outcome.
        QList<qsizetype> cuts{random.bounded(row.stream.size()), random.bounded(row.stream.size()),
                              random.bounded(row.stream.size())};
        std::sort(cuts.begin(), cuts.end());
        EXPECT_EQ(feed(row.stream, cuts), whole) << cuts[0] << ' ' << cuts[1] << ' ' << cuts[2];
        if (row.stream.size() < 20000) {
            QList<qsizetype> everyByte;
            for (qsizetype at = 1; at < row.stream.size(); ++at)
                everyByte << at;
            EXPECT_EQ(feed(row.stream, everyByte), whole) << "cut at every byte";
        }
    }
    EXPECT_TRUE(Snapshot::matches("transcripts/virtual-pedal-streams.txt", text));

    // After its answer limit the pedal reads requests and leaves them unanswered.
    VirtualPedal pedal;
    pedal.setAnswerLimit(1);
    EXPECT_FALSE(pedal.receive("]8;").isEmpty());
    EXPECT_TRUE(pedal.receive("]8;").isEmpty());

    // Each load request of the command table is answered as page data with its share of its
    // page's keys, any other command with nothing; the shares make up all the keys once.
    std::vector<int> answered;
    for (const PedalCommands::Command &command : PedalCommands::Table) {
        SCOPED_TRACE(command.words);
        QStringList keys;
        for (int k : PedalCommands::keysOfRequest(int(command.code)))
            keys << SessionKeys::at(k).key, answered.push_back(k);
        const QString reply = VirtualPedal().receive(PedalCommands::text(command.code).toLatin1());
        EXPECT_EQ(keysOf(reply), command.answered() ? QStringList{""} + keys + QStringList{";"} : keys);
    }
    std::sort(answered.begin(), answered.end());
    EXPECT_EQ(answered, SessionKeys::keysOfPage(SessionKeys::Page::All));
}

namespace {

// Waits (30 s at most, as a sanitised program may start slowly) for its handler of `signal`.
bool catches(const QProcess &process, int signal)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30000) {
        QFile file(QStringLiteral("/proc/%1/status").arg(process.processId()));
        if (file.open(QIODevice::ReadOnly))
            for (const QByteArray &line : file.readAll().split('\n'))
                if (line.startsWith("SigCgt:")
                    && ((line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1))
                    return true;
        QThread::msleep(20);
    }
    return false;
}

} // namespace

// A random session sent and received back over the pseudo-terminal, replies cut at random;
// transfers stopped from outside spoil nothing; the pedal saves its session when it ends.
TEST(VirtualPedal, SendAllAndLoadAllEndToEnd)
{
    TempFiles temp;
    DataHandler sent;
    RandomSession(31).fill(sent);
    for (const SongRef &song : sent.SongList) // a line's trailing blanks do not survive a reply
        song->UpdateName(song->FullName.endsWith(QLatin1Char(' ')) ? song->FullName.trimmed() : song->FullName);
    DataHandler expected;
    ASSERT_TRUE(openSessionFile(expected, temp.write("session.txt", fileForm(sent).toUtf8())));

    PedalProcess pedal;
    ASSERT_TRUE(pedal.start({"--save", temp.path("saved.txt"), "--link", temp.path("port"), "--random-chunks", "--seed",
                             "3", "--chunk-size", "97"}));
    EXPECT_EQ(QFileInfo(temp.path("port")).symLinkTarget(), pedal.device());
    const QStringList sendAll{"send", temp.path("session.txt"), "--port", temp.path("port"), "--page", "all"};
    {
        // SIGINT cancels a send as the editor's Cancel does (status 128 + 2); SIGTERM a load.
        QProcess send;
        startTool(send, sendAll + QStringList{"--log", temp.path("send.log")});
        ASSERT_TRUE(catches(send, SIGINT));
        QThread::msleep(2000); // the greeting, then a few pieces of the upload
        ::kill(pid_t(send.processId()), SIGINT);
        const ToolResult r = finishTool(send);
        EXPECT_EQ(r.exitCode, 130) << r.err.constData();
        EXPECT_TRUE(r.err.contains("SIGINT")) << r.err.constData();
        EXPECT_TRUE(readFile(temp.path("send.log")).contains("  upload    piece 1 of "));
        EXPECT_TRUE(readFile(temp.path("send.log")).contains("  sent      \\r\\n;\n")) << "the upload ended";
        // The pedal has left the upload: a load right after it is answered.
        const ToolResult setlist =
            runTool({"receive", "--port", temp.path("port"), "--page", "setlist", "--timeout", "5"});
        EXPECT_EQ(setlist.exitCode, 0) << setlist.err.constData();
        QProcess load;
        startTool(load, {"receive", "--port", pedal.device(), "--page", "midi", "-o", temp.path("never.txt")});
        ASSERT_TRUE(catches(load, SIGTERM));
        ::kill(pid_t(load.processId()), SIGTERM);
        EXPECT_EQ(finishTool(load).exitCode, 143);
    }
    const ToolResult send = runTool(sendAll);
    ASSERT_EQ(send.exitCode, 0) << send.err.constData();
    const ToolResult receive =
        runTool({"receive", "--port", pedal.device(), "--page", "all", "-o", temp.path("received.txt")});
    ASSERT_EQ(receive.exitCode, 0) << receive.err.constData();
    EXPECT_TRUE(receive.out.isEmpty());
    DataHandler back;
    ASSERT_TRUE(openSessionFile(back, temp.path("received.txt")));
    EXPECT_EQ(keyNames(differingKeys(expected, back)), QStringList());
    // Stack names, message names and the library never travel: the new session keeps its own.
    EXPECT_EQ(back.MidiStackList[3].Name, DataHandler().MidiStackList[3].Name);
    EXPECT_TRUE(back.MidiMessageLibrary.empty());
    // SIGTERM: a clean end, the pedal's session saved, the link removed.
    EXPECT_EQ(pedal.stop(), 0);
    EXPECT_FALSE(QFileInfo(temp.path("port")).isSymLink());
    DataHandler saved;
    ASSERT_TRUE(openSessionFile(saved, temp.path("saved.txt")));
    EXPECT_EQ(keyNames(differingKeys(expected, saved)), QStringList());
    EXPECT_FALSE(QFileInfo::exists(temp.path("never.txt")));

    // A pedal that goes away in the middle of a load that would wait 60 s: status 1 at once.
    PedalProcess silent;
    ASSERT_TRUE(silent.start({"--answer-limit", "0"}));
    QProcess load;
    startTool(load,
              {"receive", "--port", silent.device(), "--page", "all", "-o", temp.path("never.txt"), "--timeout", "60"});
    QThread::msleep(1500);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(silent.stop(), 0);
    const ToolResult lost = finishTool(load);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(lost.exitCode, 1);
    EXPECT_TRUE(lost.err.contains("disconnected")) << lost.err.constData();
    EXPECT_FALSE(QFileInfo::exists(temp.path("never.txt")));

    // SIGHUP right after the start ends the pedal cleanly too (a link that would replace a
    // file, or a log that cannot be written, is in the transcript virtual-pedal.txt).
    // Its line is raw before a client sets it: no echo, no line-end translation.
    PedalProcess hungUp;
    ASSERT_TRUE(hungUp.start({"--save", temp.path("hup.txt")}));
    termios line{};
    const int fd = ::open(QFile::encodeName(hungUp.device()).constData(), O_RDWR | O_NOCTTY);
    EXPECT_EQ(::tcgetattr(fd, &line), 0);
    EXPECT_EQ(line.c_lflag & (ECHO | ICANON), 0u);
    EXPECT_EQ(line.c_iflag & ICRNL, 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    ::close(fd);
    ::kill(pid_t(hungUp.pid()), SIGHUP);
    for (int i = 0; i < 200 && !QFileInfo::exists(temp.path("hup.txt")); ++i)
        QThread::msleep(50);
    EXPECT_TRUE(QFileInfo::exists(temp.path("hup.txt")));
}
