// Damaged session files are refused whole: the message names the key and the problem,
// and the store stays exactly as it was.
#include "RandomSession.h"

#include "format/SessionJson.h"
#include "format_test_util.h"

#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>

#include <functional>

namespace {

// Replaces the value of `key` in a session text with what `change` makes of it.
QString damage(const QString &text, const QString &key, const std::function<QString(QString)> &change)
{
    QStringList lines = text.split(QStringLiteral("\r\n"));
    bool found = false;
    for (QString &l : lines) {
        if (l.startsWith(key + QLatin1Char(']'))) {
            l = key + QLatin1Char(']') + change(l.mid(key.size() + 1));
            found = true;
        }
    }
    EXPECT_TRUE(found) << key.toStdString();
    return lines.join(QStringLiteral("\r\n"));
}

struct Damage
{
    const char *what;
    const char *key; // the key the message must name
    std::function<QString(const QString &)> make;
};

QString at(QString value, int position, const QString &with)
{
    value.replace(position, with.size(), with);
    return value;
}

std::vector<Damage> damages()
{
    using S = const QString &;
    auto on = [](const char *key, std::function<QString(QString)> change) {
        return [key, change](S text) { return damage(text, QString::fromLatin1(key), change); };
    };
    return {
        {"non-digit number field", "Tempos", on("Tempos", [](QString v) { return at(v, 30, QStringLiteral("1a0")); })},
        {"negative number", "ProgramChanges",
         on("ProgramChanges", [](QString v) { return at(v, 3, QStringLiteral("-01")); })},
        {"space in a number", "Jack2TipHoldStack",
         on("Jack2TipHoldStack", [](QString v) { return at(v, 381, QStringLiteral(" 12")); })},
        {"per-song list short", "Fractions", on("Fractions", [](QString v) { return v.left(127); })},
        {"per-song names short", "Name", on("Name", [](QString v) { return v.left(30 * 127); })},
        {"stack key short", "MidiStackMessageValues",
         on("MidiStackMessageValues", [](QString v) { return v.left(3 * 1279); })},
        {"stack names short", "MidiStackMessageNames",
         on("MidiStackMessageNames", [](QString v) { return v.left(30 * 1279); })},
        {"Global short", "Global", on("Global", [](QString v) { return v.left(204); })},
        {"Global not a number", "Global", on("Global", [](QString v) { return at(v, 192, QStringLiteral("00x0")); })},
        {"Global status number without a channel", "Global",
         on("Global", [](QString v) { return at(v, 61, QStringLiteral("100")); })},
        {"tempo 0", "Tempos", on("Tempos", [](QString v) { return at(v, 381, QStringLiteral("000")); })},
        {"setlist slot 0", "Setlist", on("Setlist", [](QString v) { return at(v, 0, QStringLiteral("000")); })},
        {"setlist slot 129", "Setlist", on("Setlist", [](QString v) { return at(v, 381, QStringLiteral("129")); })},
        {"setlist short", "Setlist", on("Setlist", [](QString v) { return v.left(381); })},
        {"library lists of different lengths", "Library",
         on("LibraryValues", [](QString v) { return v.left(v.size() - 3); })},
        {"library number not a number", "LibraryMessages",
         on("LibraryMessages", [](QString v) { return at(v, 0, QStringLiteral("x")); })},
        {"key without bracket", "MidiStackMessageMessages",
         [](S text) { return text + QStringLiteral("MidiStackMessageMessages\r\n"); }},
        {"empty value", "BankChanges", on("BankChanges", [](QString) { return QString(); })},
    };
}

} // namespace

TEST(DamagedFiles, EachKindIsRefusedWholeAndChangesNothing)
{
    DataHandler source;
    RandomSession(77).fill(source, {4, true, true});
    const QString good = fileForm(source);

    for (const Damage &d : damages()) {
        SCOPED_TRACE(d.what);
        DataHandler store;
        RandomSession(78).fill(store);
        const QJsonObject before = SessionJson::toJson(store);
        const QString text = d.make(good);
        ASSERT_NE(text, good);

        ScriptedDialogs dialogs;
        SessionReader reader;
        EXPECT_EQ(reader.readText(text, dialogs, store), SessionReader::Status::Failed);
        EXPECT_TRUE(reader.problem().startsWith(QLatin1String(d.key) + QStringLiteral(": ")))
            << reader.problem().toStdString();
        EXPECT_GT(reader.problem().size(), qsizetype(qstrlen(d.key) + 6));
        EXPECT_FALSE(reader.problem().contains(QLatin1Char('\n')));
        EXPECT_TRUE(dialogs.shown.isEmpty());
        EXPECT_TRUE(reader.presentKeys().empty());
        // Even an apply after the refusal changes nothing.
        reader.apply(store);
        EXPECT_EQ(SessionJson::toJson(store), before);
    }
}

