// Saving a text file through the save panel: atomic writes, the "txt" extension, a
// cancelled panel, a failed write, and a panel that completes later.
#include "format/BackupFolder.h"
#include "format/SessionReader.h"
#include "format/TextFileSaver.h"
#include "model/DataHandler.h"
#include "model/Diagnostics.h"
#include "model/ScriptedDialogs.h"

#include <QFile>
#include <QFileInfo>
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
    TextFileSaver::saveThroughPanel(dialogs, QStringLiteral("Name]Caf\u00e9\r\n"),
                                    [&written](const QString &p) { written = p; });
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
    EXPECT_FALSE(TextFileSaver::writeAtomically(dir.filePath(QStringLiteral("no/such/dir/x.txt")), QStringLiteral("x"))
                     .isEmpty());

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

// The backups folder: each backup is a whole session file named by time, reason and
// session; the newest 100 are kept, other files are left alone; a folder that cannot be
// made is an error text and nothing is written.
TEST(BackupFolderTest, WritesListsAndKeepsTheNewest)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("backups"));
    BackupFolder backups(folder);
    DataHandler store;
    store.SongList[4]->UpdateTempo(133);
    const QDateTime start(QDate(2024, 5, 1), QTime(14, 3, 7, 412));
    QString first;
    ASSERT_EQ(backups.write(store, QStringLiteral("Send All"), QStringLiteral("tempos (live).txt"), &first, start),
              QString());
    EXPECT_EQ(QFileInfo(first).fileName(), QStringLiteral("2024-05-01 14-03-07.412 Send All (tempos (live).txt).txt"));
    DataHandler back;
    SessionReader reader;
    ScriptedDialogs dialogs;
    ASSERT_EQ(reader.readFile(first, dialogs, back), SessionReader::Status::Read);
    reader.apply(back);
    EXPECT_EQ(back.SongList[4]->Tempo, 133);

    // Odd names, the same name at the same time twice, then enough to prune.
    QFile(folder + QStringLiteral("/notes.txt")).open(QIODevice::WriteOnly);
    const struct
    {
        const char *reason;
        const char *session;
        const char *reasonListed;
        const char *sessionListed;
    } rows[] = {
        {"Load All", "", "Load All", ""},
        {"Send (Changes)", "a/b\nc.txt", "Send _Changes_", "a_b_c.txt"},
        {"Firmware Update", "x.txt", "Firmware Update", "x.txt"},
    };
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(backups.write(store, QLatin1String(rows[i].reason), QString::fromUtf8(rows[i].session), nullptr,
                                start.addMSecs(1 + i)),
                  QString());
    QList<BackupFolder::Entry> listed = backups.list();
    ASSERT_EQ(listed.size(), 4);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const auto &row = rows[2 - i];
        EXPECT_EQ(listed[i].reason, QLatin1String(row.reasonListed));
        EXPECT_EQ(listed[i].sessionName, QLatin1String(row.sessionListed));
        EXPECT_EQ(listed[i].time, start.addMSecs(3 - i));
    }
    QString again;
    ASSERT_EQ(backups.write(store, QStringLiteral("Send All"), QStringLiteral("tempos (live).txt"), &again, start),
              QString());
    EXPECT_NE(again, first);
    EXPECT_EQ(backups.list().size(), 5);
    for (int i = 0; i < BackupFolder::Keep; ++i)
        ASSERT_EQ(backups.write(store, QStringLiteral("Send All"), QString(), nullptr, start.addSecs(60 + i)),
                  QString());
    listed = backups.list();
    ASSERT_EQ(listed.size(), BackupFolder::Keep);
    EXPECT_EQ(listed.first().time, start.addSecs(60 + BackupFolder::Keep - 1));
    EXPECT_EQ(listed.last().time, start.addSecs(60));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/notes.txt")));

    QFile(dir.filePath(QStringLiteral("file"))).open(QIODevice::WriteOnly);
    BackupFolder blocked(dir.filePath(QStringLiteral("file/backups")));
    QString none;
    EXPECT_FALSE(blocked.write(store, QStringLiteral("Send All"), QString(), &none).isEmpty());
    EXPECT_TRUE(none.isEmpty());
}
