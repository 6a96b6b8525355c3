// The pages driven by their controls: the Songs and Set Jacks pages inside the window, the
// Setlist, Midi Management and Global Settings pages on a context of their own.

#include "QtPrinters.h"
#include "EditorFixture.h"
#include "SessionText.h"
#include "Snapshot.h"

#include "editor/GlobalPage.h"
#include "editor/MidiPage.h"
#include "editor/SetlistPage.h"
#include "model/Menu.h"
#include "model/SessionSnapshot.h"

#include <QCheckBox>

#include <functional>

namespace {

using SongPages = WindowFixture;

TEST_F(SongPages, EachPageShowsItsOwnSongAndNoSongTakesNoInput)
{
    song(3).UpdateName("Four");
    pickSong(3);
    pickJacksSong(5);
    EXPECT_EQ(find<QLineEdit>("programChangesTF")->text(), "4");
    choose(combo("jackOneCombo"), 0);
    EXPECT_EQ(song(5).JackOne, 0);
    EXPECT_EQ(song(3).JackOne, 1);
    EXPECT_EQ(song(3).FullName, "Four"); // filling the page is no edit of the name
    // An emptied selection: edits that still reach the page change nothing.
    for (const char *table : {"SongTableView", "SetJacksTableView"})
        find<QTableView>(QLatin1String(table))->clearSelection();
    EXPECT_EQ(state().SongsSongIndex, -1);
    EXPECT_EQ(state().SetJacksSongIndex, -1);
    const SessionSnapshot before = SessionSnapshot::of(store);
    setName("Nobody");
    enter("tempoTF", "99");
    for (const char *copy : {"CopyColoursButton", "CopySetJacksButton", "CopyNumPulsesOneButton"})
        click(QLatin1String(copy));
    EXPECT_EQ(SessionSnapshot::of(store), before);
}

// Names: taken when valid, shown in every table and preset list; refused ones are marked
// and leave the song as it was.
TEST_F(SongPages, NameEditorTakesOnlyValidNames)
{
    pickSong(0);
    pickJacksSong(2);
    choose(combo("jackOneCombo"), 2);
    choose(combo("Jack1TipTAPFunction"), 10);
    choose(combo("Jack1TipTAPPreset"), 0);
    auto *name = find<QPlainTextEdit>("nameTF");
    QString out; // each name typed: the song's name then, whether it is marked refused
    for (const QString &typed : {QString("Intro\nVerse"), QString(31, 'a'), QString("Semi;colon"),
                                 QString("a\nb\nc\nd\ne\nf"), QString("under_score"), QString("[x]"),
                                 QString("a\nb\nc\nd\ne"), QString(30, 'z'), QString("Semi-colon\nTwo")}) {
        SCOPED_TRACE(escaped(typed).toStdString());
        setName(typed);
        EXPECT_EQ(name->toPlainText(), typed);
        out += QStringLiteral("== %1 ==\nname \"%2\", refused %3\n")
                   .arg(escaped(typed), escaped(song(0).FullName))
                   .arg(name->property("refused").toBool());
    }
    // Shown in every table and preset list.
    out += QStringList{text("summaryName"), vc.pages().setJacks()->tableModel()->index(0, 1).data().toString(),
                       combo("Jack1TipTAPPreset")->currentText()}
               .join('\n');
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/song-names.txt"), out));
}

// ---- Setlist page -------------------------------------------------------------------

struct SetlistPageTest : PageTest<SetlistPage>
{
    QTableView *songs() { return find<QTableView>("SetlistSongListTableView"); }
    QTableView *setlist() { return find<QTableView>("SetlistTableView"); }
    std::vector<qint64> ids()
    {
        std::vector<qint64> out;
        for (const SongRef &s : store.Setlist)
            out.push_back(s->Id);
        return out;
    }
    // A setlist of the songs with these Ids, with SetlistRow at `row`.
    void useSetlist(const std::vector<int> &songIds, int row)
    {
        history.edit("Set up", [&] {
            store.Setlist.clear();
            for (int id : songIds)
                store.Setlist.push_back(store.SongList[size_t(id - 1)]);
        });
        state.SetlistRow = row;
        page.reloadTables();
    }
};

// The buttons and keys act on the highlighted entry, each as one step, and stop at the
// edges; removing the last entry brings back every song.
TEST_F(SetlistPageTest, ButtonsAndKeysActOnTheHighlightedEntry)
{
    const auto key = [this](QKeyCombination k) {
        return [this, k] {
            setlist()->setFocus();
            QTest::keyClick(setlist(), k.key(), k.keyboardModifiers());
        };
    };
    const auto button = [this](const char *name) { return [this, name] { click(QLatin1String(name)); }; };
    const struct
    {
        const char *what;
        std::vector<int> setlist;
        int click; // -1: none; else the row clicked first
        std::function<void()> act;
        std::vector<qint64> expected;
        int row;
    } rows[] = {
        {"Move Up", {1, 2, 3, 4, 5}, 3, button("SetlistMoveUpButton"), {1, 2, 4, 3, 5}, 2},
        {"Move Up at the top", {1, 2, 3}, 0, button("SetlistMoveUpButton"), {1, 2, 3}, 0},
        {"Move Down at the bottom", {1, 2, 3}, 2, button("SetlistMoveDownButton"), {1, 2, 3}, 2},
        {"Remove", {7, 8, 9}, 0, button("SetlistRemoveButton"), {8, 9}, -1},
        {"Ctrl+Up", {1, 2, 3, 4}, 2, key(Qt::CTRL | Qt::Key_Up), {1, 3, 2, 4}, 1},
        {"Ctrl+Down", {1, 2, 3, 4}, 2, key(Qt::CTRL | Qt::Key_Down), {1, 2, 4, 3}, 3},
        {"Delete", {1, 2, 3, 4}, 3, key(Qt::Key_Delete), {1, 2, 3}, 2},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.what);
        useSetlist(r.setlist, 0);
        clickRow(setlist(), r.click);
        const auto before = store.Setlist;
        const int steps = history.undoStack().index();
        r.act();
        EXPECT_EQ(ids(), r.expected);
        EXPECT_EQ(state.SetlistRow, r.row);
        EXPECT_EQ(setlist()->selectionModel()->selectedRows().value(0).row(), r.row);
        EXPECT_EQ(history.undoStack().index(), steps + (store.Setlist != before ? 1 : 0));
    }
    // No entry highlighted, a row beyond the end, an empty setlist: the buttons do nothing.
    for (int row : {-1, 5}) {
        SCOPED_TRACE(row);
        useSetlist({1, 2}, row);
        for (const char *b : {"SetlistRemoveButton", "SetlistMoveUpButton", "SetlistMoveDownButton"})
            click(QLatin1String(b));
        EXPECT_EQ(ids().size(), 2u);
    }
    store.Setlist.clear(); // as a file or the pedal may leave it
    page.reloadTables();
    click("SetlistRemoveButton");
    // A song clicked is appended (the same song object), also to an empty setlist.
    clickRow(songs(), 2);
    EXPECT_EQ(store.Setlist.at(0), store.SongList[2]);
    // A song clicked or taken with Return becomes the highlighted entry: Remove takes it.
    useSetlist({1, 2, 3}, 0);
    clickRow(songs(), 4);
    songs()->setCurrentIndex(songs()->model()->index(8, 0));
    QTest::keyClick(songs(), Qt::Key_Return);
    EXPECT_EQ(ids(), (std::vector<qint64>{1, 2, 3, 5, 9}));
    EXPECT_EQ(setlist()->selectionModel()->selectedRows().value(0).row(), 4);
    click("SetlistRemoveButton");
    EXPECT_EQ(ids(), (std::vector<qint64>{1, 2, 3, 5}));
    // The last entry removed: every song again.
    useSetlist({8}, 0);
    click("SetlistRemoveButton");
    EXPECT_EQ(store.Setlist, store.SongList);
}

