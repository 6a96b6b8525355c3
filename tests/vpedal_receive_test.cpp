// Receiving from the virtual pedal: each page sent and received on its own, replies cut
// at random, the pedal's factory reset, a pedal that stops answering, a port that cannot
// be opened.

#include "vpedal_support.h"

#include "link/PedalLink.h"
#include "link/QtScheduler.h"
#include "link/SerialHandler.h"
#include "model/ScriptedDialogs.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vpedal;

namespace {

class VirtualPedalReceive : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        sessionPath = dir.filePath(QStringLiteral("session.txt"));
        randomSession(original, 21);
        ASSERT_TRUE(writeSessionFile(original, sessionPath));
        ASSERT_TRUE(openSessionFile(expected, sessionPath));
    }

    ToolResult receive(const PedalProcess &pedal, const QString &page, const QString &out,
                       const QStringList &more = {})
    {
        return runTool(QStringList{QStringLiteral("receive"), QStringLiteral("--port"), pedal.device(),
                                   QStringLiteral("--page"), page, QStringLiteral("-o"), out}
                       + more);
    }

    QTemporaryDir dir;
    QString sessionPath;
    DataHandler original;
    DataHandler expected;
};

} // namespace

TEST_F(VirtualPedalReceive, EachPageSentAndReceivedOnItsOwn)
{
    PedalProcess pedal;
    ASSERT_TRUE(pedal.start({}));
    const QStringList pages = {QStringLiteral("setlist"), QStringLiteral("global"), QStringLiteral("songs"),
                               QStringLiteral("setjacks"), QStringLiteral("midi")};
    for (const QString &page : pages) {
        const ToolResult sent = runTool({QStringLiteral("send"), sessionPath, QStringLiteral("--port"),
                                         pedal.device(), QStringLiteral("--page"), page});
        ASSERT_EQ(sent.exitCode, 0) << qPrintable(page) << ": " << qPrintable(sent.err);
    }
    // Each receive starts from the result of the one before; after the first only the
    // setlist has arrived.
    QString base;
    for (const QString &page : pages) {
        const QString out = dir.filePath(page + QStringLiteral(".txt"));
        const ToolResult r = receive(pedal, page, out, base.isEmpty() ? QStringList() : QStringList{"--base", base});
        ASSERT_EQ(r.exitCode, 0) << qPrintable(page) << ": " << qPrintable(r.err);
        if (base.isEmpty()) {
            DataHandler partial;
            ASSERT_TRUE(openSessionFile(partial, out));
            EXPECT_EQ(differingKeys(DataHandler(), partial), QStringList({QStringLiteral("Setlist")}));
        }
        base = out;
    }
    DataHandler back;
    ASSERT_TRUE(openSessionFile(back, base));
    EXPECT_EQ(differingKeys(expected, back), QStringList());
    EXPECT_EQ(pedal.stop(), 0);
}

TEST_F(VirtualPedalReceive, RepliesCutAtRandomArriveWhole)
{
    for (int seed : {1, 2, 3}) {
        PedalProcess pedal;
        ASSERT_TRUE(pedal.start({QStringLiteral("--session"), sessionPath, QStringLiteral("--random-chunks"),
                                 QStringLiteral("--seed"), QString::number(seed), QStringLiteral("--chunk-size"),
                                 QStringLiteral("97")}));
        const QString out = dir.filePath(QStringLiteral("received-%1.txt").arg(seed));
        const ToolResult r = receive(pedal, QStringLiteral("all"), out);
        ASSERT_EQ(r.exitCode, 0) << "seed " << seed << ": " << qPrintable(r.err);
        DataHandler back;
        ASSERT_TRUE(openSessionFile(back, out));
        EXPECT_EQ(differingKeys(expected, back), QStringList()) << "seed " << seed;
        EXPECT_EQ(pedal.stop(), 0);
    }
}

