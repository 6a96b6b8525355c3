// The difference of two sessions: in words, against the lines of their files, and
// applied as a file; the keys an upload of the changes carries.
#include "RandomSession.h"

#include "format/SessionDiff.h"
#include "format_test_util.h"
#include "model/CodePoints.h"

#include <QJsonDocument>

#include <algorithm>
#include <functional>
#include <set>

namespace {

struct DiffRow
{
    const char *what;
    std::function<void(DataHandler &)> change; // applied to the second session
    QStringList lines;
    QJsonArray values = {}; // when given, each change's plain values for JSON: [before, after]
};

// `count` fields of `b` (outside the library) replaced by those of `c`, through the
// text form; now and then the whole library of `c`.
void changeFields(DataHandler &b, const DataHandler &c, RandomSession &r, int count)
{
    for (int n = 0; n < count; ++n) {
        const int k = int(r.between(0, SessionKeys::Count - 7));
        const int width = SessionKeys::at(k).width;
        QStringList fields = CodePoints::split(SessionWriter::value(b, k, SessionWriter::Form::File), width);
        const QStringList other = CodePoints::split(SessionWriter::value(c, k, SessionWriter::Form::File), width);
        const qsizetype i = r.between(0, fields.size() - 1);
        fields[i] = other[i];
        readInto(b, line(SessionKeys::at(k).key, fields.join(QString())));
    }
    if (r.chance(30))
        b.MidiMessageLibrary = c.MidiMessageLibrary;
}

} // namespace

TEST(Diff, SaysEachChangeInWords)
{
    const QJsonValue none(QJsonValue::Null);
    const DiffRow rows[] = {
        {"setlist slot",
         [](DataHandler &s) { s.Setlist[3] = s.SongList[11]; },
         {QStringLiteral("Setlist: position 4 is now song 12")}},
        {"two settings in one option number",
         [](DataHandler &s) {
             s.GlobalMenu.MidiThru = 0;
             s.GlobalMenu.MetroEnabled = 1;
         },
         {QStringLiteral("Global: Midi Thru 1 → 0"), QStringLiteral("Global: Metro Enabled 0 → 1")}},
        {"jack output",
         [](DataHandler &s) {
             s.SongList[0]->JackOne = 0;
             s.SongList[0]->JackOneStatic = 1;
         },
         {QStringLiteral("Song 1: Jack 1 Output tap output, 6 pulses → static high")}},
        {"a jack output the text cannot tell apart",
         [](DataHandler &s) {
             s.SongList[0]->JackOne = 0;
             s.SongList[0]->JackOneStatic = 2; // written as 6, as six pulses are
         },
         {}},
        {"stack name and a message",
         [](DataHandler &s) {
             s.MidiStackList[1].Name = QStringLiteral("Bass");
             s.MidiStackList[1].MidiStackMessageList[2] = MidiStackMessage(3, 2, 60, 64, QStringLiteral("Low C"));
         },
         {QStringLiteral("Stack 2 (Midi Stack 2): Name \"Midi Stack 2\" → \"Bass\""),
          QStringLiteral("Stack 2 (Midi Stack 2): Row 3 Name \"EMPTY\" → \"Low C\""),
          QStringLiteral("Stack 2 (Midi Stack 2): Row 3 Type and Channel none → Note On, channel 2"),
          QStringLiteral("Stack 2 (Midi Stack 2): Row 3 Message 0 → 60"),
          QStringLiteral("Stack 2 (Midi Stack 2): Row 3 Value 0 → 64")}},
        {"plain values: a name of two lines, an empty setlist position, a setting, a message, a library entry",
         [](DataHandler &s) {
             s.SongList[0]->UpdateName(QStringLiteral("A \"B\"\r\nC"));
             s.Setlist.pop_back();
             s.GlobalMenu.MidiThru = 0;
             s.MidiStackList[1].MidiStackMessageList[2] = MidiStackMessage(3, 2, 60, 64, QStringLiteral("EMPTY"));
             s.MidiMessageLibrary.emplace_back(QStringLiteral("M"), QStringLiteral("D"), QStringLiteral("A"), 1, 2, 3);
         },
         {},
         {QJsonArray{"", "A \"B\"\r\nC"}, QJsonArray{128, none}, QJsonArray{1, 0}, QJsonArray{0, 145},
          QJsonArray{0, 60}, QJsonArray{0, 64}, QJsonArray{none, "M"}, QJsonArray{none, "D"}, QJsonArray{none, "A"},
          QJsonArray{none, 1}, QJsonArray{none, 2}, QJsonArray{none, 3}}},
        {"the same session", [](DataHandler &) {}, {}},
    };
    for (const DiffRow &row : rows) {
        SCOPED_TRACE(row.what);
        DataHandler a, b;
        row.change(b);
        QStringList lines;
        QJsonArray values;
        std::set<int> keys;
        for (const SessionChange &c : SessionDiff::compare(a, b)) {
            lines << c.text();
            values.append(QJsonArray{c.toJson()[QLatin1String("before")], c.toJson()[QLatin1String("after")]});
            keys.insert(c.key);
        }
        if (row.values.isEmpty()) {
            EXPECT_EQ(lines, row.lines);
        } else {
            EXPECT_EQ(values, row.values) << QJsonDocument(values).toJson(QJsonDocument::Compact).toStdString();
        }
        const std::vector<int> changed = SessionDiff::changedKeys(a, b);
        EXPECT_EQ(std::vector<int>(keys.begin(), keys.end()), changed);
    }
}

TEST(Diff, RandomPairsAgreeWithTheirFilesAndTheirChangesGiveTheSecond)
{
    // Pairs of unrelated sessions, and sessions with a few fields changed from the same one.
    for (quint32 seed = 300; seed < 318; ++seed) {
        const int edits = seed < 302 ? -1 : int(seed % 7);
        SCOPED_TRACE(testing::Message() << seed << " with " << edits << " edits");
        DataHandler a, b, c;
        RandomSession(seed).fill(a);
        RandomSession(seed + (edits < 0 ? 1 : 0)).fill(b);
        RandomSession(seed + 100).fill(c);
        RandomSession r(seed);
        changeFields(b, c, r, std::max(edits, 0));
        // The changed keys are exactly those whose lines in the files differ, and every change names one.
        const QStringList fileA = keyImage(a), fileB = keyImage(b);
        std::vector<int> differ;
        for (int k = 0; k < SessionKeys::Count; ++k)
            if (fileA[k] != fileB[k])
                differ.push_back(k);
        const std::vector<int> changed = SessionDiff::changedKeys(a, b);
        EXPECT_EQ(changed, differ);
        const std::vector<SessionChange> changes = SessionDiff::compare(a, b);
        std::set<int> named;
        for (const SessionChange &c : changes)
            named.insert(c.key);
        EXPECT_EQ(std::vector<int>(named.begin(), named.end()), changed);
        EXPECT_EQ(changes.empty(), fileA == fileB);

        // An upload of the changes carries the changed keys the pedal holds, and nothing else.
        SessionWriter writer;
        SessionDiff::selectChangedKeys(writer, a, b);
        std::vector<int> gated;
        std::copy_if(changed.begin(), changed.end(), std::back_inserter(gated),
                     [](int k) { return SessionKeys::at(k).gated; });
        EXPECT_EQ(keysOf(writer.write(b, SessionWriter::Form::Pedal)), keysOf(SessionWriter::writeKeys(b, gated)));
    }
}