// ---- Midi Management page -----------------------------------------------------------

struct MidiPageTest : PageTest<MidiPage>
{
    QLineEdit *rowEdit(const char *stem, int row) { return edit(QLatin1String(stem) + QString::number(row)); }
    QCheckBox *check(int row) { return find<QCheckBox>(QStringLiteral("stackMessageCheck%1").arg(row)); }
    QTableView *library() { return find<QTableView>("LibraryTableView"); }
    MidiStackMessage &message(int stack, int m)
    {
        return store.MidiStackList[size_t(stack)].MidiStackMessageList[size_t(m)];
    }
};

// The library: entries added through the fields (refused out of range or with session text
// marks), copied into the ticked rows with a cut name, deleted, sorted by a header, cleared.
TEST_F(MidiPageTest, LibraryAddsCopiesDeletesSortsAndClears)
{
    QString text; // the reviewed transcript: what each step changed
    const auto changes = [&](const QString &what, const SessionSnapshot &before) {
        text += QStringLiteral("== %1 ==\n%2\n").arg(what, changesSince(before, store).join('\n'));
    };
    // Maker, device, type, number, value: refused out of range, not a number, with a mark.
    for (const auto &[maker, device, type, number, value] :
         {std::tuple{"Acme", "Amp", 2, "300", "5"},
          {"Acme", "Amp", 0, "12a", "5"},
          {"Acme", "Amp]", 0, "12", "5"},
          {"A very long maker name here", "Multi-Effects Unit", 0, "255", "0"},
          {"Acme", "Looper Station", 1, "", "100"}}) {
        SCOPED_TRACE(testing::Message() << maker << ", " << device << ", " << number);
        const SessionSnapshot before = SessionSnapshot::of(store);
        for (const auto &[field, typed] : {std::pair{"manufacturerTF", maker},
                                           {"deviceTF", device},
                                           {"actionTF", "Chorus On/Off"},
                                           {"messageTF", number},
                                           {"valueTF", value}})
            typeInto(edit(QLatin1String(field)), QLatin1String(typed));
        choose(combo("typeCombo"), type);
        click("addToLibraryButton");
        changes(QStringLiteral("add %1, %2, type %3, %4, %5").arg(maker, device).arg(type).arg(number, value), before);
    }
    // A type other than Control gives an unused row (channel 0) channel 1, and keeps any other.
    for (const auto &[type, channel] : {std::pair{1, 0}, {5, 0}, {3, 0}, {6, 7}, {2, 0}, {0, 0}, {4, 9}}) {
        SCOPED_TRACE(testing::Message() << "type " << type << " on channel " << channel);
        choose(combo("stackMessageType4"), 0);
        typeInto(rowEdit("stackMessageChannel", 4), QString::number(channel));
        const SessionSnapshot before = SessionSnapshot::of(store);
        choose(combo("stackMessageType4"), type);
        changes(QStringLiteral("type %1 on channel %2, shown ").arg(type).arg(channel)
                    + rowEdit("stackMessageChannel", 4)->text(),
                before);
    }
    typeInto(rowEdit("stackMessageName", 3), "Keep me");
    for (int row : {1, 2, 5})
        check(row)->click();
    const SessionSnapshot copied = SessionSnapshot::of(store);
    clickRow(library(), 0);
    changes(history.undoStack().undoText(), copied);
    EXPECT_EQ(state.StackRowChecked, (std::array<int, 10>{}));
    const SessionSnapshot unticked = SessionSnapshot::of(store);
    clickRow(library(), 1);
    changes("nothing ticked: nothing copied", unticked);
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/midi-library.txt"), text));

    clickRow(library(), 1);
    click("deleteSingleLibraryButton");
    click("deleteSingleLibraryButton"); // the row is beyond the end now
    ASSERT_EQ(store.MidiMessageLibrary.size(), 1u);
    // The stack-name and library buttons write just their lines.
    TempFiles dir;
    for (const auto &[saveButton, keys] :
         {std::pair{"saveStackNamesButton", QStringList({"MidiStackNames", "MidiStackMessageNames"})},
          std::pair{"saveLibraryButton",
                    QStringList({"LibraryManufacturers", "LibraryDevices", "LibraryActions", "LibraryTypes",
                                 "LibraryMessages", "LibraryValues"})}}) {
        SCOPED_TRACE(saveButton);
        const QString path = dir.path(QLatin1String(saveButton) + QLatin1String(".txt"));
        dialogs.savePaths = {path};
        click(QLatin1String(saveButton));
        EXPECT_EQ(keysOf(readFile(path)), keys);
    }
    dialogs.answers = {1};
    click("resetLibraryButton");
    EXPECT_EQ(store.MidiMessageLibrary.size(), 1u);
    dialogs.answers = {0};
    click("resetLibraryButton");
    EXPECT_TRUE(store.MidiMessageLibrary.empty());
}