TEST_F(VirtualPedalReceive, SinglePageWithSmallFixedChunksOntoABase)
{
    PedalProcess pedal;
    ASSERT_TRUE(pedal.start({QStringLiteral("--session"), sessionPath, QStringLiteral("--chunk-size"),
                             QStringLiteral("5")}));
    const QString out = dir.filePath(QStringLiteral("global.txt"));
    // The base keeps everything that the Global Settings page does not carry.
    const ToolResult r = receive(pedal, QStringLiteral("global"), out, {QStringLiteral("--base"), sessionPath});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    DataHandler back;
    ASSERT_TRUE(openSessionFile(back, out));
    EXPECT_EQ(differingKeys(expected, back), QStringList());
    EXPECT_EQ(back.MidiMessageLibrary.size(), expected.MidiMessageLibrary.size());
    EXPECT_EQ(back.MidiStackList[9].Name, expected.MidiStackList[9].Name);
}

TEST_F(VirtualPedalReceive, FactoryResetFromTheEditorsCommand)
{
    PedalProcess pedal;
    ASSERT_TRUE(pedal.start({QStringLiteral("--session"), sessionPath}));
    {
        // The window's factory reset: confirmation "Ok", then "]4;".
        ScriptedDialogs dialogs;
        QtScheduler scheduler;
        SerialHandler serial(dialogs, scheduler);
        ASSERT_TRUE(serial.openPort(pedal.device()));
        DataHandler store;
        PedalLink link(serial, store, dialogs, scheduler);
        link.factoryResetPedal();
        EXPECT_TRUE(dialogs.messages().contains(QStringLiteral("About to factory reset")));
        QEventLoop settle;
        QTimer::singleShot(300, &settle, &QEventLoop::quit);
        settle.exec();
        serial.closePort();
    }
    const QString out = dir.filePath(QStringLiteral("after-reset.txt"));
    const ToolResult r = receive(pedal, QStringLiteral("all"), out, {QStringLiteral("--base"), sessionPath});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    DataHandler back;
    ASSERT_TRUE(openSessionFile(back, out));
    EXPECT_EQ(differingKeys(DataHandler(), back), QStringList());
}

TEST_F(VirtualPedalReceive, APedalThatStopsAnsweringWritesNothing)
{
    // Answers the first two requests of the chain, then nothing more.
    PedalProcess pedal;
    ASSERT_TRUE(pedal.start({QStringLiteral("--session"), sessionPath, QStringLiteral("--answer-limit"),
                             QStringLiteral("2")}));
    const QString out = dir.filePath(QStringLiteral("never.txt"));
    ToolResult r = receive(pedal, QStringLiteral("all"), out, {QStringLiteral("--timeout"), QStringLiteral("1.5")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("did not answer"))) << qPrintable(r.err);
    EXPECT_FALSE(QFileInfo::exists(out));

    // A single load that gets no answer at all.
    r = receive(pedal, QStringLiteral("setlist"), out, {QStringLiteral("--timeout"), QStringLiteral("1")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_EQ(pedal.stop(), 0);
}

TEST_F(VirtualPedalReceive, APortThatCannotBeOpened)
{
    const QString missing = dir.filePath(QStringLiteral("no-such-port"));
    const QString out = dir.filePath(QStringLiteral("never.txt"));
    ToolResult r = runTool({QStringLiteral("receive"), QStringLiteral("--port"), missing, QStringLiteral("--page"),
                            QStringLiteral("songs"), QStringLiteral("-o"), out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(missing)) << qPrintable(r.err);
    EXPECT_FALSE(QFileInfo::exists(out));
    r = runTool({QStringLiteral("send"), sessionPath, QStringLiteral("--port"), missing, QStringLiteral("--page"),
                 QStringLiteral("songs")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(missing)) << qPrintable(r.err);
    // Usage errors are told apart.
    r = runTool({QStringLiteral("receive"), QStringLiteral("--port"), missing, QStringLiteral("--page"),
                 QStringLiteral("everything")});
    EXPECT_EQ(r.exitCode, 2);
}

TEST_F(VirtualPedalReceive, TheLinkNeverReplacesAFile)
{
    const QString taken = dir.filePath(QStringLiteral("taken"));
    ASSERT_TRUE(writeSessionFile(original, taken));
    const qint64 size = QFileInfo(taken).size();
    PedalProcess pedal;
    EXPECT_FALSE(pedal.start({QStringLiteral("--link"), taken}));
    EXPECT_EQ(pedal.stop(), 1);
    EXPECT_FALSE(QFileInfo(taken).isSymLink());
    EXPECT_EQ(QFileInfo(taken).size(), size);
}
