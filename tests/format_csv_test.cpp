// The songs as a spreadsheet: written and read back, and a table of files read, each
// with what it refused and what it changed.
#include "QtPrinters.h"
#include "RandomSession.h"
#include "Snapshot.h"
#include "TestFiles.h"

#include "format/SessionDiff.h"
#include "format/SongsCsv.h"
#include "format/Encodings.h"
#include "model/SessionSnapshot.h"

// Written and read into the same session with every song set back to its factory values,
// a randomised session (songs shuffled, names of several lines) comes back whole.
TEST(SongsCsv, ReadingWhatWasWrittenGivesTheSongsBack)
{
    for (quint32 seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        DataHandler a, b;
        RandomSession(seed).fill(a, {0, seed % 2 == 0, true});
        SessionSnapshot::of(a).restoreInto(b);
        for (size_t p = 0; p < b.SongList.size(); ++p)
            b.SongList[p]->resetToFactory(int(p));
        TempFiles files;
        const QString csv = SongsCsv::write(a);
        const SongsCsv::Result r =
            seed == 1 ? SongsCsv::readFile(files.write("s.csv", csv.toUtf8()), b) : SongsCsv::read(csv.toUtf8(), b);
        EXPECT_TRUE(r.ok()) << qPrintable(r.problem);
        EXPECT_EQ(SongsCsv::lines(r), QStringList());
        EXPECT_TRUE(SessionSnapshot::of(a) == SessionSnapshot::of(b));
        EXPECT_TRUE(SessionDiff::compare(a, b).empty());
        EXPECT_EQ(SongsCsv::write(b), csv);
    }
}

// Each file read into a session whose songs 2, 10 and 11 have names (10 and 11 the same)
// and whose stack 4 is "Bass": what it refused, and the changes (tests/data/transcripts/
// songs-csv-import.txt). A file refused whole changes nothing.
TEST(SongsCsv, ReadsWordsNumbersAndQuotingAndRefusesEachValueItCannotTake)
{
    const std::pair<const char *, QByteArray> files[] = {
        {"words, in any case",
         "Number,Tap fraction,Text colour,Jack 2 mode,Jack 3 static level,Jack 4 pulses,Foot switch hold function,"
         "MIDI clock on load,Mimic footswitch,Jack 1 tip tap song,MIDI stack,Font size\n"
         "3,dotted 1/8,LIGHT BLUE,midi output,On (High),7 pulses,Go to Song,Stop MIDI Clock,mimic footswitch,ballad,"
         "bass,Extra Large\n"},
        {"numbers; a song or stack as N: name, the name not looked at",
         "Number,Tempo,Tap fraction,Text colour,Jack 2 mode,Program change,Bank change,Foot switch tap song,"
         "MIDI stack,Jack 3 ring hold stack,Jack 1 division\n"
         "4,97,9,19,3,128,1,2: Other,7: whatever,128,99\n"},
        {"quoting, CRLF, a byte order mark, line breaks in a name",
         "\xEF\xBB\xBFNumber,Name,MIDI stack\r\n5,\"Intro\r\nVerse, A\",\"4: \"\"x\"\", y\"\r\n"
         "\"6\",One\\nTwo\\nThree,\"\"\r\n\r\n7,,1\r\n"},
        {"only some columns; others ignored, a second Tempo, a column without a title; rows in any order",
         "notes,Number,TEMPO,Tempo,,Jack 1 expression stack\nx,9,130,140,y,Midi Stack 3\n , 8 ,40,,,1\n"},
        {"each refusal; the rest of each row is taken",
         "Number,Tempo,Name,Text colour,Foot switch tap song,MIDI stack,Jack 4 mode,Tap fraction,Program change\n"
         "2,305,Fine,Purple,twin,129: x,3,10,1\n3,39,Under_score,0,nobody,0,Static,-1,\n"
         "4,fast,1234567890123456789012345678901,20,0,Midi Stack,-,,0\n"
         "5,300,a\\nb\\nc\\nd\\ne\\nf,19,128,bass,Tap Output,9,129\n"
         "x,120\n0,120\n129,120\n,120\n5,41\n6,50,Short\n7,50,,,,,,,,extra\n"},
        {"no Number column", "Name,Tempo\nA,120\n"},
        {"a quote not closed", "Number,Name\n1,A\n2,\"B\n3,C\n"},
        {"text after a closing quote", "Number,Name\n1,\"A\"B\n"},
        {"not UTF-8", "Number,Name\n1,\xff\xfe\n"},
        {"no header row", "\n\n"},
    };
    QString text;
    for (const auto &[title, csv] : files) {
        DataHandler before;
        before.SongList[1]->UpdateName(QStringLiteral("Ballad"));
        before.SongList[9]->UpdateName(QStringLiteral("Twin"));
        before.SongList[10]->UpdateName(QStringLiteral("twin"));
        before.MidiStackList[3].Name = QStringLiteral("Bass");
        DataHandler after;
        SessionSnapshot::of(before).restoreInto(after);
        const SongsCsv::Result r = SongsCsv::read(csv, after);
        text += QStringLiteral("== %1 ==\n%2\n").arg(QLatin1String(title), Encodings::escaped(QString::fromUtf8(csv)));
        if (!r.ok()) {
            text += "problem: " + r.problem + '\n';
            EXPECT_TRUE(SessionSnapshot::of(before) == SessionSnapshot::of(after)) << title;
        }
        for (const QString &line : SongsCsv::lines(r))
            text += "not taken: " + line + '\n';
        for (const SessionChange &c : SessionDiff::compare(before, after))
            text += "changed: " + c.text() + '\n';
        text += '\n';
    }
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/songs-csv-import.txt"), text));

    // Files that cannot be read are named with the reason; nothing changes.
    TempFiles temp;
    DataHandler store;
    EXPECT_EQ(SongsCsv::readFile(temp.path("missing.csv"), store).problem,
              temp.path("missing.csv") + " cannot be read: No such file or directory");
    EXPECT_EQ(SongsCsv::readFile(temp.dir.path(), store).problem, temp.dir.path() + " is a folder");
    // Up to 16 MiB is read as it is (here: no header); one byte more is no list of songs.
    const QByteArray big(16 * 1024 * 1024, 'x');
    EXPECT_EQ(SongsCsv::readFile(temp.write("exact.csv", big), store).problem,
              temp.path("exact.csv") + ": the file has no Number column to match its rows with the songs");
    EXPECT_EQ(SongsCsv::readFile(temp.write("over.csv", big + 'x'), store).problem,
              temp.path("over.csv") + " is larger than 16 MiB: it is no list of songs");
    EXPECT_TRUE(SessionSnapshot::of(store) == SessionSnapshot::of(DataHandler()));
}