// ---- Global Settings page -----------------------------------------------------------

struct GlobalPageTest : PageTest<GlobalPage>
{
    QComboBox *combo(const char *field) { return find<QComboBox>(QLatin1String(field) + QLatin1String("Combo")); }
    QStringList marked()
    {
        QStringList out;
        for (const MenuField &f : menuFields())
            if (!find<QLabel>(QLatin1String(f.name) + QLatin1String("Mark"))->text().isEmpty())
                out.append(QLatin1String(f.name));
        return out;
    }
};

// A pick stores the value of its position rule in its own field only (the reviewed
// transcript shows each pick's changes); a stored value with no item is kept; Reset
// restores every list; the marks follow the values off the factory.
TEST_F(GlobalPageTest, PicksStoreTheirRuleValuesAndResetRestoresAll)
{
    // Each pick as the field and the position picked.
    const QString picks =
        "DisplayInMillis 1, IncomingTapValue 0, IncomingTapValue 128, IncomingResetTimersMessage 128, "
        "RepeatingMidiClickAmount 31, RepeatingMidiClickAmount 0, MidiChannelIn 1, MidiChannelIn 0, "
        "IncomingMidiClockChannel 15, LedClickAmount 0, LedClickAmount 29, MidiPulseAmount 0, "
        "MidiPulseAmount 29, OneClickLength 0, OneClickLength 225, FourClickLength 225, "
        "OffsetBpmTwo 0, OffsetBpmTwo 40, StackDelay 1, StackDelay 94, StackDelay 0, "
        "RepeatingMidiStackReference 127";
    QString text;
    for (const QString &pick : picks.split(", ")) {
        SCOPED_TRACE(pick.toStdString());
        const SessionSnapshot before = SessionSnapshot::of(store);
        choose(find<QComboBox>(pick.section(' ', 0, 0) + "Combo"), pick.section(' ', 1).toInt());
        text += QStringLiteral("== %1 ==\n%2\n").arg(pick, changesSince(before, store).join('\n'));
    }
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/global-picks.txt"), text));
    store.GlobalMenu.StackDelay = 65; // between two items
    page.showSettings();
    EXPECT_EQ(combo("StackDelay")->currentIndex(), -1);
    EXPECT_EQ(store.GlobalMenu.StackDelay, 65);
    QStringList differing;
    const Menu::Values factory = Menu::factory().values(), now = store.GlobalMenu.values();
    for (size_t i = 0; i < menuFields().size(); ++i)
        if (factory[i] != now[i])
            differing.append(QLatin1String(menuFields()[i].name));
    EXPECT_EQ(marked(), differing);

    page.resetPage();
    EXPECT_EQ(store.GlobalMenu, Menu::factory());
    for (const MenuField &f : menuFields())
        EXPECT_EQ(combo(f.name)->currentIndex(), MenuRules::positionForValue(f.rule, f.factory)) << f.name;
    EXPECT_EQ(marked(), QStringList());
}

} // namespace
