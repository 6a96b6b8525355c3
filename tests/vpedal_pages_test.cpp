// Page by page: each page sent on its own to the virtual pedal, then each page loaded
// back on its own, gives the whole session's pedal data.

#include "vpedal_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vpedal;

TEST(VirtualPedalPages, EachPageSentAndReceivedOnItsOwn)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString sessionPath = dir.filePath(QStringLiteral("session.txt"));
    DataHandler original;
    randomSession(original, 11);
    ASSERT_TRUE(writeSessionFile(original, sessionPath));
    DataHandler expected;
    ASSERT_TRUE(openSessionFile(expected, sessionPath));

    PedalProcess pedal;
    ASSERT_TRUE(pedal.start({}));
    const QStringList pages = {QStringLiteral("setlist"), QStringLiteral("global"), QStringLiteral("songs"),
                               QStringLiteral("setjacks"), QStringLiteral("midi")};
    for (const QString &page : pages) {
        const ToolResult sent = runTool({QStringLiteral("send"), sessionPath, QStringLiteral("--port"),
                                         pedal.device(), QStringLiteral("--page"), page});
        ASSERT_EQ(sent.exitCode, 0) << qPrintable(page) << ": " << qPrintable(sent.err);
    }

    // Each receive starts from the result of the one before.
    QString base;
    for (const QString &page : pages) {
        const QString out = dir.filePath(page + QStringLiteral(".txt"));
        QStringList args = {QStringLiteral("receive"), QStringLiteral("--port"), pedal.device(),
                            QStringLiteral("--page"), page, QStringLiteral("-o"), out};
        if (!base.isEmpty())
            args << QStringLiteral("--base") << base;
        const ToolResult received = runTool(args);
        ASSERT_EQ(received.exitCode, 0) << qPrintable(page) << ": " << qPrintable(received.err);
        base = out;

        // Only the keys of the pages received so far have arrived.
        DataHandler partial;
        ASSERT_TRUE(openSessionFile(partial, out));
        if (page == QLatin1String("setlist")) {
            EXPECT_EQ(differingKeys(DataHandler(), partial), QStringList({QStringLiteral("Setlist")}));
        }
    }
    DataHandler back;
    ASSERT_TRUE(openSessionFile(back, base));
    EXPECT_EQ(differingKeys(expected, back), QStringList());
    EXPECT_EQ(pedal.stop(), 0);
}
