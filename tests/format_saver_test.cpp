// Saving a text file through the save panel: atomic writes, the "txt" extension, a
// cancelled panel, a failed write, and a panel that completes later.
#include "format/TextFileSaver.h"
#include "model/Diagnostics.h"
#include "model/ScriptedDialogs.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(TextFileSaver, WritesUtf8AndAddsTheExtension)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ScriptedDialogs dialogs;
    dialogs.savePaths = {dir.filePath(QStringLiteral("session"))};
    QString written;
    TextFileSaver::saveThroughPanel(dialogs, QStringLiteral("Name]Caf\u00e9\r\n"), [&written](const QString &p) { written = p; });
    EXPECT_EQ(dialogs.savePanelsShown, 1);
    EXPECT_EQ(written, dir.filePath(QStringLiteral("session.txt")));
    EXPECT_EQ(contents(written), QByteArray("Name]Caf\xC3\xA9\r\n"));

    dialogs.savePaths = {dir.filePath(QStringLiteral("other.TXT"))};
    TextFileSaver::saveThroughPanel(dialogs, QStringLiteral("x"), [&written](const QString &p) { written = p; });
    EXPECT_EQ(written, dir.filePath(QStringLiteral("other.TXT")));
}

TEST(TextFileSaver, CancelWritesNothing)
{
    ScriptedDialogs dialogs; // no path: the user cancels
    QString written = QStringLiteral("unset");
    TextFileSaver::saveThroughPanel(dialogs, QStringLiteral("x"), [&written](const QString &p) { written = p; });
    EXPECT_TRUE(written.isEmpty());
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST(TextFileSaver, AFailedWriteIsReportedAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(TextFileSaver::writeAtomically(dir.filePath(QStringLiteral("no/such/dir/x.txt")), QStringLiteral("x")).isEmpty());

    const QString path = dir.filePath(QStringLiteral("kept.txt"));
    ASSERT_TRUE(TextFileSaver::writeAtomically(path, QStringLiteral("old")).isEmpty());
    EXPECT_EQ(contents(path), QByteArray("old"));
    ASSERT_TRUE(TextFileSaver::writeAtomically(path, QStringLiteral("new")).isEmpty());
    EXPECT_EQ(contents(path), QByteArray("new"));

    QStringList lines;
    const Diagnostics::Sink old = Diagnostics::setSink([&lines](const QString &l) { lines.append(l); });
    ScriptedDialogs dialogs;
    dialogs.savePaths = {dir.filePath(QStringLiteral("missing/x.txt"))};
    QString written = QStringLiteral("unset");
    TextFileSaver::saveThroughPanel(dialogs, QStringLiteral("x"), [&written](const QString &p) { written = p; });
    Diagnostics::setSink(old);
    EXPECT_TRUE(written.isEmpty());
    EXPECT_EQ(lines.size(), 1);
    EXPECT_EQ(dialogs.shown.size(), 1);
}

TEST(TextFileSaver, APanelThatCompletesLaterWritesTheTextOfItsStart)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ScriptedDialogs dialogs;
    dialogs.deferSaves = true;
    QString text = QStringLiteral("first");
    TextFileSaver::saveThroughPanel(dialogs, text);
    text = QStringLiteral("changed");
    ASSERT_TRUE(dialogs.hasPendingSave());
    dialogs.completePendingSave(dir.filePath(QStringLiteral("later.txt")));
    EXPECT_EQ(contents(dir.filePath(QStringLiteral("later.txt"))), QByteArray("first"));
}
