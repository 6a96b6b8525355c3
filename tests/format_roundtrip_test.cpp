// Randomised stores through the file form: write, read into a fresh factory store,
// apply, and compare the whole store.
#include "RandomSession.h"

#include "format/SessionJson.h"
#include "model/Normaliser.h"
#include "format_test_util.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

// What a store reads back as: songs numbered by their position (the file carries
// positions, not Ids), the setlist by those numbers, and line breaks of song names as
// "\r\n", the way the reader stores them.
QJsonObject expectedAfterReading(const DataHandler &store)
{
    QJsonObject json = SessionJson::toJson(store);
    QJsonArray songs = json[QStringLiteral("SongList")].toArray();
    for (int p = 0; p < songs.size(); ++p) {
        QJsonObject s = songs[p].toObject();
        s[QStringLiteral("Id")] = p + 1;
        QString name = s[QStringLiteral("FullName")].toString();
        name.remove(QLatin1Char('\r'));
        name.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        s[QStringLiteral("FullName")] = name;
        songs[p] = s;
    }
    json[QStringLiteral("SongList")] = songs;
    QJsonArray setlist;
    for (const SongRef &s : store.Setlist)
        setlist.append(store.songPosition(s.get()) + 1);
    json[QStringLiteral("Setlist")] = setlist;
    return json;
}

} // namespace

TEST(RoundTrip, RandomStoresThroughTheFileForm)
{
    CapturedLines diagnostics;
    for (quint32 seed = 100; seed < 112; ++seed) {
        SCOPED_TRACE(seed);
        DataHandler source;
        RandomSession(seed).fill(source);
        const QString text = fileForm(source);

        DataHandler store;
        ScriptedDialogs dialogs;
        SessionReader reader;
        ASSERT_EQ(reader.readText(text, dialogs, store), SessionReader::Status::Read) << reader.problem().toStdString();
        EXPECT_TRUE(dialogs.shown.isEmpty());
        EXPECT_EQ(reader.presentKeys().size(), 75u);
        reader.apply(store);
        const QJsonObject expected = expectedAfterReading(source);
        const QJsonObject actual = SessionJson::toJson(store);
        for (const QString &part : expected.keys())
            EXPECT_EQ(actual[part], expected[part]) << part.toStdString();

        // Written again, the text is the same.
        EXPECT_EQ(fileForm(store), text);
    }
    // Valid stores fit every field: nothing was clamped or left out.
    EXPECT_TRUE(diagnostics.lines.isEmpty()) << diagnostics.lines.join(QLatin1Char('\n')).toStdString();
}

TEST(RoundTrip, OpenNormalisesToTheStoreThatWasSaved)
{
    // Save (normalise, write) and open (read, apply, normalise) give back the store,
    // with song names in their "\n" form again.
    DataHandler source;
    RandomSession(200).fill(source, {30, true, false});
    Normaliser::normalise(source);
    DataHandler store;
    ScriptedDialogs dialogs;
    SessionReader reader;
    ASSERT_EQ(reader.readText(fileForm(source), dialogs, store), SessionReader::Status::Read);
    reader.apply(store);
    Normaliser::normalise(store);
    EXPECT_EQ(SessionJson::toJson(store), SessionJson::toJson(source));
}

TEST(RoundTrip, TheFactorySession)
{
    DataHandler source;
    DataHandler store;
    RandomSession(201).fill(store, {0, false, false});
    store.Setlist = {store.SongList[3]};
    ScriptedDialogs dialogs;
    SessionReader reader;
    ASSERT_EQ(reader.readText(fileForm(source), dialogs, store), SessionReader::Status::Read);
    reader.apply(store);
    EXPECT_EQ(SessionJson::toJson(store), SessionJson::toJson(source));
}
