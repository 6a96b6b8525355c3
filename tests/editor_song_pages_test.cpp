// The Songs and Set Jacks pages inside the window: selection, the name editor, the
// number fields, copy buttons, visibility rules, the summary and the shared name lists.

#include "editor_window_fixture.h"

#include "editor/ItemTexts.h"
#include "editor/PageControls.h"
#include "editor/SharedLists.h"
#include "editor/TypedRanges.h"

#include <QMimeData>

#include <functional>
#include <memory>
#include <map>

#include <QGroupBox>

namespace {

using SongPages = WindowFixture;

TEST_F(SongPages, StartUpShowsTheFirstSongOnBothPagesAndNoSongTakesNoInput)
{
    song(0).UpdateName(QStringLiteral("Opener"));
    vc.RefreshAllPages();
    for (const char *table : {"SongTableView", "SetJacksTableView"})
        EXPECT_EQ(find<QTableView>(table)->selectionModel()->selectedRows().value(0).row(), 0) << table;
    EXPECT_EQ(vc.context().state.SongsSongIndex, 0);
    EXPECT_EQ(vc.context().state.SetJacksSongIndex, 0);
    EXPECT_EQ(text("idLabel"), "Song # 1");
    EXPECT_EQ(find<QPlainTextEdit>("nameTF")->toPlainText(), "Opener");
    EXPECT_EQ(find<QLineEdit>("tempoTF")->text(), "120");

    // Each page with its selection emptied: the empty state, and its controls take no input.
    struct Page
    {
        const char *tab, *table;
        std::vector<const char *> controls;
    };
    const Page pages[] = {
        {"Songs", "SongTableView", {"nameTF", "tempoTF", "fractionCombo", "programChangesTF", "CopyColoursButton"}},
        {"Set Jacks", "SetJacksTableView", {"jackOneCombo", "staticOneCombo", "CopySetJacksButton"}},
    };
    for (const Page &p : pages) {
        vc.showPage(QString::fromLatin1(p.tab));
        for (const char *name : p.controls)
            EXPECT_TRUE(find<QWidget>(name)->isEnabled()) << name;
        find<QTableView>(p.table)->clearSelection();
        for (const char *name : p.controls)
            EXPECT_FALSE(find<QWidget>(name)->isEnabled()) << name;
        pickSong(p.tab, p.table, 0);
        for (const char *name : p.controls)
            EXPECT_TRUE(find<QWidget>(name)->isEnabled()) << name;
    }
    vc.showPage(QStringLiteral("Songs"));
    find<QTableView>("SongTableView")->clearSelection();
    EXPECT_EQ(vc.context().state.SongsSongIndex, -1);
    EXPECT_EQ(text("idLabel"), "Song # ?");
    EXPECT_EQ(text("summaryName"), "No song selected");
    for (int j = 1; j <= 4; ++j)
        EXPECT_EQ(text(QStringLiteral("summaryJack%1").arg(j).toLatin1().constData()),
                  QStringLiteral("Jack %1:").arg(j));
    EXPECT_TRUE(find<QPlainTextEdit>("nameTF")->toPlainText().isEmpty());
    EXPECT_TRUE(find<QLineEdit>("tempoTF")->text().isEmpty());

    // Edits that reach the page with no song shown change nothing.
    setName(QStringLiteral("Nobody"));
    enter("tempoTF", QStringLiteral("99"));
    click("CopyColoursButton");
    for (const SongRef &s : store.SongList) {
        EXPECT_EQ(s->Fraction, 0);
        EXPECT_EQ(s->Tempo, 120);
    }
    EXPECT_EQ(song(0).FullName, "Opener");
}

TEST_F(SongPages, EachPageKeepsItsOwnSongIndex)
{
    song(3).UpdateName(QStringLiteral("Four"));
    pickSong("Songs", "SongTableView", 3);
    EXPECT_EQ(vc.context().state.SongsSongIndex, 3);
    EXPECT_EQ(text("idLabel"), "Song # 4");
    EXPECT_EQ(text("summaryName"), "Four");
    EXPECT_EQ(find<QPlainTextEdit>("nameTF")->toPlainText(), "Four");
    EXPECT_EQ(find<QLineEdit>("programChangesTF")->text(), "4");

    pickSong("Set Jacks", "SetJacksTableView", 5);
    EXPECT_EQ(vc.context().state.SetJacksSongIndex, 5);
    EXPECT_EQ(vc.context().state.SongsSongIndex, 3);
    choose(combo("jackOneCombo"), 0);
    EXPECT_EQ(song(5).JackOne, 0);
    EXPECT_EQ(song(3).JackOne, 1);

    // Filling the page with a song is not an edit of its name.
    EXPECT_EQ(song(3).FullName, "Four");
    EXPECT_FALSE(vc.context().state.selectingTable);

    // An emptied selection shows the empty state.
    vc.showPage(QStringLiteral("Songs"));
    find<QTableView>("SongTableView")->clearSelection();
    EXPECT_EQ(vc.context().state.SongsSongIndex, -1);
    EXPECT_EQ(text("summaryName"), "No song selected");
    EXPECT_EQ(song(3).FullName, "Four");
}

TEST_F(SongPages, NameEditorTakesOnlyValidNamesAndShowsWhyNot)
{
    pickSong("Songs", "SongTableView", 0);
    auto *name = find<QPlainTextEdit>("nameTF");

    setName(QStringLiteral("Intro\nVerse"));
    EXPECT_EQ(song(0).FullName, "Intro\nVerse");
    EXPECT_EQ(song(0).NameWithoutBreaks, "Intro_Verse");
    EXPECT_EQ(text("summaryName"), "Intro_Verse");
    EXPECT_EQ(vc.songsPage()->tableModel()->index(0, 1).data().toString(), "Intro_Verse");
    EXPECT_EQ(vc.setJacksPage()->tableModel()->index(0, 1).data().toString(), "Intro_Verse");
    EXPECT_EQ(vc.context().lists.presetModel()->index(0).data().toString(), "Intro_Verse");
    EXPECT_FALSE(name->property("refused").toBool());

    const QString tooLong(31, QLatin1Char('a'));
    for (const QString &refused : {tooLong, QStringLiteral("Semi;colon"), QStringLiteral("a\nb\nc\nd\ne\nf"),
                                   QStringLiteral("under_score"), QStringLiteral("[x]")}) {
        setName(refused);
        EXPECT_EQ(song(0).FullName, "Intro\nVerse") << refused.toStdString();
        EXPECT_TRUE(name->property("refused").toBool()) << refused.toStdString();
        EXPECT_FALSE(name->toolTip().isEmpty());
        EXPECT_FALSE(name->styleSheet().isEmpty());
        EXPECT_EQ(name->toPlainText(), refused); // the field keeps what was typed
    }
    setName(QStringLiteral("Semi-colon"));
    EXPECT_EQ(song(0).FullName, "Semi-colon");
    EXPECT_FALSE(name->property("refused").toBool());
    EXPECT_TRUE(name->toolTip().isEmpty());
    EXPECT_TRUE(name->styleSheet().isEmpty());

    setName(QStringLiteral("a\nb\nc\nd\ne"));
    EXPECT_EQ(song(0).FullName, "a\nb\nc\nd\ne");
    setName(QString(30, QLatin1Char('z')));
    EXPECT_EQ(song(0).FullName, QString(30, QLatin1Char('z')));

    // Another song shown: the marker goes, the other song's name is left alone.
    setName(tooLong);
    pickSong("Songs", "SongTableView", 1);
    EXPECT_FALSE(name->property("refused").toBool());
    EXPECT_TRUE(song(1).FullName.isEmpty());
}

// Every number field of the table of ranges, typed at and beyond its limits: out of range
// it is marked as typed (red frame, tooltip with the range) and the session keeps its
// last good value.
TEST_F(SongPages, EveryNumberFieldTakesOnlyItsRangeAndMarksTheRestAsTyped)
{
    // Where each field sits and what it stores (the stack fields: row N of stack 3).
    struct Place
    {
        const char *tab;
        std::function<qint64(int row)> stored;
    };
    auto stackField = [this](qint64 MidiStackMessage::*member) {
        return [this, member](int row) { return store.MidiStackList[2].MidiStackMessageList[size_t(row - 1)].*member; };
    };
    const std::map<std::string, Place> places = {
        {"tempoTF", {"Songs", [this](int) { return song(4).Tempo; }}},
        {"programChangesTF", {"Songs", [this](int) { return song(4).ProgramChange; }}},
        {"bankChangesTF", {"Songs", [this](int) { return song(4).BankChange; }}},
        {"stackMessageChannel", {"Midi Management", stackField(&MidiStackMessage::Channel)}},
        {"stackMessageMessage", {"Midi Management", stackField(&MidiStackMessage::Message)}},
        {"stackMessageValue", {"Midi Management", stackField(&MidiStackMessage::Value)}},
        {"messageTF", {"Midi Management", {}}},
        {"valueTF", {"Midi Management", {}}},
    };
    pickSong("Songs", "SongTableView", 4);
    vc.showPage(QStringLiteral("Midi Management"));
    choose(combo("midiStackCombo"), 2);
    ASSERT_EQ(vc.context().state.SelectedStackIndex, 2);

    for (const TypedRange &range : TypedRanges::all()) {
        const auto place = places.find(range.control);
        ASSERT_NE(place, places.end()) << range.control << " has no place in this test";
        vc.showPage(QString::fromLatin1(place->second.tab));
        for (int row : range.perStackRow ? std::vector<int>{1, 10} : std::vector<int>{0}) {
            const QString name = QLatin1String(range.control) + (row ? QString::number(row) : QString());
            SCOPED_TRACE(name.toStdString());
            QLineEdit *field = find<QLineEdit>(name.toLatin1().constData());
            ASSERT_EQ(TypedRanges::of(name), &range);
            const auto stored = place->second.stored;
            // A Note On row: channel 0 is not taken there.
            if (range.perStackRow)
                choose(combo(QStringLiteral("stackMessageType%1").arg(row).toLatin1().constData()), 3);
            auto typeAndCheck = [&](const QString &typed, bool taken) {
                const qint64 before = stored ? stored(row) : 0;
                field->clear();
                QTest::keyClicks(field, typed);
                // The mark comes as the value is typed.
                EXPECT_EQ(field->property("refused").toBool(), !taken) << "typed " << typed.toStdString();
                EXPECT_EQ(field->toolTip().contains(TypedRanges::rangeText(range)), !taken);
                QTest::keyClick(field, Qt::Key_Return);
                if (!stored)
                    return;
                if (taken)
                    EXPECT_EQ(stored(row), typed.toLongLong()) << typed.toStdString();
                else
                    EXPECT_EQ(stored(row), before) << "keeps its last good value, typed " << typed.toStdString();
            };
            typeAndCheck(QString::number(range.max), true);
            typeAndCheck(QString::number(range.max + 1), false);
            typeAndCheck(QString::number(range.min), true);
            if (range.min > 0)
                typeAndCheck(QString::number(range.min - 1), false);
            typeAndCheck(QStringLiteral("99999"), false);
            if (range.zeroOnControlRow) {
                choose(combo(QStringLiteral("stackMessageType%1").arg(row).toLatin1().constData()), 0);
                typeAndCheck(QStringLiteral("0"), true);
            }
        }
    }
    // The library fields add nothing out of range.
    EXPECT_TRUE(store.MidiMessageLibrary.empty());
}

TEST_F(SongPages, TempoProgramAndBankFieldsTakeWholeNumbersOnly)
{
    pickSong("Songs", "SongTableView", 2);
    enter("tempoTF", QString());
    EXPECT_EQ(song(2).Tempo, 120);
    EXPECT_EQ(song(2).TempoInMs, 500);
    EXPECT_EQ(find<QLineEdit>("tempoTF")->text(), "120");
    typeInto(find<QLineEdit>("tempoTF"), QStringLiteral("100"));
    EXPECT_EQ(song(2).Tempo, 100);
    EXPECT_EQ(song(2).TempoInMs, 600);
    EXPECT_EQ(vc.songsPage()->tableModel()->index(2, 2).data().toLongLong(), 100);
    EXPECT_EQ(vc.songsPage()->tableModel()->index(2, 3).data().toLongLong(), 600);
    enter("tempoTF", QStringLiteral("47"));
    EXPECT_EQ(song(2).Tempo, 47);
    EXPECT_EQ(song(2).TempoInMs, 1276);
    for (const QString &bad : {QStringLiteral("0"), QStringLiteral("abc"), QStringLiteral("-5"), QStringLiteral("1.5"),
                               QStringLiteral("12345678901")}) {
        enter("tempoTF", bad);
        EXPECT_EQ(song(2).Tempo, 47) << bad.toStdString();
        EXPECT_EQ(song(2).TempoInMs, 1276);
        EXPECT_TRUE(find<QLineEdit>("tempoTF")->property("refused").toBool());
    }
    // Typing cannot put a letter in.
    typeInto(find<QLineEdit>("tempoTF"), QStringLiteral("99x"));
    EXPECT_EQ(song(2).Tempo, 99);
    EXPECT_FALSE(find<QLineEdit>("tempoTF")->property("refused").toBool());

    enter("programChangesTF", QString());
    EXPECT_EQ(song(2).ProgramChange, 1);
    enter("programChangesTF", QStringLiteral("12"));
    EXPECT_EQ(song(2).ProgramChange, 12);
    enter("programChangesTF", QStringLiteral("x1"));
    EXPECT_EQ(song(2).ProgramChange, 12);
    enter("bankChangesTF", QStringLiteral("7"));
    EXPECT_EQ(song(2).BankChange, 7);
    enter("bankChangesTF", QString());
    EXPECT_EQ(song(2).BankChange, 1);
    // Another song shown: the marks go.
    enter("tempoTF", QStringLiteral("999"));
    EXPECT_TRUE(find<QLineEdit>("tempoTF")->property("refused").toBool());
    pickSong("Songs", "SongTableView", 3);
    EXPECT_FALSE(find<QLineEdit>("tempoTF")->property("refused").toBool());
    EXPECT_EQ(find<QLineEdit>("tempoTF")->text(), "120");
}

// Song rows dropped in the Songs table, as the view drops them: the model's drop with the
// mime data of the dragged rows. SongList takes the new order as one step (the same
// reordering a sort makes), and both song pages follow the songs they show.
TEST_F(SongPages, DroppedSongRowsGiveSongListANewOrder)
{
    struct Drop
    {
        int dragged;
        int dropRow; // -1: below the last row
        std::vector<qint64> firstIds;
        int shownAfter; // where song 1, the song shown, went
    };
    const Drop drops[] = {
        {0, 3, {2, 3, 1, 4}, 2},
        {3, 0, {4, 1, 2, 3}, 1},
        {0, -1, {2, 3, 4, 5}, 127},
        {5, 5, {1, 2, 3, 4}, 0}, // its own place: nothing changes
    };
    SongTableModel *model = vc.songsPage()->tableModel();
    pickSong("Songs", "SongTableView", 0);
    for (const Drop &d : drops) {
        SCOPED_TRACE(d.dragged);
        auto ids = [this] {
            std::vector<qint64> out;
            for (const SongRef &s : store.SongList)
                out.push_back(s->Id);
            return out;
        };
        const std::vector<qint64> before = ids();
        const int steps = vc.history().undoStack().index();
        std::unique_ptr<QMimeData> data(model->mimeData({model->index(d.dragged, 1)}));
        ASSERT_TRUE(model->canDropMimeData(data.get(), Qt::MoveAction, d.dropRow, 0, {}));
        ASSERT_TRUE(model->dropMimeData(data.get(), Qt::MoveAction, d.dropRow, 0, {}));
        for (size_t i = 0; i < d.firstIds.size(); ++i)
            EXPECT_EQ(song(int(i)).Id, d.firstIds[i]);
        EXPECT_EQ(vc.context().state.SongsSongIndex, d.shownAfter);
        EXPECT_EQ(vc.context().state.SetJacksSongIndex, d.shownAfter);
        EXPECT_EQ(find<QTableView>("SongTableView")->selectionModel()->selectedRows().value(0).row(), d.shownAfter);
        EXPECT_EQ(text("idLabel"), "Song # 1");
        const bool changed = ids() != before;
        EXPECT_EQ(vc.history().undoStack().index(), steps + (changed ? 1 : 0));
        if (changed) {
            vc.history().undo();
            EXPECT_EQ(ids(), before);
            EXPECT_EQ(vc.context().state.SongsSongIndex, 0) << "the shown song is shown where it was";
        }
    }
    // Setlist rows are not songs of this table.
    QMimeData setlistRows;
    setlistRows.setData(QLatin1String(SongTableModel::RowsMimeType), "Setlist 0");
    EXPECT_FALSE(model->dropMimeData(&setlistRows, Qt::MoveAction, 3, 0, {}));
}

TEST_F(SongPages, ListsStorePositionsAndColourListsPaintTheirColour)
{
    pickSong("Songs", "SongTableView", 4);
    choose(combo("fractionCombo"), 2);
    choose(combo("divMidiCombo"), 5);
    choose(combo("mimicCombo"), 1);
    choose(combo("midiStackRefCombo"), 9);
    choose(combo("backgroundColourCombo"), 3);
    choose(combo("foregroundColourCombo"), 13);
    EXPECT_EQ(song(4).Fraction, 2);
    EXPECT_EQ(song(4).DivisionMidi, 5);
    EXPECT_EQ(song(4).MimicFootswitch, 1);
    EXPECT_EQ(song(4).MidiStackReference, 9);
    EXPECT_EQ(song(4).BackgroundColour, 3);
    EXPECT_EQ(combo("backgroundColourCombo")->palette().color(QPalette::Button), QColor(255, 0, 0));
    EXPECT_EQ(combo("foregroundColourCombo")->palette().color(QPalette::Button), QColor::fromRgbF(0.58f, 1, 1));
    // The song table's colour swatch follows the pick.
    const QModelIndex swatch = find<QTableView>("SongTableView")->model()->index(4, 4);
    EXPECT_EQ(swatch.model()->headerData(4, Qt::Horizontal).toString(), "Colour");
    EXPECT_EQ(swatch.data(Qt::BackgroundRole).value<QColor>(), QColor(255, 0, 0));
    EXPECT_EQ(swatch.data(Qt::ForegroundRole).value<QColor>(), QColor::fromRgbF(0.58f, 1, 1));
    EXPECT_EQ(swatch.data(Qt::ToolTipRole).toString(),
              ItemTexts::colourNames().at(13) + " on " + ItemTexts::colourNames().at(3));
    EXPECT_EQ(ItemTexts::colourNames().size(), 20);
    EXPECT_EQ(ItemTexts::colour(20), QColor(0, 0, 0));

    // Another song shows its own values; the empty state paints black.
    pickSong("Songs", "SongTableView", 5);
    EXPECT_EQ(combo("fractionCombo")->currentIndex(), 0);
    EXPECT_EQ(combo("foregroundColourCombo")->currentIndex(), 1);
    EXPECT_EQ(combo("foregroundColourCombo")->palette().color(QPalette::Button), QColor(255, 255, 255));
    find<QTableView>("SongTableView")->clearSelection();
    EXPECT_EQ(combo("foregroundColourCombo")->palette().color(QPalette::Button), QColor(0, 0, 0));
}

TEST_F(SongPages, CopyButtonsSpreadTheirFieldsToEverySong)
{
    song(7).Fraction = 4;
    pickSong("Songs", "SongTableView", 6);
    choose(combo("backgroundColourCombo"), 5);
    choose(combo("foregroundColourCombo"), 6);
    choose(combo("divTwoCombo"), 3);
    choose(combo("footTapFunction"), 10);
    choose(combo("footTapPreset"), 20);
    choose(combo("footHoldFunction"), 10);
    choose(combo("footHoldStack"), 30);
    click("CopyColoursButton");
    click("CopyDivisionButton");
    click("FootFunctionCopy");
    for (const SongRef &s : store.SongList) {
        EXPECT_EQ(s->BackgroundColour, 5);
        EXPECT_EQ(s->ForegroundColour, 6);
        EXPECT_EQ(s->DivisionTwo, 3);
        EXPECT_EQ(s->FootTAPFunction, 10);
        EXPECT_EQ(s->FootHOLDFunction, 10);
    }
    EXPECT_EQ(song(7).Fraction, 4);      // not a copied field
    EXPECT_EQ(song(7).FootTAPPreset, 7); // presets not copied yet
    click("FootPresetCopy");
    click("FootStackCopy");
    EXPECT_EQ(song(7).FootTAPPreset, 20);
    EXPECT_EQ(song(7).FootHOLDPreset, 6);
    EXPECT_EQ(song(7).FootHOLDStack, 30);
    EXPECT_EQ(song(7).FootTAPStack, 6);

    pickSong("Set Jacks", "SetJacksTableView", 8);
    choose(combo("jackOneCombo"), 3);
    choose(combo("expStackOneCombo"), 44);
    choose(combo("jackTwoCombo"), 0);
    choose(combo("staticTwoCombo"), 1);
    choose(combo("jackThreeCombo"), 2);
    choose(combo("Jack2RingTAPFunction"), 10);
    choose(combo("Jack2RingTAPPreset"), 50);
    click("CopyNumPulsesOneButton");
    EXPECT_EQ(song(0).JackOne, 3);
    EXPECT_EQ(song(0).ExpStack, 44);
    click("CopyNumPulsesTwoButton");
    EXPECT_EQ(song(100).JackTwo, 0);
    EXPECT_EQ(song(100).JackTwoStatic, 1);
    EXPECT_EQ(song(100).JackThree, 1); // jack 3 not copied yet
    click("Jack2RingPresetCopy");
    EXPECT_EQ(song(1).Jack2RingTAPPreset, 50);
    EXPECT_EQ(song(1).Jack2RingHOLDPreset, 8);
    EXPECT_EQ(song(1).Jack2RingTAPFunction, 0);

    // The whole jack setup, without the foot switch of the Songs page.
    song(8).FootTAPFunction = 3;
    song(8).Jack3TipHOLDStack = 99;
    click("CopySetJacksButton");
    for (const SongRef &s : store.SongList) {
        EXPECT_EQ(s->JackThree, 2);
        EXPECT_EQ(s->Jack2RingTAPFunction, 10);
        EXPECT_EQ(s->Jack3TipHOLDStack, 99);
        EXPECT_EQ(s->JackFourPulses, 5);
    }
    EXPECT_EQ(song(9).FootTAPFunction, 10);
}

TEST_F(SongPages, FunctionListsShowTheirPresetOrStackList)
{
    pickSong("Songs", "SongTableView", 0);
    choose(combo("footTapFunction"), 10);
    EXPECT_FALSE(combo("footTapPreset")->isHidden());
    EXPECT_TRUE(combo("footTapStack")->isHidden());
    choose(combo("footTapFunction"), 11);
    EXPECT_TRUE(combo("footTapPreset")->isHidden());
    EXPECT_FALSE(combo("footTapStack")->isHidden());
    choose(combo("footTapFunction"), 3);
    EXPECT_TRUE(combo("footTapPreset")->isHidden());
    EXPECT_TRUE(combo("footTapStack")->isHidden());
    choose(combo("footHoldFunction"), 9);
    EXPECT_FALSE(combo("footHoldPreset")->isHidden());
    choose(combo("footHoldFunction"), 10);
    EXPECT_TRUE(combo("footHoldPreset")->isHidden());
    EXPECT_FALSE(combo("footHoldStack")->isHidden());
    // The hold list has its preset and stack items one position earlier.
    EXPECT_EQ(ItemTexts::footFunctions(false)[10], ItemTexts::footFunctions(true)[9]);
    EXPECT_EQ(ItemTexts::footFunctions(false)[11], ItemTexts::footFunctions(true)[10]);

    pickSong("Set Jacks", "SetJacksTableView", 0);
    choose(combo("jackOneCombo"), 2);
    choose(combo("Jack1TipTAPFunction"), 11);
    EXPECT_FALSE(combo("Jack1TipTAPStack")->isHidden());
    EXPECT_TRUE(combo("Jack1TipTAPPreset")->isHidden());
    choose(combo("Jack1TipHOLDFunction"), 11);
    EXPECT_TRUE(combo("Jack1TipHOLDStack")->isHidden());
    EXPECT_TRUE(combo("Jack1TipHOLDPreset")->isHidden());
    choose(combo("Jack1TipHOLDFunction"), 9);
    EXPECT_FALSE(combo("Jack1TipHOLDPreset")->isHidden());
    EXPECT_EQ(song(0).Jack1TipHOLDFunction, 9);
}

TEST_F(SongPages, JackModesShowOnlyTheirControls)
{
    pickSong("Set Jacks", "SetJacksTableView", 0);
    auto box = [this](const char *name) { return find<QGroupBox>(name); };
    choose(combo("jackTwoCombo"), 2);
    EXPECT_FALSE(box("Jack2LeftInputBox")->isHidden());
    EXPECT_FALSE(box("Jack2RightInputBox")->isHidden());
    EXPECT_TRUE(combo("staticTwoCombo")->isHidden());
    EXPECT_TRUE(combo("numPulsesTwoCombo")->isHidden());
    choose(combo("jackTwoCombo"), 3);
    for (const char *name : {"Jack2LeftInputBox", "Jack2RightInputBox"})
        EXPECT_TRUE(box(name)->isHidden());
    EXPECT_TRUE(combo("staticTwoCombo")->isHidden());
    EXPECT_TRUE(combo("numPulsesTwoCombo")->isHidden());
    choose(combo("jackTwoCombo"), 0);
    EXPECT_FALSE(combo("staticTwoCombo")->isHidden());
    EXPECT_EQ(song(0).JackTwo, 0);

    choose(combo("jackOneCombo"), 3);
    EXPECT_FALSE(combo("expStackOneCombo")->isHidden());
    choose(combo("jackOneCombo"), 1);
    EXPECT_TRUE(combo("expStackOneCombo")->isHidden());
    EXPECT_FALSE(combo("numPulsesOneCombo")->isHidden());
    choose(combo("numPulsesOneCombo"), 12);
    EXPECT_EQ(song(0).JackOnePulses, 12);
    EXPECT_EQ(combo("jackFourCombo")->count(), 3);
    // A song from a file with a mode the list lacks shows no item and keeps its value.
    song(1).JackFour = 3;
    pickSong("Set Jacks", "SetJacksTableView", 1);
    EXPECT_EQ(combo("jackFourCombo")->currentIndex(), -1);
    EXPECT_EQ(song(1).JackFour, 3);
}

TEST_F(SongPages, SummaryNamesEachJackInItsColour)
{
    pickSong("Songs", "SongTableView", 0);
    pickSong("Set Jacks", "SetJacksTableView", 0);
    const QColor red(255, 0, 0), blue(0, 0, 255), green = QColor::fromRgbF(0, 0.7f, 0);
    choose(combo("jackFourCombo"), 2);
    EXPECT_EQ(text("summaryJack4"), "Jack 4: MIDI");
    EXPECT_EQ(PageControls::textColour(find<QLabel>("summaryJack4")), blue);
    EXPECT_EQ(text("divFourLabel"), "Jack 4 is Midi Output");
    EXPECT_EQ(PageControls::textColour(find<QLabel>("divFourLabel")), red);
    EXPECT_TRUE(combo("divFourCombo")->isHidden());

    EXPECT_EQ(text("summaryJack1"), "Jack 1: TAP OUTPUT");
    EXPECT_EQ(PageControls::textColour(find<QLabel>("summaryJack1")), green);
    EXPECT_EQ(text("divOneLabel"), "Jack 1");
    EXPECT_EQ(PageControls::textColour(find<QLabel>("divOneLabel")), QColor(Qt::black));
    EXPECT_FALSE(combo("divOneCombo")->isHidden());

    choose(combo("jackOneCombo"), 0);
    EXPECT_EQ(text("summaryJack1"), "Jack 1: STATIC");
    EXPECT_EQ(text("divOneLabel"), "Jack 1 is Static");
    EXPECT_EQ(PageControls::textColour(find<QLabel>("summaryJack1")), red);
    choose(combo("jackThreeCombo"), 3);
    EXPECT_EQ(text("summaryJack3"), "Jack 3: CV");
    EXPECT_EQ(text("divThreeLabel"), "Jack 3 is CV Output");
    choose(combo("jackTwoCombo"), 3);
    EXPECT_EQ(text("summaryJack2"), "Jack 2: MIDI");
    choose(combo("jackOneCombo"), 3);
    EXPECT_EQ(text("summaryJack1"), "Jack 1: EXPRESSION");
    EXPECT_EQ(PageControls::textColour(find<QLabel>("summaryJack1")), blue);

    // A mode that jack 4 does not have leaves its labels as they were.
    song(0).JackFour = 3;
    vc.songsPage()->showSummary();
    EXPECT_EQ(text("summaryJack4"), "Jack 4: MIDI");
    EXPECT_TRUE(combo("divFourCombo")->isHidden());
}

TEST_F(SongPages, NameListsAreSharedAndKeepTheirPositionsOnRefill)
{
    const QList<QComboBox *> all = vc.findChildren<QComboBox *>();
    int presetLists = 0, stackLists = 0;
    for (QComboBox *c : all) {
        presetLists += c->model() == vc.context().lists.presetModel();
        stackLists += c->model() == vc.context().lists.stackModel();
    }
    EXPECT_EQ(presetLists, 14);
    EXPECT_GE(stackLists, 16); // 15 on these two pages and midiStackRefCombo
    EXPECT_EQ(vc.context().lists.presetModel()->index(4).data().toString(), "Song 5");
    EXPECT_EQ(vc.context().lists.stackModel()->index(0).data().toString(), "1: Midi Stack 1");

    pickSong("Set Jacks", "SetJacksTableView", 2);
    choose(combo("jackOneCombo"), 2);
    choose(combo("Jack1TipTAPFunction"), 10);
    choose(combo("Jack1TipTAPPreset"), 7);
    choose(combo("Jack1RingHOLDStack"), 12);
    pickSong("Songs", "SongTableView", 7);
    setName(QStringLiteral("Seventh"));
    EXPECT_EQ(combo("Jack1TipTAPPreset")->currentText(), "Seventh");
    EXPECT_EQ(combo("Jack1TipTAPPreset")->currentIndex(), 7);
    vc.context().lists.refillStacks();
    EXPECT_EQ(combo("Jack1RingHOLDStack")->currentIndex(), 12);
    EXPECT_EQ(song(2).Jack1TipTAPPreset, 7);
    EXPECT_EQ(song(2).Jack1RingHOLDStack, 12);
}

TEST_F(SongPages, PageResetsRestoreTheirOwnFieldsOnly)
{
    pickSong("Songs", "SongTableView", 1);
    setName(QStringLiteral("Kept?"));
    choose(combo("fontCombo"), 2);
    pickSong("Set Jacks", "SetJacksTableView", 1);
    choose(combo("jackOneCombo"), 0);
    click("ResetSetJacksCommand");
    EXPECT_EQ(song(1).JackOne, 1);
    EXPECT_EQ(song(1).FullName, "Kept?");
    EXPECT_EQ(combo("jackOneCombo")->currentIndex(), 1);
    click("ResetSongsCommand");
    EXPECT_TRUE(song(1).FullName.isEmpty());
    EXPECT_EQ(song(1).FontSize, 2);
    EXPECT_EQ(vc.context().lists.presetModel()->index(1).data().toString(), "Song 2");
}

} // namespace