TEST(DamagedFiles, ARefusalForgetsAnEarlierGoodRead)
{
    DataHandler source;
    RandomSession(79).fill(source);
    DataHandler store;
    const QJsonObject before = SessionJson::toJson(store);
    ScriptedDialogs dialogs;
    SessionReader reader;
    ASSERT_EQ(reader.readText(fileForm(source), dialogs, store), SessionReader::Status::Read);
    EXPECT_EQ(reader.readText(damages()[0].make(fileForm(source)), dialogs, store), SessionReader::Status::Failed);
    reader.apply(store);
    EXPECT_EQ(SessionJson::toJson(store), before);
}

TEST(DamagedFiles, LegacyLinesThatCannotBeRead)
{
    QString good;
    for (int i = 0; i < 128; ++i)
        good += QStringLiteral("Song") + QString(26, QLatin1Char('`'));
    for (int i = 0; i < 128; ++i)
        good += QStringLiteral("100");
    for (int i = 0; i < 256; ++i)
        good += QStringLiteral("03");
    ASSERT_EQ(good.size(), 4736);

    const struct
    {
        const char *what;
        QString text;
        const char *key;
    } cases[] = {
        {"one character short", good.left(4735), "BackgroundColours"},
        {"no colours", good.left(4224), "ForegroundColours"},
        {"names only", good.left(3839), "Name"},
        {"empty file", QString(), ""},
        {"blank file", QStringLiteral(" \r\n\n"), ""},
        {"binary", QString::fromLatin1(QByteArray(5000, '\x01')), "Tempos"},
        {"tempo not a number", QString(good).replace(3843, 3, QStringLiteral("1x0")), "Tempos"},
        {"tempo 0", QString(good).replace(3843, 3, QStringLiteral("000")), "Tempos"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        DataHandler store;
        const QJsonObject before = SessionJson::toJson(store);
        ScriptedDialogs dialogs;
        dialogs.answers = {0};
        SessionReader reader;
        EXPECT_EQ(reader.readText(c.text, dialogs, store), SessionReader::Status::Failed);
        if (*c.key)
            EXPECT_TRUE(reader.problem().startsWith(QLatin1String(c.key) + QStringLiteral(": ")))
                << reader.problem().toStdString();
        else
            EXPECT_EQ(reader.problem(), QStringLiteral("the file is empty"));
        EXPECT_TRUE(dialogs.shown.isEmpty()) << "the question only for a text that reads as the older layout";
        reader.apply(store);
        EXPECT_EQ(SessionJson::toJson(store), before);
    }
    // The whole line reads.
    DataHandler store;
    ScriptedDialogs dialogs;
    SessionReader reader;
    ASSERT_EQ(reader.readText(good, dialogs, store), SessionReader::Status::Read) << reader.problem().toStdString();
    reader.apply(store);
    EXPECT_EQ(store.SongList[127]->FullName, QStringLiteral("Song"));
    EXPECT_EQ(store.SongList[127]->BackgroundColour, 2);
}

TEST(DamagedFiles, FilesOverSixteenMebibytesAreNotRead)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("huge.txt"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        // A sparse file: the size without the writing.
        ASSERT_TRUE(file.resize(qint64(16) * 1024 * 1024 + 1));
    }
    DataHandler store;
    const QJsonObject before = SessionJson::toJson(store);
    ScriptedDialogs dialogs;
    SessionReader reader;
    EXPECT_EQ(reader.readFile(path, dialogs, store), SessionReader::Status::Failed);
    EXPECT_TRUE(reader.problem().startsWith(path)) << reader.problem().toStdString();
    EXPECT_TRUE(reader.problem().contains(QStringLiteral("16 MiB")));
    EXPECT_TRUE(dialogs.shown.isEmpty());
    reader.apply(store);
    EXPECT_EQ(SessionJson::toJson(store), before);

    // Exactly 16 MiB is read (and, being neither session text nor the older layout,
    // refused without the older layout's question).
    {
        QFile file(path);
        ASSERT_TRUE(file.resize(qint64(16) * 1024 * 1024));
    }
    EXPECT_EQ(reader.readFile(path, dialogs, store), SessionReader::Status::Failed);
    EXPECT_TRUE(reader.problem().contains(QStringLiteral("no session keys"))) << reader.problem().toStdString();
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST(DamagedFiles, ProblemsNameTheFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("bad.txt"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Tempos]120\r\n");
    }
    DataHandler store;
    ScriptedDialogs dialogs;
    SessionReader reader;
    EXPECT_EQ(reader.readFile(path, dialogs, store), SessionReader::Status::Failed);
    EXPECT_EQ(reader.problem(), path + QStringLiteral(": Tempos: has 1 fields, 128 needed"));
}
