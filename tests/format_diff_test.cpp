// The difference of two sessions: in words, against the lines of their files, and
// applied as a file; the keys an upload of the changes carries.
#include "QtPrinters.h"
#include "RandomSession.h"

#include "format/SessionDiff.h"
#include "SessionText.h"
#include "model/CodePoints.h"

#include <algorithm>
#include <set>

namespace {

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

// The wording of every kind of change, in text and JSON, is held by the transcripts of
// pedal-session diff (tests/data/transcripts/pedal-session-diff.txt).
TEST(Diff, AJackOutputTheTextCannotTellApartIsNoChange)
{
    DataHandler a, b;
    b.SongList[0]->JackOne = 0;
    b.SongList[0]->JackOneStatic = 2; // written as 6, as six pulses are
    EXPECT_TRUE(SessionDiff::compare(a, b).empty());
    EXPECT_TRUE(SessionDiff::changedKeys(a, b).empty());
    // Every numeric field of a song has a label of its own, in the words of its page.
    std::set<QString> labels{SessionKeys::fieldLabel(&Song::Tempo), QString()};
    for (const SongNumberField &f : songNumberFields())
        labels.insert(SessionKeys::fieldLabel(f.member));
    EXPECT_EQ(labels.size(), size_t(Song::NumberFieldCount) + 2);
    const std::pair<qint64 Song::*, const char *> named[] = {{&Song::Tempo, "Tempo"},
                                                             {&Song::ForegroundColour, "Text colour"},
                                                             {&Song::JackOne, "Jack 1 mode"},
                                                             {&Song::JackOnePulses, "Jack 1 pulses"},
                                                             {&Song::JackTwo, "Jack 2 mode"},
                                                             {&Song::JackFourStatic, "Jack 4 static level"},
                                                             {&Song::JackThreePulses, "Jack 3 pulses"},
                                                             {&Song::MimicFootswitch, "Mimic footswitch"},
                                                             {&Song::Jack2RingHOLDPreset, "Jack 2 ring hold song"}};
    for (const auto &[field, label] : named) {
        SCOPED_TRACE(label);
        EXPECT_EQ(SessionKeys::fieldLabel(field), QLatin1String(label));
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

        // Taking every other change leaves the rest (and no new one); then taking all leaves none.
        // A change is known by its place and its value from `b` (names in it may be taken).
        const auto place = [](const SessionChange &c) {
            return QStringLiteral("%1 %2 %3 %4 %5").arg(c.key).arg(c.index).arg(c.message).arg(c.setting).arg(c.after);
        };
        std::vector<SessionChange> taken;
        QSet<QString> left, gone;
        for (size_t i = 0; i < changes.size(); ++i) {
            if (i % 2 == 0)
                taken.push_back(changes[i]);
            (i % 2 == 0 ? gone : left).insert(place(changes[i]));
        }
        SessionDiff::apply(taken, b, a);
        for (const SessionChange &c : SessionDiff::compare(a, b)) {
            EXPECT_TRUE(left.contains(place(c))) << c.text().toStdString();
            EXPECT_FALSE(gone.contains(place(c))) << c.text().toStdString();
        }
        SessionDiff::apply(SessionDiff::compare(a, b), b, a);
        EXPECT_EQ(keyImage(a), keyImage(b));
    }
}
