#include "link/LineFramer.h"

#include "model/Diagnostics.h"

#include <gtest/gtest.h>

TEST(LineFramer, CompleteLinesComeOutOneByOneAndTheTailWaits)
{
    LineFramer framer;
    EXPECT_TRUE(framer.feed("Tempos]120").isEmpty());
    EXPECT_EQ(framer.pendingBytes(), 10);
    EXPECT_EQ(framer.feed("095\r\n;\r\n]3\r\nFra"), QStringList({"Tempos]120095", ";", "]3"}));
    EXPECT_EQ(framer.feed("ctions]1\n"), QStringList({"Fractions]1"}));
    EXPECT_EQ(framer.pendingBytes(), 0);
}

TEST(LineFramer, MultiByteCharacterSplitAcrossChunksIsKept)
{
    LineFramer framer;
    const QByteArray line = QStringLiteral("Note]caf\u00e9\n").toUtf8();
    const qsizetype cut = line.indexOf('\xc3') + 1; // inside the two bytes of the e acute
    EXPECT_TRUE(framer.feed(line.left(cut)).isEmpty());
    EXPECT_EQ(framer.feed(line.mid(cut)), QStringList({QStringLiteral("Note]caf\u00e9")}));
}

TEST(LineFramer, InvalidUtf8LineIsDroppedAloneWithADiagnostic)
{
    QStringList diagnostics;
    auto previous = Diagnostics::setSink([&](const QString &l) { diagnostics.append(l); });
    LineFramer framer;
    const QStringList lines = framer.feed(QByteArray("]3\r\nTempos]\xff\xfe"
                                                     "120\r\n;\r\n"));
    Diagnostics::setSink(previous);
    EXPECT_EQ(lines, QStringList({"]3", ";"}));
    EXPECT_EQ(framer.droppedLines(), 1);
    ASSERT_EQ(diagnostics.size(), 1);
    EXPECT_TRUE(diagnostics[0].contains("UTF-8"));
}

TEST(LineFramer, OverlongLineIsDroppedUpToItsLineFeed)
{
    auto previous = Diagnostics::setSink([](const QString &) {});
    LineFramer framer;
    const QByteArray noise(LineFramer::MaxLineBytes / 2 + 1, 'x');
    EXPECT_TRUE(framer.feed(noise).isEmpty());
    EXPECT_TRUE(framer.feed(noise).isEmpty());
    EXPECT_EQ(framer.pendingBytes(), 0) << "the buffer does not keep growing";
    EXPECT_TRUE(framer.feed(noise).isEmpty());
    EXPECT_EQ(framer.feed("still noise\n;\n"), QStringList({";"}));
    Diagnostics::setSink(previous);
    EXPECT_EQ(framer.droppedLines(), 1);
}
